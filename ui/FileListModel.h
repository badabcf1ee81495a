#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

// The names shown by the file list, held as the exact names the file system returned. The list
// shows them readably (bytes that are not text appear as U+FFFD); the exact name is what the page
// display joins back onto the folder.
class TFileListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  // Replaces every entry in one batch; the names must already stand in the list's name order.
  void Fill(std::vector<std::u16string> names);

  const std::u16string& Name(int row) const { return names_.at(static_cast<std::size_t>(row)); }
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  std::vector<std::u16string> names_;
};
