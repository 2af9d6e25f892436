// Colours an HTML source as it is edited: tags with their names, attribute names, quoted
// attribute values, and comments, which may run over several lines.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace qs {

class THtmlHighlighter : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  explicit THtmlHighlighter(QTextDocument* document);

  // The formats, for tests and for a skin that wants other colours.
  const QTextCharFormat& TagFormat() const { return tag_; }
  const QTextCharFormat& AttributeFormat() const { return attribute_; }
  const QTextCharFormat& ValueFormat() const { return value_; }
  const QTextCharFormat& CommentFormat() const { return comment_; }

 protected:
  void highlightBlock(const QString& text) override;

 private:
  // Block states: what the end of a line leaves open for the next one.
  enum State { kText = 0, kComment = 1, kInTag = 2, kInDoubleQuoted = 3, kInSingleQuoted = 4 };

  QTextCharFormat tag_, attribute_, value_, comment_;
};

}  // namespace qs
