#include "ui/FileListModel.h"

#include <stdexcept>

#include "core/encoding.h"

void TFileListModel::Fill(core::NameList names) {
  beginResetModel();
  names_ = std::move(names);
  endResetModel();
}

std::u16string TFileListModel::Name(int row) const {
  if (row < 0 || row >= rowCount()) throw std::out_of_range("No such entry in the file list.");
  return names_.Name(static_cast<std::size_t>(row));
}

std::optional<int> TFileListModel::RowNamed(std::u16string_view name) const {
  const std::optional<std::size_t> index = names_.Find(name);
  if (!index) return std::nullopt;
  return static_cast<int>(*index);
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(names_.Size());
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
  return QString::fromStdU16String(core::ReadableText(Name(index.row())));
}
