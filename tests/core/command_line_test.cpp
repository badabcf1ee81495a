#include "core/command_line.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

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

using Environment = std::map<std::u16string, std::u16string>;

core::EnvironmentLookup Lookup(const Environment& environment) {
  return [environment](std::u16string_view name) -> std::optional<std::u16string> {
    const auto found = environment.find(std::u16string(name));
    if (found == environment.end()) return std::nullopt;
    return found->second;
  };
}

struct ReadCase {
  const char* label;
  core::PathStyle style;
  Environment environment;
  Arguments arguments;
  Arguments toolkit;  // what Qt is started with
  Arguments program;  // the program's arguments
  core::Request request = core::Request::Run;
};

class ReadCommandLine : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadCommandLine, SeparatesQtsOptionsTheRequestAndTheProgramsArguments) {
  const ReadCase& c = GetParam();
  const core::CommandLine read = core::ReadCommandLine(c.style, Lookup(c.environment), c.arguments);
  EXPECT_EQ(read.toolkitArguments, c.toolkit);
  EXPECT_EQ(read.arguments, c.program);
  EXPECT_EQ(read.request, c.request);
}

constexpr auto Posix = core::PathStyle::Posix;
constexpr auto Win = core::PathStyle::Windows;
constexpr auto Help = core::Request::Help;
constexpr auto Version = core::Request::Version;
const Environment X11 = {{u"DISPLAY", u":0"}};
const Environment WaylandSession = {{u"DISPLAY", u":0"}, {u"XDG_SESSION_TYPE", u"wayland"}};
const Environment Offscreen = {{u"QT_QPA_PLATFORM", u"offscreen"}};

INSTANTIATE_TEST_SUITE_P(
    Posix, ReadCommandLine,
    testing::Values(
        ReadCase{"NoArgument", Posix, X11, {}, {}, {}},
        ReadCase{"FolderOnly", Posix, X11, {u"/site"}, {}, {u"/site"}},
        ReadCase{"Switch", Posix, X11, {u"-reverse", u"/site"}, {u"-reverse"}, {u"/site"}},
        ReadCase{
            "DoubleDashSpelling", Posix, X11, {u"--reverse", u"/site"}, {u"--reverse"}, {u"/site"}},
        ReadCase{"ThreeDashesAreNoSpelling", Posix, X11, {u"---reverse"}, {}, {u"---reverse"}},
        ReadCase{"ValueFollows",
                 Posix,
                 X11,
                 {u"-style", u"fusion", u"/site"},
                 {u"-style", u"fusion"},
                 {u"/site"}},
        ReadCase{"ValueAttached",
                 Posix,
                 X11,
                 {u"--style=fusion", u"/site"},
                 {u"--style=fusion"},
                 {u"/site"}},
        ReadCase{"ValueLooksLikeAnOption",
                 Posix,
                 X11,
                 {u"-style", u"-reverse", u"/site"},
                 {u"-style", u"-reverse"},
                 {u"/site"}},
        ReadCase{
            "EmptyValue", Posix, X11, {u"-style", u"", u"/site"}, {u"-style", u""}, {u"/site"}},
        ReadCase{
            "NeedsValueAndHasNone", Posix, X11, {u"/site", u"-style"}, {}, {u"/site", u"-style"}},
        ReadCase{"TakesValueIfAnyAndHasNone",
                 Posix,
                 X11,
                 {u"/site", u"-platform"},
                 {u"-platform"},
                 {u"/site"}},
        ReadCase{"LaterPassSeesWhatEarlierPassesLeft",
                 Posix,
                 X11,
                 {u"-style", u"-platform", u"xcb"},
                 {u"-platform", u"xcb"},
                 {u"-style"}},
        ReadCase{
            "WidgetOptions",
            Posix,
            X11,
            {u"-stylesheet", u"a.qss", u"-stylesheet=b.qss", u"-widgetcount", u"-qdebug", u"/site"},
            {u"-stylesheet", u"a.qss", u"-stylesheet=b.qss", u"-widgetcount", u"-qdebug"},
            {u"/site"}},
        ReadCase{"GuiOptions",
                 Posix,
                 X11,
                 {u"-session", u"id", u"-plugin", u"tslib", u"-testability", u"/site"},
                 {u"-session", u"id", u"-plugin", u"tslib", u"-testability"},
                 {u"/site"}},
        ReadCase{"QmlDebugger",
                 Posix,
                 X11,
                 {u"-qmljsdebugger=port:1", u"-qmljsdebugger", u"port:2", u"/site"},
                 {u"-qmljsdebugger=port:1", u"-qmljsdebugger", u"port:2"},
                 {u"/site"}},
        ReadCase{
            "WindowOptions",
            Posix,
            X11,
            {u"-qwindowtitle", u"T", u"-qwindowgeometry", u"9x9", u"-qwindowicon", u"i", u"/site"},
            {u"-qwindowtitle", u"T", u"-qwindowgeometry", u"9x9", u"-qwindowicon", u"i"},
            {u"/site"}},
        ReadCase{"X11Spellings",
                 Posix,
                 X11,
                 {u"-title", u"T", u"-geometry", u"9x9", u"-icon", u"i", u"/site"},
                 {u"-title", u"T", u"-geometry", u"9x9", u"-icon", u"i"},
                 {u"/site"}},
        ReadCase{"X11PluginOptions",
                 Posix,
                 X11,
                 {u"-display", u":1", u"-name", u"n", u"-visual", u"33", u"-nograb", u"/site"},
                 {u"-display", u":1", u"-name", u"n", u"-visual", u"33", u"-nograb"},
                 {u"/site"}},
        ReadCase{"X11PluginOptionNeedsValue",
                 Posix,
                 X11,
                 {u"/site", u"-display"},
                 {},
                 {u"/site", u"-display"}},
        ReadCase{"PlatformArgumentEndsX11Spellings",
                 Posix,
                 X11,
                 {u"-platform", u"offscreen", u"-title", u"T", u"-display", u":1"},
                 {u"-platform", u"offscreen"},
                 {u"-title", u"T", u"-display", u":1"}},
        ReadCase{"PlatformArgumentStartsX11Spellings",
                 Posix,
                 Offscreen,
                 {u"-platform", u"xcb", u"-title", u"T", u"-display", u":1"},
                 {u"-platform", u"xcb", u"-title", u"T", u"-display", u":1"},
                 {}},
        ReadCase{"OffscreenHasNoX11Options",
                 Posix,
                 Offscreen,
                 {u"-title", u"T", u"-display", u":1", u"-reverse"},
                 {u"-reverse"},
                 {u"-title", u"T", u"-display", u":1"}},
        ReadCase{"WaylandSessionFallsBackToX11",
                 Posix,
                 WaylandSession,
                 {u"-title", u"T", u"-display", u":1", u"/site"},
                 {u"-display", u":1"},
                 {u"-title", u"T", u"/site"}},
        ReadCase{"Help", Posix, X11, {u"--help"}, {}, {}, Help},
        ReadCase{"Version", Posix, X11, {u"--version"}, {}, {}, Version},
        ReadCase{"HelpAfterQtsOptionsAndFolder",
                 Posix,
                 X11,
                 {u"-reverse", u"/site", u"--help"},
                 {u"-reverse"},
                 {u"/site"},
                 Help},
        ReadCase{"HelpAsQtsValue", Posix, X11, {u"-style", u"--help"}, {u"-style", u"--help"}, {}},
        ReadCase{"FirstRequestCounts", Posix, X11, {u"--version", u"--help"}, {}, {}, Version},
        ReadCase{"SingleDashSpellingIsNoRequest", Posix, X11, {u"-help"}, {}, {u"-help"}},
        ReadCase{"EndOfOptions", Posix, X11, {u"--", u"--help"}, {}, {u"--help"}},
        ReadCase{"EndOfOptionsKeepsQtsNames",
                 Posix,
                 X11,
                 {u"-reverse", u"--", u"-reverse", u"-style", u"x"},
                 {u"-reverse"},
                 {u"-reverse", u"-style", u"x"}},
        ReadCase{"EndOfOptionsEndsValues",
                 Posix,
                 X11,
                 {u"-style", u"--", u"/site"},
                 {},
                 {u"-style", u"/site"}},
        ReadCase{"OnlyTheFirstEndCounts", Posix, X11, {u"--", u"--", u"x"}, {}, {u"--", u"x"}},
        ReadCase{"EngineArguments",
                 Posix,
                 X11,
                 {u"/site", u"--webEngineArgs", u"--remote-debugging-port=9222", u"/other"},
                 {u"--webEngineArgs", u"--remote-debugging-port=9222", u"/other"},
                 {u"/site"}},
        ReadCase{"EngineSeparatorInAnyCase",
                 Posix,
                 X11,
                 {u"--WEBENGINEARGS", u"--help"},
                 {u"--WEBENGINEARGS", u"--help"},
                 {}},
        ReadCase{"QtsOptionsAmongEngineArguments",
                 Posix,
                 X11,
                 {u"--webEngineArgs", u"--x", u"-reverse"},
                 {u"--webEngineArgs", u"--x", u"-reverse"},
                 {}},
        ReadCase{"EngineArgumentsEndAtEndOfOptions",
                 Posix,
                 X11,
                 {u"--webEngineArgs", u"--x", u"--", u"/site"},
                 {u"--webEngineArgs", u"--x"},
                 {u"/site"}},
        ReadCase{"EmptyArgumentsDoNotCount",
                 Posix,
                 X11,
                 {u"", u"/a b/", u"", u"--", u"", u"x"},
                 {},
                 {u"/a b/", u"x"}},
        ReadCase{"NameThatIsNotUtf8",
                 Posix,
                 X11,
                 {u"-reverse", u"/tmp/caf\xDCE9"},
                 {u"-reverse"},
                 {u"/tmp/caf\xDCE9"}},
        ReadCase{"SingleDash", Posix, X11, {u"-"}, {}, {u"-"}}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Windows, ReadCommandLine,
    testing::Values(
        ReadCase{"Switch", Win, {}, {u"-reverse", u"C:\\site"}, {u"-reverse"}, {u"C:\\site"}},
        ReadCase{"ValueFollows",
                 Win,
                 {},
                 {u"--style", u"fusion", u"C:\\site"},
                 {u"--style", u"fusion"},
                 {u"C:\\site"}},
        ReadCase{"GuiAndWidgetOptions",
                 Win,
                 {},
                 {u"-session", u"id", u"-stylesheet=a.qss", u"C:\\site"},
                 {u"-session", u"id", u"-stylesheet=a.qss"},
                 {u"C:\\site"}},
        ReadCase{"NoX11Spellings",
                 Win,
                 {},
                 {u"-title", u"T", u"C:\\site"},
                 {},
                 {u"-title", u"T", u"C:\\site"}},
        ReadCase{"NoX11Plugin",
                 Win,
                 {},
                 {u"-display", u":1", u"C:\\site"},
                 {},
                 {u"-display", u":1", u"C:\\site"}},
        ReadCase{"X11SpellingsFollowThePlatformName",
                 Win,
                 {{u"QT_QPA_PLATFORM", u"xcb"}},
                 {u"-title", u"T", u"-display", u":1"},
                 {u"-title", u"T"},
                 {u"-display", u":1"}},
        ReadCase{"EndOfOptions", Win, {}, {u"--", u"-reverse"}, {}, {u"-reverse"}},
        ReadCase{"Help", Win, {}, {u"-reverse", u"--help"}, {u"-reverse"}, {}, Help},
        ReadCase{"EmptyArgumentCounts", Win, {}, {u""}, {}, {u""}}),
    [](const auto& info) { return std::string(info.param.label); });

struct PlatformCase {
  const char* label;
  core::PathStyle style;
  Environment environment;
  std::u16string_view platform;
};

class ToolkitStartPlatform : public testing::TestWithParam<PlatformCase> {};

TEST_P(ToolkitStartPlatform, FollowsQtsOwnChoice) {
  EXPECT_EQ(core::ToolkitStartPlatform(GetParam().style, Lookup(GetParam().environment)),
            GetParam().platform);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolkitStartPlatform,
    testing::Values(
        PlatformCase{"X11", Posix, X11, u"xcb"}, PlatformCase{"NoDisplayAtAll", Posix, {}, u"xcb"},
        PlatformCase{"WaylandDisplay", Posix, {{u"WAYLAND_DISPLAY", u"wayland-0"}}, u"wayland;xcb"},
        PlatformCase{"WaylandSessionType", Posix, WaylandSession, u"wayland;xcb"},
        PlatformCase{"OtherSessionType", Posix, {{u"XDG_SESSION_TYPE", u"x11"}}, u"xcb"},
        PlatformCase{"ChosenPlatform", Posix, Offscreen, u"offscreen"},
        PlatformCase{"EmptyChoiceDoesNotCount", Posix, {{u"QT_QPA_PLATFORM", u""}}, u"xcb"},
        PlatformCase{"Windows", Win, {}, u"windows"},
        PlatformCase{"ChosenOnWindows", Win, Offscreen, u"offscreen"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CommandLineAnswers, VersionAndUsage) {
  EXPECT_EQ(core::VersionText(u"1.1.0"), u"Vellumine 1.1.0\n");
  const std::u16string_view usage = core::UsageText();
  EXPECT_TRUE(usage.starts_with(u"Usage: vellumine [OPTION]... [--] [FOLDER | FILE]\n"));
  for (const std::u16string_view option :
       {u"  --help ", u"  --version ", u"  -- ", u"  Ctrl+F ", u"  Ctrl+0 "}) {
    EXPECT_NE(usage.find(option), std::u16string_view::npos);
  }
  EXPECT_TRUE(usage.ends_with(u"\n"));
}

}  // namespace
