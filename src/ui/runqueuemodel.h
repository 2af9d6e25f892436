// The run queue as a tree: one node per entry (its display text) with its seven lines under
// it, read from the run's own queue. The lines carry HTML (bold status, the cancel link) for
// the HTML delegate.
#pragma once

#include <QAbstractItemModel>
#include <QTimer>
#include <vector>

#include "submit/runcontrol.h"

namespace qs {

class TRunQueueModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit TRunQueueModel(const TRunControl& run, QObject* parent = nullptr);

  // The queue changed: entries added or removed reset the tree; an entry whose state
  // changed is shown at once; lines that only count answers are shown at most every
  // kCountsMs (a run changes them with every answer).
  void Refresh();
  static constexpr int kCountsMs = 100;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 signals:
  // Entries came or went: the view expands every node again.
  void entriesReset();

 private:
  void AnnounceLines();

  const TRunControl& run_;
  int shownEntries_ = 0;
  std::vector<TEntryState> shownStates_;
  QTimer counts_;
};

}  // namespace qs
