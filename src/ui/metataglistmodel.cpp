#include "ui/metataglistmodel.h"

namespace qs {

TMetaTagListModel::TMetaTagListModel(TMetaEditor& editor, const TMetaCatalogue& catalogue,
                                     QObject* parent)
    : QAbstractListModel(parent), editor_(editor), catalogue_(catalogue) {}

void TMetaTagListModel::ChecksChanged() {
  if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

int TMetaTagListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(editor_.TagCount());
}

QVariant TMetaTagListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || size_t(index.row()) >= editor_.TagCount()) return {};
  const size_t row = size_t(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(editor_.TagNameAt(row));
    case Qt::CheckStateRole:
      return editor_.Checked(row) ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole: {
      const std::string& hint = catalogue_.Tags()[row].hint;
      return hint.empty() ? QVariant() : QVariant(QString::fromStdString(hint));
    }
    default:
      return {};
  }
}

bool TMetaTagListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || size_t(index.row()) >= editor_.TagCount())
    return false;
  const int row = index.row();
  const bool checked = value.toInt() == Qt::Checked;
  auto toggle = [&] { editor_.ToggleCheck(row, checked); };
  if (guard)
    guard(toggle);
  else
    toggle();
  emit dataChanged(index, index, {Qt::CheckStateRole});
  emit checkToggled(row);
  return true;
}

Qt::ItemFlags TMetaTagListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace qs
