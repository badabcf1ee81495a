#include "ui/page/SilentWebPage.h"

#include <QDataStream>
#include <QIODevice>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <cstdlib>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

#include "ui/page/LocalFiles.h"

namespace {

// Where a link may lead: local files and the web. Script, data and blank addresses would make or
// run a page here instead of showing one.
bool IsLinkTarget(const QUrl& url) {
  return KindOf(url) != LocalUrlKind::Other || url.scheme() == QLatin1String("http") ||
         url.scheme() == QLatin1String("https");
}

}  // namespace

TSilentWebPage::TSilentWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  // A local page reads no other local file as a mainstream browser's "file:" page does not.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  RefuseRequests();
  connect(this, &QWebEnginePage::newWindowRequested, this, &TSilentWebPage::OpenHereWhenAsked);
}

void TSilentWebPage::RefuseRequests() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  connect(this, &QWebEnginePage::permissionRequested, this,
          [](const QWebEnginePermission& permission) { permission.deny(); });
#else
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
#endif
  connect(this, &QWebEnginePage::fullScreenRequested, this,
          [](QWebEngineFullScreenRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
          [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
          [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::certificateError, this,
          [](QWebEngineCertificateError error) { error.rejectCertificate(); });
}

void TSilentWebPage::javaScriptAlert(const QUrl&, const QString&) {}

// A confirmation nobody saw is taken as given, so a page's question (leaving it, among others)
// never holds up navigation.
bool TSilentWebPage::javaScriptConfirm(const QUrl&, const QString&) { return true; }

bool TSilentWebPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
  return false;
}

void TSilentWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                              const QString&) {}

QStringList TSilentWebPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
  return {};
}

QWebEnginePage* TSilentWebPage::createWindow(WebWindowType) { return nullptr; }

// The engine asks for a new window only after createWindow has declined one. A user's click (on a
// link with a target, or one that calls window.open) shows the page here, as a link would, once
// the engine has finished with the request; only addresses a link could lead to are followed.
void TSilentWebPage::OpenHereWhenAsked(const QWebEngineNewWindowRequest& request) {
  const QUrl url = request.requestedUrl();
  if (!request.isUserInitiated() || !IsLinkTarget(url)) return;
  QMetaObject::invokeMethod(
      this, [this, url] { load(url); }, Qt::QueuedConnection);
}

// The engine gives a document the loader by which it reads local files only when the page on show
// as it commits is local. A history step from a web page, an error page or a notice back to a
// local page would commit while the page being left is on show, and the local page would come
// back without its stylesheets, scripts and images. Such a step is made instead by restoring the
// history with the local page as its current entry: the engine then shows that page from the start,
// as it does when a session is restored, and every entry stays where it was.
bool TSilentWebPage::acceptNavigationRequest(const QUrl& target, NavigationType type,
                                             bool isMainFrame) {
  if (!isMainFrame || type != NavigationTypeBackForward) return true;
  if (KindOf(target) == LocalUrlKind::Other || KindOf(url()) != LocalUrlKind::Other) return true;
  const int index = HistoryIndexOf(target);
  if (index < 0) return true;
  QMetaObject::invokeMethod(
      this, [this, index] { RestoreHistoryAt(index); }, Qt::QueuedConnection);
  return false;
}

// The entry a history step leads to: the history's current entry while the step is under way, or
// failing that the nearest entry of that page.
int TSilentWebPage::HistoryIndexOf(const QUrl& url) const {
  const QWebEngineHistory& entries = *history();
  const int current = entries.currentItemIndex();
  int nearest = -1;
  for (int index = 0; index < entries.count(); ++index) {
    const bool nearer = nearest < 0 || std::abs(index - current) < std::abs(nearest - current);
    if (nearer && entries.itemAt(index).url() == url) nearest = index;
  }
  return nearest;
}

void TSilentWebPage::RestoreHistoryAt(int index) {
  QByteArray saved;
  QDataStream out(&saved, QIODevice::WriteOnly);
  out << *history();
  // The saved history starts with its format's version, the number of entries and the index of
  // the current one, each a 32-bit integer.
  QDataStream current(&saved, QIODevice::ReadWrite);
  current.skipRawData(2 * sizeof(qint32));
  current << qint32(index);
  QDataStream in(saved);
  in >> *history();
}
