#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The main window's style book: the entries "Panelstyle", "Splitterstyle" and "menubarstyle",
// looked up by name without regard to letter case. A control asks for the entry named in its
// "styleLookup" property; when the book has no such entry it gets the default entry of its kind
// (panels "Panelstyle", splitters "Splitterstyle", menu bars "menubarstyle"); when that is missing
// too it keeps the platform's default look.
namespace StyleBook {

// The entry a control gets, in lower case, or an empty string for the platform's default look.
QString Resolve(const QString& requested, const QString& kindDefault);

// Applies the book to every panel, splitter and menu bar of the window.
void Apply(QWidget* window);

// Gives a strip added to a panel later (the find bar) the panel's surface and captions, down to
// its last control, so that no desktop palette turns them light on light.
void ApplyPanelSurface(QWidget* strip);

}  // namespace StyleBook
