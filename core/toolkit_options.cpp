#include "core/toolkit_options.h"

#include <algorithm>
#include <numeric>

#include "core/names.h"

namespace core {
namespace {

enum class Value {
  None,       // a switch
  NextIfAny,  // takes the next argument; an option even when none follows
  Next,       // an option only when a next argument follows, which it takes
  Attached,   // written "-name=value" in one argument
};

struct Option {
  std::u16string_view name;  // with one leading "-"; attached forms end in "="
  Value value;
  bool onlyOnXcb = false;  // X11 spellings, options only while the platform name starts with "xcb"
};

// QGuiApplication choosing its platform plug-in.
constexpr Option kPlatformOptions[] = {
    {u"-platformpluginpath", Value::NextIfAny}, {u"-platform", Value::NextIfAny},
    {u"-platformtheme", Value::NextIfAny},      {u"-qwindowgeometry", Value::NextIfAny},
    {u"-geometry", Value::NextIfAny, true},     {u"-qwindowtitle", Value::NextIfAny},
    {u"-title", Value::NextIfAny, true},        {u"-qwindowicon", Value::NextIfAny},
    {u"-icon", Value::NextIfAny, true}};

// The X11 platform plug-in, which reads its options whenever Qt tries it.
constexpr Option kXcbPluginOptions[] = {{u"-display", Value::Next},
                                        {u"-name", Value::Next},
                                        {u"-nograb", Value::None},
                                        {u"-dograb", Value::None},
                                        {u"-visual", Value::Next}};

constexpr Option kCoreApplicationOptions[] = {{u"-qmljsdebugger=", Value::Attached},
                                              {u"-qmljsdebugger", Value::Next}};

constexpr Option kGuiApplicationOptions[] = {
    {u"-plugin", Value::NextIfAny}, {u"-reverse", Value::None},    {u"-session", Value::Next},
    {u"-testability", Value::None}, {u"-style=", Value::Attached}, {u"-style", Value::Next}};

constexpr Option kApplicationOptions[] = {{u"-qdevel", Value::None},
                                          {u"-qdebug", Value::None},
                                          {u"-stylesheet", Value::Next},
                                          {u"-stylesheet=", Value::Attached},
                                          {u"-widgetcount", Value::None}};

bool IsPlatformOption(const Option& option) { return option.name == u"-platform"; }

// Qt reads "--name" as "-name".
std::u16string_view Spelling(std::u16string_view argument) {
  return argument.starts_with(u"--") ? argument.substr(1) : argument;
}

bool Matches(const Option& option, std::u16string_view spelling, bool hasNext, bool onXcb) {
  if (option.onlyOnXcb && !onXcb) return false;
  if (option.value == Value::Attached) return spelling.starts_with(option.name);
  return spelling == option.name && (option.value != Value::Next || hasNext);
}

// One of Qt's passes over the arguments earlier passes left (`left`, indices into `arguments`):
// marks the options it finds with their values and returns what it leaves in turn. A "-platform"
// value becomes the platform name for the arguments after it.
std::vector<std::size_t> RunPass(std::span<const Option> options,
                                 std::span<const std::u16string> arguments,
                                 const std::vector<std::size_t>& left, std::u16string& platform,
                                 std::vector<bool>& marks) {
  std::vector<std::size_t> kept;
  for (std::size_t i = 0; i < left.size(); ++i) {
    const std::u16string_view spelling = Spelling(arguments[left[i]]);
    const bool hasNext = i + 1 < left.size();
    const bool onXcb = platform.starts_with(u"xcb");
    const auto found = std::find_if(options.begin(), options.end(), [&](const Option& option) {
      return Matches(option, spelling, hasNext, onXcb);
    });
    if (found == options.end()) {
      kept.push_back(left[i]);
      continue;
    }
    marks[left[i]] = true;
    const bool takesNext = found->value == Value::Next || found->value == Value::NextIfAny;
    if (takesNext && hasNext) {
      marks[left[++i]] = true;
      if (IsPlatformOption(*found)) platform = arguments[left[i]];
    }
  }
  return kept;
}

// The non-empty parts of `text` between `separator`s.
std::vector<std::u16string_view> Parts(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(separator, start);
    if (end == std::u16string_view::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Whether Qt may try the X11 plug-in: the platform name is a ";"-separated list of plug-ins, each
// "name:parameters", tried in order until one starts. Qt tries the X11 plug-in only when the ones
// listed before it fail; they are taken to fail, as a Wayland plug-in does without a compositor.
bool MayTryXcb(std::u16string_view platform) {
  const std::vector<std::u16string_view> plugins = Parts(platform, u';');
  return std::any_of(plugins.begin(), plugins.end(), [](std::u16string_view plugin) {
    const std::vector<std::u16string_view> words = Parts(plugin, u':');
    return !words.empty() && EqualIgnoringAsciiCase(words.front(), u"xcb");
  });
}

}  // namespace

std::u16string ToolkitStartPlatform(PathStyle style, const EnvironmentLookup& environment) {
  if (const auto chosen = environment(u"QT_QPA_PLATFORM"); chosen && !chosen->empty()) {
    return *chosen;
  }
  if (style == PathStyle::Windows) return u"windows";
  const bool wayland = environment(u"WAYLAND_DISPLAY").has_value() ||
                       environment(u"XDG_SESSION_TYPE") == std::u16string(u"wayland");
  return wayland ? u"wayland;xcb" : u"xcb";
}

std::vector<bool> ToolkitOptionMarks(PathStyle style, std::u16string_view startPlatform,
                                     std::span<const std::u16string> arguments) {
  std::vector<bool> marks(arguments.size(), false);
  std::vector<std::size_t> left(arguments.size());
  std::iota(left.begin(), left.end(), std::size_t{0});
  std::u16string platform(startPlatform);
  left = RunPass(kPlatformOptions, arguments, left, platform, marks);
  if (style == PathStyle::Posix && MayTryXcb(platform)) {
    left = RunPass(kXcbPluginOptions, arguments, left, platform, marks);
  }
  for (const std::span<const Option> options : {std::span<const Option>(kCoreApplicationOptions),
                                                std::span<const Option>(kGuiApplicationOptions),
                                                std::span<const Option>(kApplicationOptions)}) {
    left = RunPass(options, arguments, left, platform, marks);
  }
  return marks;
}

}  // namespace core
