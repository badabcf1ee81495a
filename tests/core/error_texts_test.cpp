#include "core/error_texts.h"

#include <gtest/gtest.h>

#include "core/failure.h"

namespace {

struct DotCase {
  const char* label;
  std::u16string_view message;
  std::u16string_view errorBoxText;  // the event loop's rule
  std::u16string_view fatalLine;     // the fatal box's second line, without its CRLF
};

class DotRules : public testing::TestWithParam<DotCase> {};

TEST_P(DotRules, EachBoxAppliesItsOwnRule) {
  const DotCase& c = GetParam();
  EXPECT_EQ(core::ErrorBoxText(c.message), c.errorBoxText);
  const std::u16string fatal = core::FatalBoxText(u"K", u"m", 0, c.message);
  const std::size_t firstLineEnd = fatal.find(u"\r\n");
  EXPECT_EQ(fatal.substr(firstLineEnd + 2), std::u16string(c.fatalLine) + u"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DotRules,
    testing::Values(DotCase{"Japanese", u"指定されたパスが見つかりません",
                            u"指定されたパスが見つかりません.", u"指定されたパスが見つかりません."},
                    DotCase{"LatinLetter", u"Access denied", u"Access denied.", u"Access denied."},
                    DotCase{"EndsInPeriod", u"Done.", u"Done.", u"Done."},
                    DotCase{"EndsInParenthesis", u"(x)", u"(x)", u"(x)."},
                    DotCase{"EndsInComma", u"a,", u"a,", u"a,."},
                    DotCase{"EndsInSlash", u"a/", u"a/.", u"a/."}, DotCase{"Empty", u"", u"", u""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FatalBoxText, NamesKindModuleAndAddress) {
  EXPECT_EQ(
      core::FatalBoxText(u"DirectoryNotFoundError", u"vellumine", 0x1A2B,
                         u"指定されたパスが見つかりません"),
      u"DirectoryNotFoundError がモジュール vellumine の 0000000000001A2B で発生しました。\r\n"
      u"指定されたパスが見つかりません.\r\n");
}

TEST(TrimPlatformMessage, DropsTrailingBlanksControlsAndPeriods) {
  EXPECT_EQ(core::TrimPlatformMessage(u"Access is denied. \r\n"), u"Access is denied");
  EXPECT_EQ(core::TrimPlatformMessage(u"No such file or directory"), u"No such file or directory");
  EXPECT_EQ(core::TrimPlatformMessage(u"...\t"), u"");
  EXPECT_EQ(core::TrimPlatformMessage(u" a.b "), u" a.b");
}

TEST(Failure, RecordsKindMessageAndRaisingSite) {
  try {
    core::RaiseFailure("PathTooLongError", u"指定されたパスが長すぎます");
    FAIL() << "RaiseFailure returned";
  } catch (const core::Failure& failure) {
    EXPECT_EQ(failure.KindName(), "PathTooLongError");
    EXPECT_EQ(failure.Message(), u"指定されたパスが長すぎます");
    EXPECT_STREQ(failure.what(), "指定されたパスが長すぎます");
    EXPECT_NE(failure.Site(), nullptr);
  }
}

TEST(DescribeFailure, GivesReadableKindNamesForOtherExceptions) {
  const auto report = core::DescribeFailure(std::make_exception_ptr(std::out_of_range("range")));
  EXPECT_EQ(report.kindName, "std::out_of_range");
  EXPECT_EQ(report.message, u"range");
  EXPECT_EQ(report.site, nullptr);
}

std::exception_ptr Nested(const std::exception_ptr& inner, const std::string& outerMessage) {
  try {
    try {
      std::rethrow_exception(inner);
    } catch (...) {
      std::throw_with_nested(std::runtime_error(outerMessage));
    }
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

TEST(InnermostMessage, FollowsNestingToTheDeepestMessage) {
  const auto deepest = std::make_exception_ptr(core::Failure("K", u"innermost", nullptr));
  EXPECT_EQ(core::InnermostMessage(Nested(Nested(deepest, "middle"), "outer")), u"innermost");
  EXPECT_EQ(core::InnermostMessage(std::make_exception_ptr(std::runtime_error("own"))), u"own");
}

TEST(InnermostMessage, FallsBackToOwnMessageWhenInnermostHasNone) {
  EXPECT_EQ(core::InnermostMessage(Nested(std::make_exception_ptr(42), "outer")), u"outer");
  EXPECT_EQ(
      core::InnermostMessage(Nested(std::make_exception_ptr(std::runtime_error("")), "outer")),
      u"outer");
}

}  // namespace
