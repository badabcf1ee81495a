#pragma once

#include <QListView>

// A single-selection list box whose selection the user moves but never empties: clicks on empty
// space, Ctrl+click on the selected entry and Ctrl+Space keep the selected entry. Only the program
// empties it, by refilling the list.
//
// With nothing selected no entry is current, so none looks marked, and the keys count from before
// the first entry: Down, Up, Home and Page Up reach the first entry, End the last one, Page Down
// the entry one page down from the first.
//
// An entry whose name the list's width cuts short has the whole name as its tool tip.
class TListBox final : public QListView {
  Q_OBJECT

 public:
  explicit TListBox(QWidget* parent = nullptr);

 signals:
  // An entry became the selected one. Never raised for a selection that becomes empty.
  void selectedEntryChanged();

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void focusInEvent(QFocusEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  bool viewportEvent(QEvent* event) override;

 private:
  bool ShowsWholeName(const QModelIndex& index) const;
};
