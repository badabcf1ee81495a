#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace core {

// Names packed one after another into one buffer in the order they were added, and the order they
// are read in.
template <class Unit>
class PackedNames {
 public:
  using View = std::basic_string_view<Unit>;

  void Add(View name);
  std::size_t Size() const { return order_.size(); }
  View At(std::size_t position) const { return Added(order_[position]); }
  // Into the list's name order; each name's sort key is made once.
  void SortByName();

 private:
  View Added(std::uint32_t index) const;

  std::basic_string<Unit> text_;
  std::vector<std::uint32_t> ends_;   // where each added name ends in text_
  std::vector<std::uint32_t> order_;  // added indices in reading order
};

// A folder's file names as the file system gives them, packed: a POSIX name as its bytes, decoded
// only when it is read; a Windows name as its UTF-16 code units. One list holds names of one kind.
class NameList {
 public:
  void Add(std::string_view nameBytes) { Packed<char>().Add(nameBytes); }
  void Add(std::u16string_view name) { Packed<char16_t>().Add(name); }

  // Puts the names into the list's name order (the order of NameLess).
  void SortByName();

  std::size_t Size() const;
  // The exact name; a POSIX name decoded losslessly.
  std::u16string Name(std::size_t index) const;
  // In a list in name order, the index of the entry that is exactly `name`.
  std::optional<std::size_t> Find(std::u16string_view name) const;

 private:
  // The names of that kind; an empty list takes on the kind of its first name.
  template <class Unit>
  PackedNames<Unit>& Packed();

  std::variant<PackedNames<char>, PackedNames<char16_t>> packed_;
};

}  // namespace core
