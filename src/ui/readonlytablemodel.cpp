#include "ui/readonlytablemodel.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace qs {

TReadOnlyTableModel::TReadOnlyTableModel(TRowCount rows, TCell cell,
                                         std::vector<const char*> captionKeys, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(std::move(rows)),
      cell_(std::move(cell)),
      keys_(std::move(captionKeys)),
      captions_(keys_.size()),
      shown_(int(rows_())) {}

void TReadOnlyTableModel::Appended() {
  const int now = int(rows_());
  if (now < shown_) return Reset();
  if (now == shown_) return;
  beginInsertRows({}, shown_, now - 1);
  shown_ = now;
  endInsertRows();
}

void TReadOnlyTableModel::Reset() {
  beginResetModel();
  shown_ = int(rows_());
  endResetModel();
}

bool TReadOnlyTableModel::IsLinkColumn(int column) const {
  return std::find(linkColumns_.begin(), linkColumns_.end(), column) != linkColumns_.end();
}

void TReadOnlyTableModel::ApplyTable(const TLanguageTable& table) {
  for (size_t c = 0; c < keys_.size(); ++c) captions_[c] = QString::fromStdString(table.Lookup(keys_[c]));
  if (!keys_.empty()) emit headerDataChanged(Qt::Horizontal, 0, int(keys_.size()) - 1);
}

int TReadOnlyTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int TReadOnlyTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(keys_.size());
}

QVariant TReadOnlyTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_ || size_t(index.row()) >= rows_()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(cell_(size_t(index.row()), index.column()));
    case Qt::ForegroundRole:
      if (IsLinkColumn(index.column())) return QGuiApplication::palette().brush(QPalette::Link);
      return {};
    case Qt::FontRole:
      if (IsLinkColumn(index.column())) {
        QFont font;
        font.setUnderline(true);
        return font;
      }
      return {};
    default:
      return {};
  }
}

QVariant TReadOnlyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      size_t(section) >= captions_.size())
    return QAbstractTableModel::headerData(section, orientation, role);
  return captions_[size_t(section)];
}

}  // namespace qs
