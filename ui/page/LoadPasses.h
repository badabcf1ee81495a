#pragma once

#include <QObject>
#include <QSet>
#include <QUrl>

// One-time passes for the engine's own "file:" loader. The server grants one to a load it has
// checked, as a "file:" URL with a token no page can guess in its query (the file loader ignores
// queries); the request guard lets exactly that URL through once and sends every other "file:"
// load back to the server. A page that later sees the URL finds its pass used.
class TLoadPasses final : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // The file's "file:" URL with a new pass.
  QUrl Grant(QUrl fileUrl);
  // Whether the URL carries a pass not used before; uses it.
  bool Redeem(const QUrl& url);

 private:
  QSet<QUrl> granted_;
};
