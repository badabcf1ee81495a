#pragma once

class QObject;
class QWebEngineProfile;

// The page layer: what serves, guards and hosts the pages the browser view shows. Every page is
// untrusted, and this folder keeps these promises:
// - A page is shown as a browser shows a local page: its stylesheets, scripts, images, fonts, media
//   and frames load wherever they lie, links between pages work, types come from file names and a
//   text that names no character set is read as UTF-8 when it is valid UTF-8 (PageFileServer).
// - No local file's content reaches a page's scripts by any route: fetch and XMLHttpRequest of
//   local files are refused, every load in CORS mode fails, each document has an origin of its own,
//   a script runs only from a file named as one, a stylesheet only from a CSS file
//   (LocalRequestGuard).
// - No page takes the viewer over: a page that stops answering is replaced, a renderer that dies is
//   told of, and no dialog, picker or window a page asks for holds the window (PageArea,
//   SilentWebPage).

// Makes the page scheme known to the engine; must happen before the application object exists.
void RegisterPageScheme();

// A private, memory-only profile without HTTP cache (every load reads the file from disk) that
// serves the page scheme and guards every local request its pages make.
QWebEngineProfile* MakePageProfile(QObject* parent);
