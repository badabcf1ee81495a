#include "core/name_list.h"

#include <stdexcept>

#include "core/encoding.h"
#include "core/key_order.h"
#include "core/names.h"

namespace core {
namespace {

// Offsets into the packed buffers are 32 bits wide.
void CheckPackedSize(std::size_t size) {
  if (size > UINT32_MAX) throw std::length_error("The folder holds too many names to list.");
}

std::u16string Decoded(std::string_view nameBytes) { return DecodeLossless(nameBytes); }
std::u16string Decoded(std::u16string_view name) { return std::u16string(name); }

}  // namespace

template <class Unit>
void PackedNames<Unit>::Add(View name) {
  CheckPackedSize(text_.size() + name.size());
  text_.append(name);
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

template <class Unit>
typename PackedNames<Unit>::View PackedNames<Unit>::At(std::size_t index) const {
  const std::uint32_t start = index == 0 ? 0 : ends_[index - 1];
  return View(text_).substr(start, ends_[index] - start);
}

template <class Unit>
void PackedNames<Unit>::SortByName() {
  std::vector<std::uint32_t> order;
  {
    std::string keys;
    keys.reserve(text_.size() + text_.size() / 8);
    std::vector<std::uint32_t> keyEnds;
    keyEnds.reserve(Size());
    for (std::size_t index = 0; index < Size(); ++index) {
      AppendNameKey(At(index), keys);
      CheckPackedSize(keys.size());
      keyEnds.push_back(static_cast<std::uint32_t>(keys.size()));
    }
    order = SortedKeyOrder(keys, keyEnds);
  }
  std::basic_string<Unit> sorted;
  sorted.reserve(text_.size());
  std::vector<std::uint32_t> sortedEnds;
  sortedEnds.reserve(Size());
  for (const std::uint32_t index : order) {
    sorted.append(At(index));
    sortedEnds.push_back(static_cast<std::uint32_t>(sorted.size()));
  }
  text_ = std::move(sorted);
  ends_ = std::move(sortedEnds);
}

template class PackedNames<char>;
template class PackedNames<char16_t>;

template <class Unit>
PackedNames<Unit>& NameList::Packed() {
  if (!std::holds_alternative<PackedNames<Unit>>(packed_)) {
    if (Size() != 0) throw std::logic_error("A name list holds names of one kind.");
    packed_.emplace<PackedNames<Unit>>();
  }
  return std::get<PackedNames<Unit>>(packed_);
}

template PackedNames<char>& NameList::Packed<char>();
template PackedNames<char16_t>& NameList::Packed<char16_t>();

void NameList::SortByName() {
  std::visit([](auto& names) { names.SortByName(); }, packed_);
}

std::size_t NameList::Size() const {
  return std::visit([](const auto& names) { return names.Size(); }, packed_);
}

std::u16string NameList::Name(std::size_t index) const {
  return std::visit([index](const auto& names) { return Decoded(names.At(index)); }, packed_);
}

std::optional<std::size_t> NameList::Find(std::u16string_view name) const {
  std::size_t low = 0, high = Size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (NameLess(Name(middle), name)) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  for (std::size_t index = low; index < Size(); ++index) {
    const std::u16string candidate = Name(index);
    if (candidate == name) return index;
    if (NameLess(name, candidate)) break;
  }
  return std::nullopt;
}

}  // namespace core
