#include "ui/page/SilentWebPage.h"

#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

TSilentWebPage::TSilentWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  // A local page reads no other local file as a mainstream browser's "file:" page does not.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  RefuseRequests();
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
