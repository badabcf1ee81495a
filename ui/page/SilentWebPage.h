#pragma once

#include <QWebEnginePage>

// A page that never asks the user anything: script dialogs, file choosers, permissions,
// certificate questions, full-screen and new windows are all answered without a word (a sign-in
// nobody answers is cancelled by the engine), so no page can block the viewer or open a window of
// its own. Local pages get no access to other local files.
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

 private:
  void RefuseRequests();
};
