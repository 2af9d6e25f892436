// The History panel's table over the ranking history: date, engine, keyword, best position
// and the change since the previous check of the same engine and keyword, the change with a
// green arrow up or a red arrow down.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>

#include "app/langtable.h"
#include "ranking/rankhistorylist.h"

namespace qs {

class TRankHistoryModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TRankHistoryModel(const TRankHistory& history, QObject* parent = nullptr);

  // The history was read again or another keyword chosen.
  void Reset();
  void ApplyTable(const TLanguageTable& table);

  static QColor UpColour() { return QColor(0, 140, 0); }
  static QColor DownColour() { return QColor(200, 0, 0); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TRankHistory& history_;
  int shown_ = 0;
  std::array<QString, TRankHistory::kColumns> captions_;
  QIcon up_, down_;
};

}  // namespace qs
