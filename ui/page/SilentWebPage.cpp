#include "ui/page/SilentWebPage.h"

#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

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
