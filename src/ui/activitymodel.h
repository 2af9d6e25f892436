// The engine activity list: one row per visited engine record of the current entry, read
// from the run's own rows. The run announces each row as it is made and as it is decided.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QTimer>
#include <array>

#include "app/langtable.h"
#include "submit/runcontrol.h"

namespace qs {

class TActivityModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum TColumn { kEngines, kUrl, kResult, kDate, kType, kColumns };

  explicit TActivityModel(const TRunControl& run, QObject* parent = nullptr);

  // The run's events, forwarded by the page. New and decided rows are announced to the
  // views together at most every kFlushMs, so that a run answering thousands of engines a
  // second does not draw the list thousands of times a second.
  void RowAdded(size_t row);
  void RowDecided(size_t row);
  void RowsCleared();
  // Announces what is pending now.
  void Flush();
  static constexpr int kFlushMs = 50;

  void ApplyTable(const TLanguageTable& table);
  // The picture of a row's state (none, under way, OK, timed out, failed, skipped).
  static QIcon StateIcon(TRowImage image);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TRunControl& run_;
  int shown_ = 0;    // rows announced to the views so far
  int added_ = 0;    // rows the run has made so far
  int decidedFirst_ = -1, decidedLast_ = -1;  // announced rows decided since the last flush
  QTimer flush_;
  std::array<QString, kColumns> captions_;
};

}  // namespace qs
