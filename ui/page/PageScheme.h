#pragma once

class QObject;
class QWebEngineProfile;

// The page layer: what serves, guards and hosts the pages the browser view shows. Every page is
// untrusted, and this folder keeps these promises:
// - A page is shown as a browser shows a local page: its stylesheets, scripts, images, fonts, media
//   and frames load wherever they lie, links between pages work, types come from file names and a
//   text that names no character set is read as UTF-8 when its first 64 KB are (PageFileServer).
//   Back and Forward bring a local page back as its first load showed it (SilentWebPage). Beyond a
//   browser, a link to a folder shows its index page, and a file of no known type is shown as
//   text when it is text, never downloaded.
// - Saved pages work: a file's type comes from the name it had on the web, without the query wget
//   keeps in it or the ".download" a browser's complete-page save adds; a script, stylesheet or
//   font without an extension loads from the page's own folder or below, outside hidden folders,
//   unless its name is a key's or a configuration file's (core::PublishedName,
//   MayServeWithoutType).
// - No local file's content reaches a page's scripts by any route: fetch and XMLHttpRequest of
//   local files are refused, every load in CORS mode fails, each document has an origin of its own,
//   a script runs only from a file named as one, a stylesheet only from a CSS file, judged by the
//   file a link leads to (LocalRequestGuard).
// - No page holds memory or readers: a pass for the file loader lives ten seconds at most and a
//   thousand at most are live (TLoadPasses), and no file is read further than its first 64 KB
//   off the window's thread.
// - A page opens no WebSocket, to the web or anywhere else (LocalRequestGuard), and its peer
//   connections send nothing over UDP (AddEngineSwitches). Their constructors are taken out of each
//   document, which keeps TURN over TCP from it too, but not from a frame's first empty document
//   that a page reaches into at once (MakePageProfile).
// - No page takes the viewer over: a page that stops answering is replaced, a renderer that dies is
//   told of, and no dialog, picker or window a page asks for holds the window (PageArea,
//   SilentWebPage).

// Adds the engine's own switches that the page layer relies on to QTWEBENGINE_CHROMIUM_FLAGS,
// after the user's; must happen before the first profile exists, and before any other thread
// starts, since it changes the environment. Programs the viewer starts inherit them.
void AddEngineSwitches();

// Makes the page scheme known to the engine; must happen before the application object exists.
void RegisterPageScheme();

// A private, memory-only profile without HTTP cache (every load reads the file from disk) that
// serves the page scheme, guards every local request its pages make, refuses their WebSockets and
// takes the peer connection constructors out of their documents.
QWebEngineProfile* MakePageProfile(QObject* parent);
