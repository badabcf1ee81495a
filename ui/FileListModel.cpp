#include "ui/FileListModel.h"

#include "core/encoding.h"

void TFileListModel::Fill(std::vector<std::u16string> names) {
  beginResetModel();
  names_ = std::move(names);
  endResetModel();
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  return QString::fromStdU16String(core::ReadableText(Name(index.row())));
}
