#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QSet>
#include <QUrl>
#include <chrono>
#include <deque>

// One-time passes for the engine's own "file:" loader. The server grants one to a load it has
// checked, as a "file:" URL with a token no page can guess in its query (the file loader ignores
// queries); the request guard lets exactly that URL through once and sends every other "file:"
// load back to the server. A page that later sees the URL finds its pass used.
// A load follows its pass at once, unless it was cancelled or the page's own policy blocked it, and
// then it never comes. So a pass lives only until its load uses it or its lifetime ends, and at
// most kMaxLivePasses are live at once, the oldest giving way first: however many loads a page
// starts and drops, the passes take a bounded amount of memory. A load that comes after its pass
// is gone only costs a round trip: the guard sends it back to the server, which grants another.
class TLoadPasses final : public QObject {
  Q_OBJECT

 public:
  static constexpr std::size_t kMaxLivePasses = 1000;
  static constexpr std::chrono::milliseconds kLifetime = std::chrono::seconds(10);

  explicit TLoadPasses(QObject* parent, std::chrono::milliseconds lifetime = kLifetime);

  // The file's "file:" URL with a new pass.
  QUrl Grant(QUrl fileUrl);
  // Whether the URL carries a live pass; uses it.
  bool Redeem(const QUrl& url);

 private:
  void DropExpired();
  void DropOldest();

  struct Granted {
    QUrl url;
    QDeadlineTimer expiry;
  };
  std::chrono::milliseconds lifetime_;
  QSet<QUrl> live_;
  std::deque<Granted> byAge_;  // every pass granted and not yet dropped, oldest first
};
