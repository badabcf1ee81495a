#pragma once

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>
#include <QWebEnginePage>

class QMouseEvent;
class QWebEngineProfile;
class QWebEngineView;

// The browser view's page area. It loads the pages it is given and keeps any page from taking the
// viewer over: a page whose renderer no longer answers is replaced (which ends that renderer), a
// renderer that dies is told of in a short notice, the context menu offers only what works here,
// and dialogs the engine's widget layer would open by itself (a colour picker) are answered unseen.
class TPageArea final : public QObject {
  Q_OBJECT

 public:
  TPageArea(QWebEngineView* view, QWebEngineProfile* profile);

  // Starts loading the URL, even when it is the one already shown.
  void Load(const QUrl& url);

  // Whether the area shows the notice of a renderer that stopped instead of a page.
  bool ShowsStoppedNotice() const { return stoppedNotice_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWebEnginePage* Page() const;
  QWebEnginePage* NewPage();
  void WatchAnswer(quint64 load);
  void ReplaceHungPage();
  void RendererStopped(QWebEnginePage::RenderProcessTerminationStatus status);
  void ShowContextMenu(const QPoint& position);
  void KeepFocusOutsideUntilLoaded();
  void PassOnPressOutsidePopup(QWidget* popup, const QMouseEvent* press);

  QWebEngineView* view_;
  QWebEngineProfile* profile_;
  QUrl requested_;
  quint64 loads_ = 0;
  bool answered_ = false;
  bool stoppedNotice_ = false;
  QPointer<QWidget> keptFocus_;
  // Hands the heap's free memory back off the window's thread: after a page that started and
  // dropped a great many loads, that is hundreds of megabytes and takes a noticeable moment.
  QThreadPool memoryReturner_;
};
