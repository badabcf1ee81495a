#include "ui/page/LocalFiles.h"

#include <QMimeDatabase>

#include "core/content_types.h"
#include "core/encoding.h"
#include "core/paths.h"
#include "platform/platform.h"

namespace {

QByteArray Latin1(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

const QByteArray& PageScheme() {
  static const QByteArray name = Latin1(core::kPageScheme);
  return name;
}

LocalUrlKind KindOf(const QUrl& url) {
  const QByteArray scheme = url.scheme().toLatin1();
  if (scheme == PageScheme()) return LocalUrlKind::Page;
  if (scheme == "file") return LocalUrlKind::File;
  return LocalUrlKind::Other;
}

QUrl AtScheme(QUrl url, LocalUrlKind kind) {
  const bool file = kind == LocalUrlKind::File;
  const QString host = url.host();
  url.setScheme(QString::fromLatin1(file ? QByteArray("file") : PageScheme()));
  // A "file:" URL names this machine with no host; the engine's own schemes with one host for all.
  const bool thisMachine = host.isEmpty() || host == QLatin1String(core::kPageHost.data());
  if (thisMachine) url.setHost(file ? QString() : QString::fromLatin1(Latin1(core::kPageHost)));
  return url;
}

std::optional<std::u16string> LocalFileOf(const QUrl& url) {
  return core::FilePathFromUrl(platform::kPathStyle,
                               url.host(QUrl::FullyEncoded).toLatin1().toStdString(),
                               url.path(QUrl::FullyEncoded).toLatin1().toStdString());
}

QString ShownName(std::u16string_view path) {
  std::u16string_view name = core::FileNamePart(platform::kPathStyle, path);
  if (name.empty() && path.size() > 1) {
    name = core::FileNamePart(platform::kPathStyle, path.substr(0, path.size() - 1));
  }
  return QString::fromStdU16String(core::ReadableText(name.empty() ? path : name));
}

QString ShownName(const QUrl& url) {
  const std::optional<std::u16string> path = LocalFileOf(url);
  return path ? ShownName(*path) : url.toDisplayString();
}

QByteArray ContentTypeOf(const std::u16string& path) {
  const std::u16string_view name =
      core::PublishedName(core::FileNamePart(platform::kPathStyle, path));
  const std::string_view known = core::ContentTypeByName(name);
  if (!known.empty()) return Latin1(known);
  return QMimeDatabase()
      .mimeTypeForFile(QString::fromStdU16String(std::u16string(name)),
                       QMimeDatabase::MatchExtension)
      .name()
      .toLatin1();
}
