#include "ui/PageScheme.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <optional>

#include "core/encoding.h"
#include "core/paths.h"
#include "platform/platform.h"
#include "ui/NoticePage.h"

namespace {

const QByteArray& SchemeName() {
  static const QByteArray name(core::kPageScheme.data(),
                               static_cast<qsizetype>(core::kPageScheme.size()));
  return name;
}

bool IsPageUrl(const QUrl& url) { return url.scheme().toLatin1() == SchemeName(); }
bool IsFileUrl(const QUrl& url) { return url.scheme() == QLatin1String("file"); }

bool NamesThisMachine(const QUrl& url) {
  return url.host().isEmpty() || url.host() == QLatin1String(core::kPageHost.data());
}

// The same file at another scheme: this machine is the page scheme's kPageHost and "file:"'s empty
// host; a network share keeps its server.
QUrl Moved(QUrl url, const QString& scheme, const QString& localHost) {
  if (NamesThisMachine(url)) url.setHost(localHost);
  url.setScheme(scheme);
  return url;
}

std::optional<std::u16string> LocalFileOf(const QUrl& url) {
  return core::FilePathFromUrl(platform::kPathStyle,
                               url.host(QUrl::FullyEncoded).toLatin1().toStdString(),
                               url.path(QUrl::FullyEncoded).toLatin1().toStdString());
}

// The content type by the file's name, or by its first bytes when the name does not tell.
QByteArray ContentType(const std::u16string& path, QFile& file) {
  const QString name = QString::fromStdU16String(path);
  return QMimeDatabase().mimeTypeForFileNameAndData(name, &file).name().toLatin1();
}

// Why a file that is there is not shown, in the page area.
void ReplyRefused(QWebEngineUrlRequestJob* job, const std::u16string& path,
                  platform::FileOpening result) {
  const QString name =
      QString::fromStdU16String(core::ReadableText(core::FileNamePart(platform::kPathStyle, path)));
  const QByteArray page =
      result == platform::FileOpening::Denied
          ? NoticePage(QStringLiteral("Not allowed to read"),
                       name + QStringLiteral(" cannot be read: access is denied."))
          : NoticePage(QStringLiteral("Not a regular file"),
                       name + QStringLiteral(" is not a regular file (it is a FIFO, socket, device "
                                             "or folder), so it is not read."));
  auto* buffer = new QBuffer(job);
  buffer->setData(page);
  job->reply("text/html", buffer);
}

// Serves the documents of the page scheme: the frames a page shows. Only regular files are read: a
// missing file gets the engine's error page, a FIFO, device or unreadable file a notice of ours,
// both at once.
class TPageSchemeHandler final : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    const std::optional<std::u16string> path = LocalFileOf(job->requestUrl());
    if (!path) return job->fail(QWebEngineUrlRequestJob::UrlInvalid);
    const platform::OpenedFile opened = platform::OpenRegularFile(*path);
    if (opened.result == platform::FileOpening::Missing) {
      return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    }
    if (opened.result != platform::FileOpening::Opened) {
      return ReplyRefused(job, *path, opened.result);
    }
    auto* file = new QFile(job);
    if (!file->open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
      return job->fail(QWebEngineUrlRequestJob::RequestFailed);
    }
    job->reply(ContentType(*path, *file), file);
  }
};

bool IsDocument(QWebEngineUrlRequestInfo::ResourceType type) {
  return type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame ||
         type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame ||
         type == QWebEngineUrlRequestInfo::ResourceTypeObject ||
         type == QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadMainFrame ||
         type == QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadSubFrame;
}

// Every request for a local file passes here first.
// - Scripts never read local files: fetch and XMLHttpRequest of a local URL are refused.
// - Documents (pages, frames, objects) go through the page scheme, so each gets an opaque origin;
//   a link or frame that names a "file:" URL is redirected there.
// - Everything else a page shows (stylesheets, scripts, images, fonts, media) is loaded by the
//   engine's own file loader, which hands a page of another origin only what it may display: a
//   canvas that drew such an image is tainted, a script's errors are hidden. Only regular files
//   get that far.
class TLocalRequestGuard final : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QUrl url = info.requestUrl();
    if (!IsPageUrl(url) && !IsFileUrl(url)) return;
    const QWebEngineUrlRequestInfo::ResourceType type = info.resourceType();
    if (type == QWebEngineUrlRequestInfo::ResourceTypeXhr) return info.block(true);
    if (IsDocument(type)) {
      if (!IsFileUrl(url)) return;
      if (!NamesThisMachine(url)) return info.block(true);
      return info.redirect(Moved(url, QString::fromLatin1(SchemeName()),
                                 QString::fromLatin1(core::kPageHost.data())));
    }
    if (IsPageUrl(url)) return info.redirect(Moved(url, QStringLiteral("file"), QString()));
    const std::optional<std::u16string> path = LocalFileOf(url);
    if (!path || !platform::IsRegularFile(*path)) info.block(true);
  }
};

}  // namespace

void RegisterPageScheme() {
  QWebEngineUrlScheme scheme(SchemeName());
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Local like "file:", and allowed to show local files as a "file:" page is.
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QWebEngineProfile* MakePageProfile(QObject* parent) {
  auto* profile = new QWebEngineProfile(parent);
  profile->setHttpCacheType(QWebEngineProfile::NoCache);
  profile->installUrlSchemeHandler(SchemeName(), new TPageSchemeHandler(profile));
  profile->setUrlRequestInterceptor(new TLocalRequestGuard(profile));
  // Nothing is ever saved: a download a page starts is cancelled.
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });
  return profile;
}
