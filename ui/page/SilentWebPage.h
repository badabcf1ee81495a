#pragma once

#include <QWebEnginePage>

class QWebEngineNewWindowRequest;

// A page that never asks the user anything: script dialogs, file choosers, permissions,
// certificate questions and full-screen are all answered without a word (a sign-in nobody answers
// is cancelled by the engine), so no page can block the viewer. No page opens a window of its own:
// a link or a click that asks for a new window shows its page in this one, and a window a page asks
// for by itself opens nowhere. Local pages get no access to other local files. Back and Forward
// bring a local page back whole, whatever page lay between.
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
  bool acceptNavigationRequest(const QUrl& target, NavigationType type, bool isMainFrame) override;

 private:
  void RefuseRequests();
  void OpenHereWhenAsked(const QWebEngineNewWindowRequest& request);
  int HistoryIndexOf(const QUrl& url) const;
  void RestoreHistoryAt(int index);
};
