#pragma once

#include <QWebEngineUrlRequestInterceptor>

class TLoadPasses;

// Refuses every WebSocket a page or its dedicated workers open, to the web or anywhere else. Sees
// every request a page makes for a local file before the engine loads it, and decides by the
// request's kind and the file's name whether and how it is loaded:
// - XMLHttpRequest and fetch of a local file are refused outright.
// - Documents (pages, frames, objects) load through the page scheme.
// - A script runs only from a file typed as a script (".js", ".mjs"), a stylesheet only from a
//   file typed as CSS, a web font only from a font file, media only from audio, video and text
//   track files. The name judged is that of the file a link leads to, as it was published
//   (ContentTypeOf); a script, stylesheet or font without an extension loads only from the page's
//   own files (core::MayServeWithoutType).
// - Web fonts load through the engine's own "file:" loader, as a "file:" page's own fonts do.
// - Everything else goes to the page scheme marked as a resource; its server refuses loads in CORS
//   mode and hands the others to the "file:" loader with a pass. A "file:" load without a pass
//   goes back to the server.
class TLocalRequestGuard final : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  TLocalRequestGuard(TLoadPasses* passes, QObject* parent);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  void RouteResource(QWebEngineUrlRequestInfo& info, const QUrl& url);

  TLoadPasses* passes_;
};
