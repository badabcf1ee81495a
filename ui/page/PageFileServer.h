#pragma once

#include <QThreadPool>
#include <QWebEngineUrlSchemeHandler>
#include <string>

class TLoadPasses;

// Serves the page scheme. Any load in CORS mode is refused: the page's scripts would
// read what it loads.
// Documents are served as a browser's own file loader serves them: only regular files are read (a
// missing file gets the engine's error page, a FIFO, device or unreadable file a notice of ours
// that names it, both at once); the content type comes from the file's name; and a text that names
// no character set of its own is read as UTF-8 when its first 64 KB are valid UTF-8. Two things go
// further than a browser: a folder shows its index.html or index.htm as a web server shows it (or
// a notice that names it), and a file whose name says nothing of its type is shown as text when its
// start is text, as a browser shows it, and otherwise gets a notice, never handed over as a
// download. Reading a file's start
// happens off the window's thread, so no file, however large or slow, holds up the window.
// Resources are handed to the engine's own file loader with a one-time pass (TLoadPasses): it
// marks what a page loads from a file as another origin's, so the page may show it but never read
// it (a canvas that drew an image is tainted, a script's errors are hidden).
class TPageFileServer final : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  TPageFileServer(TLoadPasses* passes, QObject* parent);
  ~TPageFileServer() override;

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  static bool InCorsMode(const QWebEngineUrlRequestJob& job);
  void PassOn(QWebEngineUrlRequestJob* job, const std::u16string& path);
  void ServeDocument(QWebEngineUrlRequestJob* job, const std::u16string& path);
  void ServeFolder(QWebEngineUrlRequestJob* job, const std::u16string& path);
  void Reply(QWebEngineUrlRequestJob* job, int descriptor, const std::u16string& path);

  TLoadPasses* passes_;
  QThreadPool readers_;
};
