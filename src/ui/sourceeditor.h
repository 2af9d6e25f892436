// A plain-text editor for a document's source with the line numbers in a margin at its left
// and HTML syntax highlighting.
#pragma once

#include <QPlainTextEdit>

namespace qs {

class THtmlHighlighter;

class TSourceEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TSourceEditor(QWidget* parent = nullptr);

  // The margin's width for the current number of lines.
  int LineNumberWidth() const;
  QWidget* LineNumberArea() const { return lineNumbers_; }
  THtmlHighlighter* Highlighter() const { return highlighter_; }

  // Draws the visible lines' numbers (called by the margin).
  void PaintLineNumbers(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateMargin();
  void ScrollMargin(const QRect& rect, int dy);

  QWidget* lineNumbers_;
  THtmlHighlighter* highlighter_;
};

}  // namespace qs
