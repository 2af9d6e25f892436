#include "ui/sourceeditor.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>

#include "ui/htmlhighlighter.h"

namespace qs {

namespace {

class TLineNumberArea : public QWidget {
 public:
  explicit TLineNumberArea(TSourceEditor* editor) : QWidget(editor), editor_(editor) {
    setObjectName(QStringLiteral("LineNumbers"));
  }
  QSize sizeHint() const override { return QSize(editor_->LineNumberWidth(), 0); }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintLineNumbers(event); }

 private:
  TSourceEditor* editor_;
};

}  // namespace

TSourceEditor::TSourceEditor(QWidget* parent) : QPlainTextEdit(parent) {
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  setFont(fixed);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  lineNumbers_ = new TLineNumberArea(this);
  highlighter_ = new THtmlHighlighter(document());
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateMargin(); });
  connect(this, &QPlainTextEdit::updateRequest, this, &TSourceEditor::ScrollMargin);
  UpdateMargin();
}

int TSourceEditor::LineNumberWidth() const {
  int digits = 1;
  for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
  digits = std::max(digits, 3);
  return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TSourceEditor::UpdateMargin() {
  setViewportMargins(LineNumberWidth(), 0, 0, 0);
  const QRect r = contentsRect();
  lineNumbers_->setGeometry(QRect(r.left(), r.top(), LineNumberWidth(), r.height()));
}

void TSourceEditor::ScrollMargin(const QRect& rect, int dy) {
  if (dy != 0)
    lineNumbers_->scroll(0, dy);
  else
    lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
  if (rect.contains(viewport()->rect())) UpdateMargin();
}

void TSourceEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  UpdateMargin();
}

void TSourceEditor::PaintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumbers_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.setFont(font());
  QTextBlock block = firstVisibleBlock();
  int number = block.blockNumber();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  int bottom = top + qRound(blockBoundingRect(block).height());
  const int width = lineNumbers_->width() - 4;
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible() && bottom >= event->rect().top())
      painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight,
                       QString::number(number + 1));
    block = block.next();
    top = bottom;
    bottom = top + qRound(blockBoundingRect(block).height());
    ++number;
  }
}

}  // namespace qs
