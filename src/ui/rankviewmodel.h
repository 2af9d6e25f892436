// The result tree of the Ranking page (RankView): one top-level row per engine the run has
// reached, each with its status, depth and results lines as HTML. Read from the run's own
// TRankView, which announces cleared, added and changed nodes.
#pragma once

#include <QAbstractItemModel>

#include "ranking/rankview.h"

namespace qs {

class TRankViewModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  static constexpr int kLines = 3;  // status, depth, results

  explicit TRankViewModel(const TRankView& view, QObject* parent = nullptr);

  // The view's events, forwarded by the page.
  void Cleared();
  void NodeAdded(size_t node);
  void NodeChanged(size_t node);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 signals:
  // A node was added; the tree shows it expanded.
  void nodeAdded(const QModelIndex& node);

 private:
  const TRankView& view_;
  int shown_ = 0;
};

}  // namespace qs
