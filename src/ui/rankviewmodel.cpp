#include "ui/rankviewmodel.h"

namespace qs {

// A line's internal id is its node's index + 1; a node's is 0.

TRankViewModel::TRankViewModel(const TRankView& view, QObject* parent)
    : QAbstractItemModel(parent), view_(view), shown_(int(view.Nodes().size())) {}

void TRankViewModel::Cleared() {
  beginResetModel();
  shown_ = int(view_.Nodes().size());
  endResetModel();
}

void TRankViewModel::NodeAdded(size_t node) {
  const int now = int(view_.Nodes().size());
  if (int(node) < shown_ || now <= shown_) return Cleared();
  beginInsertRows({}, shown_, now - 1);
  shown_ = now;
  endInsertRows();
  emit nodeAdded(index(int(node), 0));
}

void TRankViewModel::NodeChanged(size_t node) {
  if (int(node) >= shown_) return;
  const QModelIndex parent = index(int(node), 0);
  emit dataChanged(index(0, 0, parent), index(kLines - 1, 0, parent));
}

QModelIndex TRankViewModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row < shown_ ? createIndex(row, 0, quintptr(0)) : QModelIndex();
  if (parent.internalId() != 0 || row >= kLines) return {};
  return createIndex(row, 0, quintptr(parent.row()) + 1);
}

QModelIndex TRankViewModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0) return {};
  return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int TRankViewModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return shown_;
  return parent.internalId() == 0 ? kLines : 0;
}

int TRankViewModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TRankViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const bool line = index.internalId() != 0;
  const size_t node = line ? size_t(index.internalId() - 1) : size_t(index.row());
  if (node >= view_.Nodes().size()) return {};
  const TRankNode& n = view_.Nodes()[node];
  if (!line) return QString::fromStdString(n.engine);
  switch (index.row()) {
    case 0: return QString::fromStdString(n.status);
    case 1: return QString::fromStdString(n.depth);
    default: return QString::fromStdString(n.results);
  }
}

}  // namespace qs
