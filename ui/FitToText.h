#pragma once

#include <functional>

class QWidget;

// Controls that a window definition places at fixed positions keep their designed geometry as a
// minimum. When the font needs more room, each one grows to what its text needs (to the right,
// and evenly above and below its designed line; a label in a font size of the window's own only
// as far as its glyphs need), the controls after it move out of its way, and the container grows
// with them: a window in both directions, a panel in height only (its width is its layout's, so
// the panel's owner hears the width it needs).
namespace FitToText {

// The width a panel needs for its fitted controls: up to its farthest control's right edge, plus
// the margin the design leaves before its first control.
using WidthNeeded = std::function<void(int width)>;

// Fits the direct children of `container` now and again whenever its font changes; after each fit
// of a panel, tells `widthNeeded` (when given) the width the panel needs.
void Keep(QWidget* container, const WidthNeeded& widthNeeded = {});

}  // namespace FitToText
