#include "ui/SilentWebPage.h"

#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

TSilentWebPage::TSilentWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  // A local page reads no other local file as a mainstream browser's "file:" page does not.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  RefuseRequests();
}

void TSilentWebPage::RefuseRequests() {
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
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
