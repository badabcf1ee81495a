#include "ui/ListBox.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>

namespace {

// A tool tip takes text that looks like markup as rich text; a file name is shown as written.
QString ToolTipText(const QString& name) {
  return Qt::mightBeRichText(name) ? Qt::convertFromPlainText(name, Qt::WhiteSpacePre) : name;
}

}  // namespace

TListBox::TListBox(QWidget* parent) : QListView(parent) {}

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
  QListView::selectionChanged(selected, deselected);
  if (selectionModel()->hasSelection()) emit selectedEntryChanged();
}

bool TListBox::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QListView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex index = indexAt(help->pos());
  if (index.isValid() && !ShowsWholeName(index)) {
    QToolTip::showText(help->globalPos(), ToolTipText(index.data().toString()), viewport(),
                       visualRect(index));
  } else {
    QToolTip::hideText();
  }
  return true;
}

// A name is drawn whole when it lies inside the list's width: a row narrower than its name ends it
// with "...", and a list scrolled sideways cuts off the start of names.
bool TListBox::ShowsWholeName(const QModelIndex& index) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const int nameStart = visualRect(index).left();
  const int nameWidth = itemDelegateForIndex(index)->sizeHint(option, index).width();
  return nameStart >= 0 && nameStart + nameWidth <= viewport()->width();
}
