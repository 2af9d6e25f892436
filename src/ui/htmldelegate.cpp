#include "ui/htmldelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

namespace qs {

namespace {

void Prepare(QTextDocument& doc, const QString& html, const QFont& font) {
  doc.setDefaultFont(font);
  doc.setDocumentMargin(2);
  doc.setHtml(html);
}

}  // namespace

void THtmlDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QString html = opt.text;
  opt.text.clear();
  QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

  const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
  QTextDocument doc;
  Prepare(doc, html, opt.font);
  QAbstractTextDocumentLayout::PaintContext context;
  if (opt.state & QStyle::State_Selected)
    context.palette.setColor(QPalette::Text, opt.palette.color(QPalette::HighlightedText));
  painter->save();
  painter->translate(textRect.topLeft());
  painter->setClipRect(textRect.translated(-textRect.topLeft()));
  doc.documentLayout()->draw(painter, context);
  painter->restore();
}

QSize THtmlDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  QTextDocument doc;
  Prepare(doc, opt.text, opt.font);
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  return {static_cast<int>(doc.idealWidth()) + 8,
          std::max(size.height(), static_cast<int>(doc.size().height()))};
}

QString THtmlDelegate::AnchorAt(const QString& html, const QFont& font, QPointF pos) {
  QTextDocument doc;
  Prepare(doc, html, font);
  return doc.documentLayout()->anchorAt(pos);
}

bool THtmlDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const QString href =
        AnchorAt(opt.text, opt.font, mouse->position() - QPointF(textRect.topLeft()));
    if (!href.isEmpty()) {
      emit linkActivated(href, index);
      return true;
    }
  }
  return QStyledItemDelegate::editorEvent(event, model, option, index);
}

}  // namespace qs
