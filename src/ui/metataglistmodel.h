// The tag list of the MetaTag Creator (TagList) over the editor's catalogue: one row per tag
// in catalogue order with its include check mark; a check mark set in the view is the
// editor's ToggleCheck. The catalogue's hint is each row's tool tip.
#pragma once

#include <QAbstractListModel>
#include <functional>

#include "metatags/metaeditor.h"

namespace qs {

class TMetaTagListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  TMetaTagListModel(TMetaEditor& editor, const TMetaCatalogue& catalogue,
                    QObject* parent = nullptr);

  // The check marks changed (another project, the include box).
  void ChecksChanged();

  // Runs a change of the editor that may fail (the project file cannot be written).
  std::function<void(const std::function<void()>&)> guard;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // A check mark was set or cleared in the view.
  void checkToggled(int row);

 private:
  TMetaEditor& editor_;
  const TMetaCatalogue& catalogue_;
};

}  // namespace qs
