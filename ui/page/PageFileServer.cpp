#include "ui/page/PageFileServer.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
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

// The content type with the character set the file's text is to be read in, when it must be said.
// Only the file's start is read, and the file is left at its start. A sequence cut off by the end
// of what was read counts as valid, since the file goes on.
QByteArray ContentTypeWithCharset(QFile& file, const QByteArray& type) {
  const QByteArray start = file.read(core::kUtf8CheckReach);
  const bool whole = file.atEnd();
  file.seek(0);
  const std::string_view startBytes(start.constData(), start.size());
  core::Utf8Check utf8;
  utf8.Feed(startBytes);
  const bool validUtf8 = whole ? utf8.Valid() : !utf8.Broken();
  const std::string_view charset =
      core::CharsetToDeclare(std::string_view(type.constData(), type.size()), startBytes, validUtf8);
  if (charset.empty()) return type;
  return type + "; charset=" + QByteArray(charset.data(), static_cast<qsizetype>(charset.size()));
}

bool MayDeclareCharset(const QByteArray& type) {
  return !core::CharsetToDeclare(std::string_view(type.constData(), type.size()), {}, true).empty();
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
  const platform::OpenedFile opened = platform::OpenRegularFile(*path);
  if (opened.result == platform::FileOpening::Missing) {
    return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
  }
  if (opened.result != platform::FileOpening::Opened) {
    return ReplyRefused(job, *path, opened.result);
  }
  auto file = std::make_unique<QFile>();
  if (!file->open(opened.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    return job->fail(QWebEngineUrlRequestJob::RequestFailed);
  }
  Reply(job, std::move(file), ContentTypeOf(*path));
}

// A resource is read by the engine's own file loader, which keeps what it reads from the page's
// scripts; only a regular file gets that far.
void TPageFileServer::PassOn(QWebEngineUrlRequestJob* job, const std::u16string& path) {
  if (!platform::IsRegularFile(path)) return job->fail(QWebEngineUrlRequestJob::RequestDenied);
  job->redirect(passes_->Grant(AtScheme(job->requestUrl(), LocalUrlKind::File)));
}

void TPageFileServer::Reply(QWebEngineUrlRequestJob* job, std::unique_ptr<QFile> file,
                            const QByteArray& type) {
  if (!MayDeclareCharset(type)) {
    file->setParent(job);
    return job->reply(type, file.release());
  }
  // The file is read on another thread; the reply is made here, if the request still waits.
  // The file is deleted with the request, or with the reply that never came.
  auto held = std::make_shared<std::unique_ptr<QFile>>(std::move(file));
  readers_.start([this, job = QPointer(job), held, type] {
    const QByteArray typeWithCharset = ContentTypeWithCharset(**held, type);
    QMetaObject::invokeMethod(this, [job, held, typeWithCharset] {
      if (!job) return;
      (*held)->setParent(job);
      job->reply(typeWithCharset, held->release());
    });
  });
}
