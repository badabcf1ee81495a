#include "ui/page/PageArea.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>

#include "platform/platform.h"
#include "ui/page/LocalFiles.h"
#include "ui/page/NoticePage.h"
#include "ui/page/SilentWebPage.h"

namespace {

// A renderer that has not answered a trivial script this long after a new page was asked for is
// taken as hung (a page looping in its script).
constexpr int kAnswerTimeoutMs = 1000;

bool IsAllowedInContextMenu(const QWebEnginePage& page, const QAction* action) {
  using Page = QWebEnginePage;
  static const Page::WebAction allowed[] = {
      Page::Back,
      Page::Forward,
      Page::Stop,
      Page::Reload,
      Page::Cut,
      Page::Copy,
      Page::Paste,
      Page::Undo,
      Page::Redo,
      Page::SelectAll,
      Page::PasteAndMatchStyle,
      Page::Unselect,
      Page::OpenLinkInThisWindow,
      Page::CopyLinkToClipboard,
      Page::CopyImageToClipboard,
      Page::CopyImageUrlToClipboard,
      Page::CopyMediaUrlToClipboard,
      Page::ToggleMediaControls,
      Page::ToggleMediaLoop,
      Page::ToggleMediaPlayPause,
      Page::ToggleMediaMute,
      Page::ExitFullScreen,
  };
  for (const Page::WebAction webAction : allowed) {
    if (page.action(webAction) == action) return true;
  }
  return false;
}

// Drops separators that separate nothing.
void TidySeparators(QMenu& menu) {
  QAction* previous = nullptr;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator() && (previous == nullptr || previous->isSeparator())) {
      menu.removeAction(action);
    } else {
      previous = action;
    }
  }
  if (previous != nullptr && previous->isSeparator()) menu.removeAction(previous);
}

// A press passed on by hand moves the keyboard focus as a click would.
void GiveClickFocus(QWidget* clicked) {
  for (QWidget* widget = clicked; widget != nullptr; widget = widget->parentWidget()) {
    if (widget->focusPolicy() & Qt::ClickFocus) return widget->setFocus(Qt::MouseFocusReason);
    if (widget->isWindow()) return;
  }
}

}  // namespace

TPageArea::TPageArea(QWebEngineView* view, QWebEngineProfile* profile)
    : QObject(view), view_(view), profile_(profile) {
  memoryReturner_.setMaxThreadCount(1);
  view_->setPage(NewPage());
  // The engine adds its drawing surface to the view when the page is first used. Used now, before
  // the window first appears, the window is made once with the kind of surface that drawing needs;
  // left to the engine, it happens after the window is on screen, and the window is destroyed and
  // made again (a flicker, and a window that vanishes under whoever looked it up).
  Page()->triggerAction(QWebEnginePage::NoWebAction);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, &TPageArea::ShowContextMenu);
  view_->installEventFilter(this);
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
    if (keptFocus_ && from == keptFocus_ && to != nullptr && view_->isAncestorOf(to))
      keptFocus_->setFocus();
  });
}

QWebEnginePage* TPageArea::Page() const { return view_->page(); }

QWebEnginePage* TPageArea::NewPage() {
  auto* page = new TSilentWebPage(profile_, view_);
  connect(page, &QWebEnginePage::renderProcessTerminated, this, &TPageArea::RendererStopped);
  connect(page, &QWebEnginePage::loadFinished, this, [this] {
    answered_ = true;
    keptFocus_.clear();
    // What the page left behind (its loads, however many it started and dropped) is freed by now.
    // One hand-back at a time; what one under way misses, the next load's hands back.
    memoryReturner_.tryStart(&platform::ReturnFreeMemory);
  });
  return page;
}

void TPageArea::Load(const QUrl& url) {
  requested_ = url;
  stoppedNotice_ = false;
  const bool rendererLive = Page()->renderProcessPid() > 0;
  Page()->load(url);
  if (rendererLive) WatchAnswer(++loads_);
}

// The renderer shows it is alive by answering a trivial script or by finishing the load.
void TPageArea::WatchAnswer(quint64 load) {
  answered_ = false;
  const QPointer<TPageArea> self(this);
  Page()->runJavaScript(QStringLiteral("0"), [self, load](const QVariant&) {
    if (self && self->loads_ == load) self->answered_ = true;
  });
  QTimer::singleShot(kAnswerTimeoutMs, this, [this, load] {
    if (loads_ == load && !answered_) ReplaceHungPage();
  });
}

// A fresh page takes over the view and the request; deleting the hung page ends its renderer.
void TPageArea::ReplaceHungPage() {
  QWebEnginePage* hung = Page();
  hung->disconnect(this);
  KeepFocusOutsideUntilLoaded();
  view_->setPage(NewPage());
  delete hung;
  Page()->load(requested_);
}

void TPageArea::RendererStopped(QWebEnginePage::RenderProcessTerminationStatus status) {
  if (status == QWebEnginePage::NormalTerminationStatus) return;
  stoppedNotice_ = true;
  KeepFocusOutsideUntilLoaded();
  // The notice loads in a new renderer once the engine has finished with the old one.
  QTimer::singleShot(0, this, [this, name = ShownName(Page()->url())] {
    if (!stoppedNotice_) return;
    Page()->setHtml(QString::fromUtf8(NoticePage(
        QStringLiteral("Page stopped"),
        name + QStringLiteral(" stopped: the browser engine's renderer that showed it crashed or "
                              "was ended (a page that uses too much memory ends this way). Choose "
                              "the page in the list to show it again."))));
  });
}

// A new renderer's widget takes the keyboard focus when it appears; focus that was elsewhere (on
// the list, most often) stays there until the next page has loaded.
void TPageArea::KeepFocusOutsideUntilLoaded() {
  QWidget* focused = QApplication::focusWidget();
  if (focused != nullptr && !view_->isAncestorOf(focused)) keptFocus_ = focused;
}

void TPageArea::ShowContextMenu(const QPoint& position) {
  QMenu* menu = view_->createStandardContextMenu();
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator() && !IsAllowedInContextMenu(*Page(), action))
      menu->removeAction(action);
  }
  TidySeparators(*menu);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (menu->actions().isEmpty()) {
    menu->close();
    return;
  }
  menu->popup(view_->mapToGlobal(position));
}

// The engine's widget layer opens its colour picker as a window-modal dialog of the view; it is
// answered with "cancel" before it ever shows. The dialog is polished as it is shown, after it was
// made modal: it is made modeless and kept off the screen, so that even while it waits for its
// answer it never holds the window's input (an unseen modal dialog outlives its hiding).
bool TPageArea::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && watched == QApplication::activePopupWidget()) {
    PassOnPressOutsidePopup(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
  }
  if (watched == view_ && event->type() == QEvent::ChildPolished) {
    auto* dialog = qobject_cast<QDialog*>(static_cast<QChildEvent*>(event)->child());
    if (dialog != nullptr) {
      dialog->setWindowModality(Qt::NonModal);
      dialog->setAttribute(Qt::WA_DontShowOnScreen);
      QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    }
  }
  return QObject::eventFilter(watched, event);
}

// A page's own popup (a <select>'s list) closes when a press falls outside it, as a menu does; the
// press then also goes to what lies under it once the popup is gone, so that a click on the list or
// the menu bar acts at once instead of only closing the popup.
void TPageArea::PassOnPressOutsidePopup(QWidget* popup, const QMouseEvent* press) {
  const QPoint onScreen = press->globalPosition().toPoint();
  if (popup->parentWidget() != view_ || popup->geometry().contains(onScreen)) return;
  const QPointer<QWidget> window = view_->window();
  QTimer::singleShot(0, this,
                     [window, onScreen, button = press->button(), buttons = press->buttons(),
                      modifiers = press->modifiers()] {
                       QWidget* target = QApplication::widgetAt(onScreen);
                       if (window == nullptr || target == nullptr || target->window() != window)
                         return;
                       GiveClickFocus(target);
                       QMouseEvent replay(QEvent::MouseButtonPress,
                                          target->mapFromGlobal(QPointF(onScreen)),
                                          QPointF(onScreen), button, buttons, modifiers);
                       QCoreApplication::sendEvent(target, &replay);
                     });
}
