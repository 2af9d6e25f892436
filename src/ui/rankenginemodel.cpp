#include "ui/rankenginemodel.h"

namespace qs {

TRankEngineModel::TRankEngineModel(TRankEngineList& engines, QObject* parent)
    : QAbstractListModel(parent), engines_(engines), shown_(int(engines.Count())) {}

void TRankEngineModel::Changed() {
  if (int(engines_.Count()) != shown_) {
    beginResetModel();
    shown_ = int(engines_.Count());
    endResetModel();
    return;
  }
  // Only check marks changed: the rows stay, and so do the selection and the scroll.
  if (shown_ > 0) emit dataChanged(index(0), index(shown_ - 1), {Qt::CheckStateRole});
}

int TRankEngineModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant TRankEngineModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || size_t(index.row()) >= engines_.Count()) return {};
  const size_t i = size_t(index.row());
  if (role == Qt::DisplayRole) return QString::fromStdString(engines_.Name(i));
  if (role == Qt::CheckStateRole) return engines_.Checked(i) ? Qt::Checked : Qt::Unchecked;
  return {};
}

bool TRankEngineModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || size_t(index.row()) >= engines_.Count())
    return false;
  engines_.SetChecked(size_t(index.row()), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags TRankEngineModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace qs
