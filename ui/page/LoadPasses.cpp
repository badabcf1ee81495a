#include "ui/page/LoadPasses.h"

#include <QRandomGenerator>

TLoadPasses::TLoadPasses(QObject* parent, std::chrono::milliseconds lifetime)
    : QObject(parent), lifetime_(lifetime) {}

QUrl TLoadPasses::Grant(QUrl fileUrl) {
  DropExpired();
  if (byAge_.size() >= kMaxLivePasses) DropOldest();
  quint64 token[2];
  QRandomGenerator::system()->fillRange(token);
  const QByteArray bytes(reinterpret_cast<const char*>(token), sizeof token);
  fileUrl.setQuery(QStringLiteral("pass=") + QString::fromLatin1(bytes.toHex()));
  live_.insert(fileUrl);
  byAge_.push_back({fileUrl, QDeadlineTimer(lifetime_)});
  return fileUrl;
}

bool TLoadPasses::Redeem(const QUrl& url) {
  DropExpired();
  return live_.remove(url);
}

// Passes are granted in the order they expire, so the oldest are at the front. A pass already used
// is no longer live; its place in the queue goes when it reaches the front.
void TLoadPasses::DropExpired() {
  while (!byAge_.empty() && byAge_.front().expiry.hasExpired()) DropOldest();
}

void TLoadPasses::DropOldest() {
  live_.remove(byAge_.front().url);
  byAge_.pop_front();
}
