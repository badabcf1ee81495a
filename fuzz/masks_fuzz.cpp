// A mask tested on a POSIX name's bytes answers as the same mask tested on the decoded name, and
// both answer as a plain wildcard match.
#include <cstdlib>
#include <vector>

#include "core/encoding.h"
#include "core/names.h"
#include "fuzz/FuzzInput.h"

namespace {

char16_t Upper(char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - u'a' + u'A' : unit; }

// matches[i][j]: whether the first i characters of the name match the first j of the mask.
bool ReferenceMatch(std::u16string_view name, std::u16string_view mask) {
  std::vector<std::vector<bool>> matches(name.size() + 1,
                                         std::vector<bool>(mask.size() + 1, false));
  matches[0][0] = true;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    for (std::size_t j = 1; j <= mask.size(); ++j) {
      if (mask[j - 1] == u'*') {
        matches[i][j] = matches[i][j - 1] || (i > 0 && matches[i - 1][j]);
      } else {
        matches[i][j] = i > 0 && matches[i - 1][j - 1] && Upper(name[i - 1]) == Upper(mask[j - 1]);
      }
    }
  }
  return matches[name.size()][mask.size()];
}

}  // namespace

// The first line is the mask, its bytes folded into ASCII (masks on bytes hold only ASCII); the
// rest is the name's bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz_input::Bytes(data, size);
  const std::size_t end = std::min(bytes.find('\n'), bytes.size());
  std::u16string mask;
  for (const char byte : bytes.substr(0, end)) mask.push_back(static_cast<char16_t>(byte & 0x7F));
  const std::string_view name = bytes.substr(std::min(end + 1, bytes.size()));
  const std::u16string decoded = core::DecodeLossless(name);
  const bool onText = core::MatchesMask(decoded, mask);
  if (core::MatchesMask(name, mask) != onText) std::abort();
  if (ReferenceMatch(decoded, mask) != onText) std::abort();
  return 0;
}
