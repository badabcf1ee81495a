#include "ui/PageScheme.h"

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

#include "core/paths.h"
#include "platform/platform.h"

namespace {

const QByteArray& SchemeName() {
  static const QByteArray name(core::kPageScheme.data(),
                               static_cast<qsizetype>(core::kPageScheme.size()));
  return name;
}

bool IsPageUrl(const QUrl& url) { return url.scheme().toLatin1() == SchemeName(); }
bool IsFileUrl(const QUrl& url) { return url.scheme() == QLatin1String("file"); }

QUrl WithScheme(QUrl url, const QString& scheme) {
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

QWebEngineUrlRequestJob::Error JobError(platform::FileOpening result) {
  return result == platform::FileOpening::Missing ? QWebEngineUrlRequestJob::UrlNotFound
                                                  : QWebEngineUrlRequestJob::RequestDenied;
}

// Serves the documents of the page scheme: the frames a page shows. Only regular files are read; a
// missing file, a FIFO or a device fails at once and the engine shows its error page.
class TPageSchemeHandler final : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

  void requestStarted(QWebEngineUrlRequestJob* job) override {
    const std::optional<std::u16string> path = LocalFileOf(job->requestUrl());
    if (!path) return job->fail(QWebEngineUrlRequestJob::UrlInvalid);
    const platform::OpenedFile opened = platform::OpenRegularFile(*path);
    if (opened.result != platform::FileOpening::Opened) return job->fail(JobError(opened.result));
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
      if (IsFileUrl(url)) info.redirect(WithScheme(url, QString::fromLatin1(SchemeName())));
      return;
    }
    if (IsPageUrl(url)) return info.redirect(WithScheme(url, QStringLiteral("file")));
    const std::optional<std::u16string> path = LocalFileOf(url);
    if (!path || !platform::IsRegularFile(*path)) info.block(true);
  }
};

}  // namespace

void RegisterPageScheme() {
  QWebEngineUrlScheme scheme(SchemeName());
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
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
