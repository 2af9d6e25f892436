// The records of an engine table that its type view shows, as a grid of the 36 columns: the
// model keeps only the line numbers of the visible records and reads each cell from the
// open table when a view asks for it.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "app/langtable.h"
#include "store/sdfdataset.h"

namespace qs {

class TEngineTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TEngineTableModel(TSdfDataSet& table, QObject* parent = nullptr);

  // The table's records, view or file changed: the visible lines are listed again.
  void Reload();
  // The row of a table line, or -1 when the view does not show it.
  int RowOfLine(int line) const;
  int LineOfRow(int row) const;

  void ApplyTable(const TLanguageTable& table);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  TSdfDataSet& table_;
  std::vector<int> lines_;
  std::vector<QString> captions_;
};

}  // namespace qs
