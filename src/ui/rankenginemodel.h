// The ranking engine list (RankEngList) as a check list over the program's TRankEngineList:
// a check mark set in the view sets it in the list, and a refill or Select All shows at once.
#pragma once

#include <QAbstractListModel>

#include "ranking/rankenginelist.h"

namespace qs {

class TRankEngineModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit TRankEngineModel(TRankEngineList& engines, QObject* parent = nullptr);

  // The list was filled again or its check marks changed.
  void Changed();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  TRankEngineList& engines_;
  int shown_ = 0;
};

}  // namespace qs
