#pragma once

class QObject;
class QWebEngineProfile;

// Local pages reach the browser view through a URL scheme of the program's own, so that every page
// the view shows is read by the program, and the engine gives each page an opaque origin: a page
// shows its own stylesheets, scripts, images and frames wherever they lie, but no script can read
// the content of a local file.

// Makes the scheme known to the engine; must happen before the application object exists.
void RegisterPageScheme();

// A private, memory-only profile without HTTP cache (every load reads the file from disk) that
// serves the page scheme and guards every local request its pages make.
QWebEngineProfile* MakePageProfile(QObject* parent);
