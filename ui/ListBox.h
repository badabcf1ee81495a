#pragma once

#include <QListView>

class QTimer;

// A single-selection list box whose selection the user moves but never empties: clicks on empty
// space, Ctrl+click on the selected entry and Ctrl+Space keep the selected entry. Only the program
// empties it, by refilling the list.
//
// With nothing selected no entry is current, so none looks marked, and the keys count from before
// the first entry: Down, Up, Home and Page Up reach the first entry, End the last one, Page Down
// the entry one page down from the first.
//
// When an entry becomes the selected one, the list draws its new selection once told that the
// entry's page has loaded, or after a short while: in a window that holds a browser view every
// repaint composes the whole window, and the page's first frame goes first.
class TListBox final : public QListView {
  Q_OBJECT

 public:
  explicit TListBox(QWidget* parent = nullptr);

  // Draws the list again if a change of selection held its repaint back.
  void ReleaseHeldRepaint();

 signals:
  // An entry became the selected one. Never raised for a selection that becomes empty.
  void selectedEntryChanged();

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void focusInEvent(QFocusEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  QTimer* holdLimit_;
};
