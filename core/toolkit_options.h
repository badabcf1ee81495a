#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/paths.h"

// Qt's own command-line options. QApplication takes them out of argv while it starts, in five
// passes (platform, platform plug-in, QCoreApplication, QGuiApplication, QApplication); these rules
// repeat those passes of Qt 6.4 so that the program knows before Qt starts which arguments are
// Qt's.
namespace core {

// An environment variable's value, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::u16string>(std::u16string_view name)>;

// The platform name Qt starts from before it reads its options: QT_QPA_PLATFORM when set and not
// empty; otherwise "windows" on Windows, and elsewhere "xcb", preceded by "wayland;" in a Wayland
// session. Some options exist only while the name starts with "xcb".
std::u16string ToolkitStartPlatform(PathStyle style, const EnvironmentLookup& environment);

// For each argument after the program's name, whether Qt takes it as one of its options or as an
// option's value.
std::vector<bool> ToolkitOptionMarks(PathStyle style, std::u16string_view startPlatform,
                                     std::span<const std::u16string> arguments);

}  // namespace core
