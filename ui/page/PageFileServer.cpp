#include "ui/page/PageFileServer.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QMimeDatabase>
#include <QPointer>
#include <QWebEngineUrlRequestJob>
#include <memory>
#include <optional>

#include "core/content_types.h"
#include "core/encoding.h"
#include "platform/platform.h"
#include "ui/page/LoadPasses.h"
#include "ui/page/LocalFiles.h"
#include "ui/page/NoticePage.h"

namespace {

QBuffer* Notice(QObject* parent, const QString& title, const QString& text) {
  auto* buffer = new QBuffer(parent);
  buffer->setData(NoticePage(title, text));
  return buffer;
}

// Why a file that is there is not shown, in the page area.
void ReplyRefused(QWebEngineUrlRequestJob* job, const std::u16string& path,
                  platform::FileOpening result) {
  const QString name = ShownName(path);
  job->reply("text/html",
             result == platform::FileOpening::Denied
                 ? Notice(job, QStringLiteral("Not allowed to read"),
                          name + QStringLiteral(" cannot be read: access is denied."))
                 : Notice(job, QStringLiteral("Not a regular file"),
                          name + QStringLiteral(" is not a regular file (it is a FIFO, socket or "
                                                "device), so it is not read.")));
}

// A file whose name says nothing of its type is shown as text when its start is text (a page's
// markup included, as a browser's own file loader shows it: a text file is never made a page by
// its content); anything else is not shown at all (empty when so).
QByteArray TypeByContent(const QByteArray& start) {
  const bool text = start.isEmpty() ||
                    QMimeDatabase().mimeTypeForData(start).inherits(QStringLiteral("text/plain"));
  return text ? "text/plain" : QByteArray();
}

// The content type to serve the file as, with the character set its text is to be read in when
// that must be said; empty when the file is not to be shown. Only the file's start is read, and the
// file is left at its start. A sequence cut off by the end of what was read counts as valid, since
// the file goes on.
QByteArray ServedType(QFile& file, QByteArray type) {
  const QByteArray start = file.read(core::kUtf8CheckReach);
  const bool whole = file.atEnd();
  file.seek(0);
  if (type == kUnknownType) type = TypeByContent(start);
  if (type.isEmpty()) return type;
  const std::string_view startBytes(start.constData(), start.size());
  core::Utf8Check utf8;
  utf8.Feed(startBytes);
  const bool validUtf8 = whole ? utf8.Valid() : !utf8.Broken();
  const std::string_view charset = core::CharsetToDeclare(
      std::string_view(type.constData(), type.size()), startBytes, validUtf8);
  if (charset.empty()) return type;
  return type + "; charset=" + QByteArray(charset.data(), static_cast<qsizetype>(charset.size()));
}

// Whether serving the file needs a look at its start.
bool NeedsReading(const QByteArray& type) {
  return type == kUnknownType ||
         !core::CharsetToDeclare(std::string_view(type.constData(), type.size()), {}, true).empty();
}

// The same address as a folder's: ending in "/", so that the links of its index page lead into it.
QUrl AsFolder(QUrl url) {
  url.setPath(url.path(QUrl::FullyEncoded) + u'/', QUrl::StrictMode);
  return url;
}

}  // namespace

TPageFileServer::TPageFileServer(TLoadPasses* passes, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), passes_(passes) {}

// Waits for the readers still at work, so that none reports to a server that is gone.
TPageFileServer::~TPageFileServer() { readers_.waitForDone(); }

// A load in CORS mode carries the page's origin; a document's own loads never do.
bool TPageFileServer::InCorsMode(const QWebEngineUrlRequestJob& job) {
  return job.requestMethod() == "GET" && job.requestHeaders().contains("Origin");
}

void TPageFileServer::requestStarted(QWebEngineUrlRequestJob* job) {
  if (InCorsMode(*job)) return job->fail(QWebEngineUrlRequestJob::RequestDenied);
  const std::optional<std::u16string> path = LocalFileOf(job->requestUrl());
  if (!path) return job->fail(QWebEngineUrlRequestJob::UrlInvalid);
  if (job->requestHeaders().contains(kResourceHeader)) return PassOn(job, *path);
  ServeDocument(job, *path);
}

void TPageFileServer::ServeDocument(QWebEngineUrlRequestJob* job, const std::u16string& path) {
  const platform::OpenedFile opened = platform::OpenRegularFile(path);
  switch (opened.result) {
    case platform::FileOpening::Opened:
      return Reply(job, opened.descriptor, path);
    case platform::FileOpening::Missing:
      return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    case platform::FileOpening::Folder:
      return ServeFolder(job, path);
    case platform::FileOpening::NotRegular:
    case platform::FileOpening::Denied:
      return ReplyRefused(job, path, opened.result);
  }
}

// A folder is shown as a web server shows one: by its index page, at the folder's own address.
void TPageFileServer::ServeFolder(QWebEngineUrlRequestJob* job, const std::u16string& path) {
  const QUrl url = job->requestUrl();
  if (!url.path().endsWith(u'/')) return job->redirect(AsFolder(url));
  for (const std::u16string_view index : {u"index.html", u"index.htm"}) {
    const std::u16string indexPath = core::JoinPath(platform::kPathStyle, path, index);
    const platform::OpenedFile opened = platform::OpenRegularFile(indexPath);
    if (opened.result == platform::FileOpening::Opened) {
      return Reply(job, opened.descriptor, indexPath);
    }
    if (opened.result != platform::FileOpening::Missing &&
        opened.result != platform::FileOpening::Folder) {
      return ReplyRefused(job, indexPath, opened.result);
    }
  }
  job->reply("text/html",
             Notice(job, QStringLiteral("No page in this folder"),
                    ShownName(path) + QStringLiteral(" is a folder without an "
                                                     "index.html or index.htm page, so "
                                                     "there is no page to show.")));
}

// A resource is read by the engine's own file loader, which keeps what it reads from the page's
// scripts; only a regular file gets that far.
void TPageFileServer::PassOn(QWebEngineUrlRequestJob* job, const std::u16string& path) {
  if (!platform::IsRegularFile(path)) return job->fail(QWebEngineUrlRequestJob::RequestDenied);
  job->redirect(passes_->Grant(AtScheme(job->requestUrl(), LocalUrlKind::File)));
}

void TPageFileServer::Reply(QWebEngineUrlRequestJob* job, int descriptor,
                            const std::u16string& path) {
  auto file = std::make_unique<QFile>();
  if (!file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    return job->fail(QWebEngineUrlRequestJob::RequestFailed);
  }
  const QByteArray type = ContentTypeOf(path);
  if (!NeedsReading(type)) {
    file->setParent(job);
    return job->reply(type, file.release());
  }
  // The file is read on another thread; the reply is made here, if the request still waits.
  // The file is deleted with the request, or with the reply that never came.
  auto held = std::make_shared<std::unique_ptr<QFile>>(std::move(file));
  readers_.start([this, job = QPointer(job), held, type, name = ShownName(path)] {
    const QByteArray served = ServedType(**held, type);
    QMetaObject::invokeMethod(this, [job, held, served, name] {
      if (!job) return;
      if (served.isEmpty()) {
        return job->reply("text/html",
                          Notice(job, QStringLiteral("Not shown"),
                                 name + QStringLiteral(" is not text and its name gives no type, "
                                                       "so it is not shown.")));
      }
      (*held)->setParent(job);
      job->reply(served, held->release());
    });
  });
}
