// Draws the HTML of list, tree and grid items (bold, font colours, links with their href), as
// the status texts of the program carry it, and reports a click on a link.
#pragma once

#include <QStyledItemDelegate>

namespace qs {

class THtmlDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

  // The href of the link at `pos` (in the item's own coordinates), or an empty text.
  static QString AnchorAt(const QString& html, const QFont& font, QPointF pos);

 signals:
  void linkActivated(const QString& href, const QModelIndex& index);
};

}  // namespace qs
