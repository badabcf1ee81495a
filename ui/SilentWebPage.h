#pragma once

#include <QWebEnginePage>

// A page that never asks the user anything: script dialogs, file choosers and requests for new
// windows are answered without a word, so no page can block the viewer.
class TSilentWebPage final : public QWebEnginePage {
  Q_OBJECT

 public:
  TSilentWebPage(QWebEngineProfile* profile, QObject* parent);

 protected:
  void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                        const QString& defaultValue, QString* result) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceID) override;
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
};
