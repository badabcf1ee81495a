#include "ui/page/FindBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <QStyle>
#include <QWebEngineFindTextResult>
#include <QWebEngineView>

#include "ui_FindBar.h"

TFindBar::TFindBar(QWebEngineView* view, QWidget* parent)
    : QFrame(parent), ui(std::make_unique<Ui::TFindBar>()), view_(view) {
  ui->setupUi(this);
  SetIcons();
  setFocusProxy(ui->edtFind);
  ui->edtFind->installEventFilter(this);
  connect(ui->edtFind, &QLineEdit::textChanged, this, [this] { Find({}); });
  connect(ui->btnFindNext, &QToolButton::clicked, this, &TFindBar::FindNext);
  connect(ui->btnFindPrevious, &QToolButton::clicked, this, &TFindBar::FindPrevious);
  connect(ui->btnFindClose, &QToolButton::clicked, this, &TFindBar::Close);
  new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &TFindBar::Close,
                Qt::WidgetWithChildrenShortcut);
  connect(view_, &QWebEngineView::loadFinished, this, &TFindBar::SearchNewPage);
  hide();
}

TFindBar::~TFindBar() = default;

// The desktop theme's icons where it has them, the style's own otherwise.
void TFindBar::SetIcons() {
  ui->btnFindPrevious->setIcon(
      QIcon::fromTheme(QStringLiteral("go-up"), style()->standardIcon(QStyle::SP_ArrowUp)));
  ui->btnFindNext->setIcon(
      QIcon::fromTheme(QStringLiteral("go-down"), style()->standardIcon(QStyle::SP_ArrowDown)));
  ui->btnFindClose->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                             style()->standardIcon(QStyle::SP_DialogCloseButton)));
}

// A bar that was closed searches its text again in the page shown now, or once that page has
// loaded.
void TFindBar::Open() {
  const bool closed = isHidden();
  TakeFocus();
  if (closed && !view_->page()->isLoading()) SearchAfresh();
}

void TFindBar::FindNext() {
  if (isHidden()) TakeFocus();
  Find({});
}

void TFindBar::FindPrevious() {
  if (isHidden()) TakeFocus();
  Find(QWebEnginePage::FindBackward);
}

void TFindBar::TakeFocus() {
  QWidget* focused = QApplication::focusWidget();
  if (focused != nullptr && !isAncestorOf(focused)) focusBefore_ = focused;
  show();
  ui->edtFind->setFocus(Qt::ShortcutFocusReason);
  ui->edtFind->selectAll();
}

void TFindBar::Close() {
  ++searches_;
  view_->page()->findText(QString());
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  if (!hadFocus) return;
  if (focusBefore_ != nullptr && focusBefore_->isVisible()) {
    focusBefore_->setFocus(Qt::OtherFocusReason);
  } else {
    view_->setFocus(Qt::OtherFocusReason);
  }
}

// Enter and Shift+Enter in the field move to the next and the previous match.
bool TFindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != ui->edtFind || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (key->modifiers() & Qt::ShiftModifier) {
    FindPrevious();
  } else {
    FindNext();
  }
  return true;
}

// Searching the same text again moves to the next match; an empty text clears the highlight.
void TFindBar::Find(QWebEnginePage::FindFlags direction) {
  const quint64 search = ++searches_;
  const QString text = ui->edtFind->text();
  if (text.isEmpty()) {
    ui->lblFindCount->clear();
    view_->page()->findText(QString());
    return;
  }
  const QPointer<TFindBar> self(this);
  view_->page()->findText(text, direction, [self, search](const QWebEngineFindTextResult& result) {
    if (self) self->ShowCount(search, result);
  });
}

// Only the latest search's answer counts: typing starts a search with every key.
void TFindBar::ShowCount(quint64 search, const QWebEngineFindTextResult& result) {
  if (search != searches_) return;
  ui->lblFindCount->setText(
      result.numberOfMatches() == 0
          ? tr("No matches")
          : tr("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
}

void TFindBar::SearchNewPage() {
  if (isVisible() && !ui->edtFind->text().isEmpty()) SearchAfresh();
}

// The engine takes a search for the text it searched last as a move to the next match; a search
// afresh starts from the top of the page shown now.
void TFindBar::SearchAfresh() {
  view_->page()->findText(QString());
  Find({});
}
