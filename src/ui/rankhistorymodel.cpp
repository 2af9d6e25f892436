#include "ui/rankhistorymodel.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace qs {

namespace {

QIcon Arrow(bool up, const QColor& colour) {
  QPixmap picture(12, 12);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  const QPolygonF shape = up ? QPolygonF({{6, 1}, {11, 10}, {1, 10}})
                             : QPolygonF({{1, 2}, {11, 2}, {6, 11}});
  painter.drawPolygon(shape);
  return QIcon(picture);
}

}  // namespace

TRankHistoryModel::TRankHistoryModel(const TRankHistory& history, QObject* parent)
    : QAbstractTableModel(parent),
      history_(history),
      shown_(int(history.Rows().size())),
      up_(Arrow(true, UpColour())),
      down_(Arrow(false, DownColour())) {}

void TRankHistoryModel::Reset() {
  beginResetModel();
  shown_ = int(history_.Rows().size());
  endResetModel();
}

void TRankHistoryModel::ApplyTable(const TLanguageTable& table) {
  const char* keys[TRankHistory::kColumns] = {"427", "428", "429", "430", "431"};
  for (int c = 0; c < TRankHistory::kColumns; ++c)
    captions_[size_t(c)] = QString::fromStdString(table.Lookup(keys[c]));
  emit headerDataChanged(Qt::Horizontal, 0, TRankHistory::kColumns - 1);
}

int TRankHistoryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int TRankHistoryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : TRankHistory::kColumns;
}

QVariant TRankHistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_ || size_t(index.row()) >= history_.Rows().size())
    return {};
  const size_t row = size_t(index.row());
  const bool change = index.column() == TRankHistory::kChange;
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(history_.Cell(row, index.column()));
    case Qt::ToolTipRole:
      if (index.column() == TRankHistory::kBest)
        return QString::fromStdString(history_.CheckOf(row).resultUrl);
      return {};
    case Qt::ForegroundRole:
      if (!change || history_.Direction(row) == 0) return {};
      return history_.Direction(row) > 0 ? UpColour() : DownColour();
    case Qt::DecorationRole:
      if (!change || history_.Direction(row) == 0) return {};
      return history_.Direction(row) > 0 ? up_ : down_;
    case Qt::TextAlignmentRole:
      if (index.column() == TRankHistory::kBest || change)
        return int(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

QVariant TRankHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= TRankHistory::kColumns)
    return QAbstractTableModel::headerData(section, orientation, role);
  return captions_[size_t(section)];
}

}  // namespace qs
