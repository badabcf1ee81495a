// The rules for Qt's own options against Qt itself: a probe starts QApplication with each list of
// arguments, and what Qt leaves must be exactly what the rules leave.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/toolkit_options.h"

namespace {

using Texts = std::vector<std::string>;

struct Setting {
  const char* label;
  std::map<std::string, std::string> environment;  // Qt's variables; the others are unset
};

const char* const kQtVariables[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};

const Setting kSettings[] = {
    {"X11", {}},
    {"Offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}},
    {"WaylandSession", {{"XDG_SESSION_TYPE", "wayland"}}},
};

struct ArgumentList {
  const char* label;
  Texts arguments;  // "$DISPLAY" stands for the display the test runs on
};

const ArgumentList kArgumentLists[] = {
    {"Switches", {"-reverse", "/site", "--reverse", "---reverse", "-", ""}},
    {"Styles", {"-style", "fusion", "--style=fusion", "/site", "-style"}},
    {"ValueLooksLikeAnOption", {"-style", "-reverse", "/site"}},
    {"WidgetOptions",
     {"-stylesheet", "/none.qss", "-stylesheet=/none.qss", "-widgetcount", "-qdevel", "-qdebug",
      "x"}},
    {"GuiOptions", {"-session", "abc_def", "-plugin", "none", "-testability", "x", "-plugin"}},
    {"QmlDebugger", {"-qmljsdebugger=port:1", "-qmljsdebugger", "port:2", "x", "-qmljsdebugger"}},
    {"WindowOptions",
     {"-qwindowtitle", "T", "-qwindowgeometry", "200x100", "-qwindowicon", "i", "x"}},
    {"X11Spellings", {"-title", "T", "-geometry", "200x100", "-icon", "i", "x"}},
    {"X11PluginOptions",
     {"-display", "$DISPLAY", "-name", "n", "-visual", "none", "-nograb", "-dograb", "x",
      "-display"}},
    {"PlatformOffscreen", {"-platform", "offscreen", "-title", "T", "-display", ":99", "x"}},
    {"PlatformXcb", {"-platform", "xcb", "-title", "T", "-display", "$DISPLAY", "x"}},
    {"PlatformOptions",
     {"-platformtheme", "none", "-platformpluginpath", "/none", "x", "-platform"}},
    {"LaterPassSeesWhatEarlierPassesLeft", {"-style", "-platform", "offscreen"}},
    {"NameThatIsNotUtf8", {"caf\xE9", "-reverse"}},
};

std::string Expanded(const std::string& argument) {
  const char* display = std::getenv("DISPLAY");
  return argument == "$DISPLAY" && display ? display : argument;
}

// Runs the probe with the setting's environment; returns the arguments Qt left, or the way the
// probe ended when it did not end normally.
Texts LeftByQt(const Setting& setting, const Texts& arguments) {
  int channel[2];
  if (pipe(channel) != 0) return {"<pipe failed>"};
  const pid_t child = fork();
  if (child == 0) {
    for (const char* name : kQtVariables) unsetenv(name);
    for (const auto& [name, value] : setting.environment) setenv(name.c_str(), value.c_str(), 1);
    dup2(channel[1], STDOUT_FILENO);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    std::vector<std::string> texts = {TOOLKIT_OPTIONS_PROBE};
    for (const std::string& argument : arguments) texts.push_back(Expanded(argument));
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(channel[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, got);
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {"<probe failed>"};
  Texts left;
  for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
       start = end + 1) {
    left.push_back(output.substr(start, end - start));
  }
  return left;
}

Texts LeftByRules(const Setting& setting, const Texts& arguments) {
  std::vector<std::u16string> decoded;
  for (const std::string& argument : arguments) {
    decoded.push_back(core::DecodeLossless(Expanded(argument)));
  }
  const core::EnvironmentLookup environment =
      [&setting](std::u16string_view name) -> std::optional<std::u16string> {
    const auto found = setting.environment.find(core::EncodeLossless(name));
    if (found == setting.environment.end()) return std::nullopt;
    return core::DecodeLossless(found->second);
  };
  const std::vector<bool> taken = core::ToolkitOptionMarks(
      core::PathStyle::Posix, core::ToolkitStartPlatform(core::PathStyle::Posix, environment),
      decoded);
  Texts left;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    if (!taken[i]) left.push_back(core::EncodeLossless(decoded[i]));
  }
  return left;
}

class ToolkitOptions
    : public testing::TestWithParam<std::tuple<const Setting*, const ArgumentList*>> {};

TEST_P(ToolkitOptions, RulesLeaveWhatQtLeaves) {
  const auto [setting, list] = GetParam();
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X display";
  EXPECT_EQ(LeftByRules(*setting, list->arguments), LeftByQt(*setting, list->arguments));
}

std::vector<const Setting*> Settings() {
  std::vector<const Setting*> settings;
  for (const Setting& setting : kSettings) settings.push_back(&setting);
  return settings;
}

std::vector<const ArgumentList*> ArgumentLists() {
  std::vector<const ArgumentList*> lists;
  for (const ArgumentList& list : kArgumentLists) lists.push_back(&list);
  return lists;
}

INSTANTIATE_TEST_SUITE_P(Qt, ToolkitOptions,
                         testing::Combine(testing::ValuesIn(Settings()),
                                          testing::ValuesIn(ArgumentLists())),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)->label) + "_" +
                                  std::get<1>(info.param)->label;
                         });

}  // namespace
