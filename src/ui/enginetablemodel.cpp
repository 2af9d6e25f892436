#include "ui/enginetablemodel.h"

#include <algorithm>

#include "engines/enginefields.h"

namespace qs {

TEngineTableModel::TEngineTableModel(TSdfDataSet& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  for (const TEngineColumn& c : EngineColumns()) captions_.push_back(QString::fromUtf8(c.name.data(), int(c.name.size())));
  Reload();
}

void TEngineTableModel::Reload() {
  beginResetModel();
  lines_ = table_.VisibleLines();
  endResetModel();
}

int TEngineTableModel::RowOfLine(int line) const {
  const auto it = std::lower_bound(lines_.begin(), lines_.end(), line);
  return it != lines_.end() && *it == line ? int(it - lines_.begin()) : -1;
}

int TEngineTableModel::LineOfRow(int row) const {
  return row >= 0 && size_t(row) < lines_.size() ? lines_[size_t(row)] : -1;
}

void TEngineTableModel::ApplyTable(const TLanguageTable& table) {
  size_t i = 0;
  for (const TEngineColumn& c : EngineColumns()) {
    // Columns the editor does not show have no caption of their own: their name stands.
    captions_[i++] = c.captionKey.empty() ? QString::fromUtf8(c.name.data(), int(c.name.size()))
                                          : QString::fromStdString(table.Lookup(c.captionKey));
  }
  emit headerDataChanged(Qt::Horizontal, 0, int(captions_.size()) - 1);
}

int TEngineTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(lines_.size());
}

int TEngineTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(captions_.size());
}

QVariant TEngineTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const int line = LineOfRow(index.row());
  if (line < 0) return {};
  return QString::fromStdString(table_.LineFieldText(line, index.column()));
}

QVariant TEngineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      size_t(section) >= captions_.size())
    return QAbstractTableModel::headerData(section, orientation, role);
  return captions_[size_t(section)];
}

}  // namespace qs
