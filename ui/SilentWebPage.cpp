#include "ui/SilentWebPage.h"

TSilentWebPage::TSilentWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
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
