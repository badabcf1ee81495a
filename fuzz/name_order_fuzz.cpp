// A list sorted through its sort keys stands in the order of the plain rule, NameLess: POSIX names
// as bytes, Windows names as UTF-16.
#include <algorithm>
#include <cstdlib>

#include "core/encoding.h"
#include "core/name_list.h"
#include "core/names.h"
#include "fuzz/FuzzInput.h"

namespace {

bool EqualInNameOrder(std::u16string_view left, std::u16string_view right) {
  return !core::NameLess(left, right) && !core::NameLess(right, left);
}

// The list's names after sorting, checked name by name against the reference order.
template <class Char>
void CheckSorted(const std::vector<std::basic_string<Char>>& names,
                 std::vector<std::u16string> reference) {
  core::NameList list;
  for (const auto& name : names) list.Add(std::basic_string_view<Char>(name));
  list.SortByName();
  std::sort(reference.begin(), reference.end(), core::NameLess);
  if (list.Size() != reference.size()) std::abort();
  for (std::size_t i = 0; i < reference.size(); ++i) {
    if (!EqualInNameOrder(list.Name(i), reference[i])) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz_input::Bytes(data, size);
  const std::vector<std::string> byteNames = fuzz_input::Split(bytes, '\n');
  std::vector<std::u16string> decoded;
  for (const std::string& name : byteNames) decoded.push_back(core::DecodeLossless(name));
  CheckSorted(byteNames, decoded);

  const std::u16string units = fuzz_input::CodeUnits(bytes);
  const std::vector<std::u16string> unitNames =
      fuzz_input::Split(std::u16string_view(units), u'\n');
  CheckSorted(unitNames, unitNames);
  return 0;
}
