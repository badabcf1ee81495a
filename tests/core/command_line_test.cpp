#include "core/command_line.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::u16string>;

struct SplitCase {
  const char* label;
  std::u16string_view commandLine;
  Arguments expected;
};

class WindowsCommandLine : public testing::TestWithParam<SplitCase> {};

TEST_P(WindowsCommandLine, SplitsAfterProgramName) {
  EXPECT_EQ(core::SplitWindowsCommandLine(GetParam().commandLine), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsCommandLine,
    testing::Values(
        SplitCase{"NoArgument", u"Vellumine.exe", {}},
        SplitCase{
            "QuotedProgramName", u"\"C:\\Program Files\\Vellumine.exe\" C:\\site", {u"C:\\site"}},
        SplitCase{"TwoArguments", u"v.exe C:\\a C:\\b", {u"C:\\a", u"C:\\b"}},
        SplitCase{"QuotedWithSpaces",
                  u"v.exe \"C:\\My Pages\\index.html\" x",
                  {u"C:\\My Pages\\index.html", u"x"}},
        SplitCase{
            "TrailingBackslashInsideQuotes", u"v.exe \"C:\\My Pages\\\"", {u"C:\\My Pages\\"}},
        SplitCase{"DriveRootInQuotes", u"v.exe \"E:\\\"", {u"E:\\"}},
        SplitCase{"OnlyEmptyQuotedPair", u"v.exe \"\"", {}},
        SplitCase{"EmptyPairBeforeArgument", u"v.exe \"\" C:\\a", {u"C:\\a"}},
        SplitCase{"QuotesInsideArgumentRemoved", u"v.exe C:\\\"my\"dir", {u"C:\\mydir"}},
        SplitCase{"ControlCharactersSeparate",
                  u"v.exe\ta\x01"
                  u"b\x1F"
                  u"c",
                  {u"a", u"b", u"c"}},
        SplitCase{"TrailingBlanks", u"v.exe  a   ", {u"a"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PosixArguments, EmptyArgumentsDoNotCount) {
  EXPECT_EQ(core::PosixArguments({u"", u"/a b/", u"", u"x"}), (Arguments{u"/a b/", u"x"}));
  EXPECT_TRUE(core::PosixArguments({u""}).empty());
}

}  // namespace
