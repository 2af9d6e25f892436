// A read-only table over data a behaviour object keeps: the model holds no copy, it asks for
// the number of rows and for each cell's text when a view needs them, and is told when rows
// were appended or everything changed.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "app/langtable.h"

namespace qs {

class TReadOnlyTableModel : public QAbstractTableModel {
 public:
  using TRowCount = std::function<size_t()>;
  using TCell = std::function<std::string(size_t row, int column)>;

  // `captionKeys`: the language table key of each column's caption.
  TReadOnlyTableModel(TRowCount rows, TCell cell, std::vector<const char*> captionKeys,
                      QObject* parent = nullptr);

  // Rows were appended at the end.
  void Appended();
  // The rows changed as a whole.
  void Reset();
  // Cells of these columns are shown as links (blue, underlined).
  void SetLinkColumns(std::vector<int> columns) { linkColumns_ = std::move(columns); }
  bool IsLinkColumn(int column) const;
  std::string Cell(size_t row, int column) const { return cell_(row, column); }

  void ApplyTable(const TLanguageTable& table);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  TRowCount rows_;
  TCell cell_;
  std::vector<const char*> keys_;
  std::vector<QString> captions_;
  std::vector<int> linkColumns_;
  int shown_ = 0;
};

}  // namespace qs
