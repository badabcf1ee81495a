#pragma once

#include <QAbstractListModel>
#include <optional>
#include <string>

#include "core/name_list.h"

// The names shown by the file list, held as the exact names the file system returned, packed.
// A name is decoded only when it is read: the list asks for the rows it draws. The list shows
// names readably (bytes that are not text appear as U+FFFD); the exact name is what the page
// display joins back onto the folder.
class TFileListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  // Replaces every entry in one batch; the names must already stand in the list's name order.
  void Fill(core::NameList names);

  std::u16string Name(int row) const;
  // The row whose name is exactly `name`.
  std::optional<int> RowNamed(std::u16string_view name) const;
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  core::NameList names_;
};
