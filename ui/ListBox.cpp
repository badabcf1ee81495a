#include "ui/ListBox.h"

#include <QTimer>

namespace {

// The longest a change of selection waits to be drawn.
constexpr int kRepaintHoldLimitMs = 150;

}  // namespace

TListBox::TListBox(QWidget* parent) : QListView(parent), holdLimit_(new QTimer(this)) {
  holdLimit_->setSingleShot(true);
  holdLimit_->setInterval(kRepaintHoldLimitMs);
  connect(holdLimit_, &QTimer::timeout, this, &TListBox::ReleaseHeldRepaint);
}

void TListBox::ReleaseHeldRepaint() {
  holdLimit_->stop();
  viewport()->setUpdatesEnabled(true);
}

// Every selection the user makes goes through here: a command that would leave nothing selected
// (a click beside the entries, Ctrl+click or Ctrl+Space on the selected entry) does nothing.
QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
  const bool empties = command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
  return empties ? QItemSelectionModel::NoUpdate : command;
}

// Without a current entry the view moves every key to the first entry; End and Page Down count
// from the first entry instead.
QModelIndex TListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const bool countsFromFirst = action == MoveEnd || action == MovePageDown;
  if (countsFromFirst && !currentIndex().isValid() && model()->rowCount(rootIndex()) > 0) {
    selectionModel()->setCurrentIndex(model()->index(0, modelColumn(), rootIndex()),
                                      QItemSelectionModel::NoUpdate);
  }
  return QListView::moveCursor(action, modifiers);
}

// The view makes the first entry current when it takes the focus; with nothing selected that
// would mark an entry that is not chosen and stop the keys from reaching it.
void TListBox::focusInEvent(QFocusEvent* event) {
  QListView::focusInEvent(event);
  if (!selectionModel()->hasSelection()) selectionModel()->clearCurrentIndex();
}

void TListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  const bool entryChosen = selectionModel()->hasSelection();
  if (entryChosen && isVisible()) {
    viewport()->setUpdatesEnabled(false);
    if (!holdLimit_->isActive()) holdLimit_->start();
  }
  QListView::selectionChanged(selected, deselected);
  if (entryChosen) emit selectedEntryChanged();
}
