#include "ui/htmlhighlighter.h"

namespace qs {

THtmlHighlighter::THtmlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  tag_.setForeground(QColor(0x00, 0x00, 0x99));
  tag_.setFontWeight(QFont::Bold);
  attribute_.setForeground(QColor(0x99, 0x33, 0x00));
  value_.setForeground(QColor(0x00, 0x77, 0x00));
  comment_.setForeground(QColor(0x80, 0x80, 0x80));
  comment_.setFontItalic(true);
}

void THtmlHighlighter::highlightBlock(const QString& text) {
  const int n = int(text.size());
  int state = previousBlockState() < 0 ? kText : previousBlockState();
  int i = 0;
  auto isNameChar = [](QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.';
  };
  while (i < n) {
    switch (state) {
      case kComment: {
        const int end = int(text.indexOf(QStringLiteral("-->"), i));
        const int stop = end < 0 ? n : end + 3;
        setFormat(i, stop - i, comment_);
        i = stop;
        if (end >= 0) state = kText;
        break;
      }
      case kText: {
        const int open = int(text.indexOf(u'<', i));
        if (open < 0) {
          i = n;
          break;
        }
        if (text.mid(open, 4) == QStringLiteral("<!--")) {
          state = kComment;
          setFormat(open, 4, comment_);
          i = open + 4;
          break;
        }
        // "<", an optional "/" or "!", and the element's name.
        int j = open + 1;
        if (j < n && (text[j] == u'/' || text[j] == u'!' || text[j] == u'?')) ++j;
        if (j >= n || !isNameChar(text[j])) {
          i = open + 1;  // a lone "<" in the text
          break;
        }
        while (j < n && isNameChar(text[j])) ++j;
        setFormat(open, j - open, tag_);
        i = j;
        state = kInTag;
        break;
      }
      case kInTag: {
        const QChar c = text[i];
        if (c == u'>') {
          setFormat(i, 1, tag_);
          ++i;
          state = kText;
        } else if (c == u'/' && i + 1 < n && text[i + 1] == u'>') {
          setFormat(i, 2, tag_);
          i += 2;
          state = kText;
        } else if (c == u'"' || c == u'\'') {
          state = c == u'"' ? kInDoubleQuoted : kInSingleQuoted;
          setFormat(i, 1, value_);
          ++i;
        } else if (isNameChar(c)) {
          int j = i;
          while (j < n && isNameChar(text[j])) ++j;
          // A name inside a tag is an attribute; an unquoted value right after "=" is a value.
          const bool preceded = i > 0 && text[i - 1] == u'=';
          setFormat(i, j - i, preceded ? value_ : attribute_);
          i = j;
        } else {
          ++i;
        }
        break;
      }
      case kInDoubleQuoted:
      case kInSingleQuoted: {
        const QChar quote = state == kInDoubleQuoted ? u'"' : u'\'';
        const int end = int(text.indexOf(quote, i));
        const int stop = end < 0 ? n : end + 1;
        setFormat(i, stop - i, value_);
        i = stop;
        if (end >= 0) state = kInTag;
        break;
      }
    }
  }
  setCurrentBlockState(state);
}

}  // namespace qs
