#include "ui/page/LoadPasses.h"

#include <QRandomGenerator>

QUrl TLoadPasses::Grant(QUrl fileUrl) {
  quint64 token[2];
  QRandomGenerator::system()->fillRange(token);
  const QByteArray bytes(reinterpret_cast<const char*>(token), sizeof token);
  fileUrl.setQuery(QStringLiteral("pass=") + QString::fromLatin1(bytes.toHex()));
  granted_.insert(fileUrl);
  return fileUrl;
}

bool TLoadPasses::Redeem(const QUrl& url) { return granted_.remove(url); }
