#include "core/name_list.h"

#include <algorithm>
#include <stdexcept>
#include <type_traits>

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
  order_.push_back(static_cast<std::uint32_t>(ends_.size()));
  text_.append(name);
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

template <class Unit>
typename PackedNames<Unit>::View PackedNames<Unit>::Added(std::uint32_t index) const {
  const std::uint32_t start = index == 0 ? 0 : ends_[index - 1];
  return View(text_).substr(start, ends_[index] - start);
}

// Most POSIX names serve as their own keys. The others' keys are made into `keys`; until it stops
// growing, their sort keys hold no bytes and the key's offset in the sort's working space.
template <class Unit>
void PackedNames<Unit>::SortByName() {
  std::string keys;
  std::vector<SortKey> sortKeys;
  sortKeys.reserve(Size());
  for (std::uint32_t index = 0; index < ends_.size(); ++index) {
    const View name = Added(index);
    if constexpr (std::is_same_v<Unit, char>) {
      if (IsOwnNameKey(name)) {
        sortKeys.push_back({name.data(), static_cast<std::uint32_t>(name.size()), index, 0});
        continue;
      }
    }
    const std::size_t start = keys.size();
    AppendNameKey(name, keys);
    CheckPackedSize(keys.size());
    sortKeys.push_back({nullptr, static_cast<std::uint32_t>(keys.size() - start), index, start});
  }
  for (SortKey& key : sortKeys) {
    if (key.bytes == nullptr) key.bytes = keys.data() + key.chunk;
  }
  SortNameKeys(sortKeys);
  std::transform(sortKeys.begin(), sortKeys.end(), order_.begin(),
                 [](const SortKey& key) { return key.owner; });
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
