// The MetaTags page driven as a user drives it: typing a value in the creator with its
// counters and warnings, the include box and the list's check marks as the project file
// keeps them, Copy from project; the HTML editor's file commands with the source editor's
// caret, and Load URL against a scripted page on loopback with its label as it changes.
#include "ui/metatagspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include "store/biginifile.h"
#include "support/scriptserver.h"
#include "ui/desktopfixture.h"
#include "ui/htmlhighlighter.h"
#include "ui/importform.h"
#include "ui/ledcounter.h"
#include "ui/sourceeditor.h"

namespace qs::test {
namespace {

class MetaTagsPageTest : public DesktopTest {
 protected:
  void SetUp() override {
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.test\r\n");
    dir.Write("data/domains/site.test.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write(kProjectFile,
              "[Index]\r\nurl=http://www.site.test/\r\ntitle=The project's own title\r\n"
              "description=What the site is about\r\nkey1=red,green\r\n"
              "[MetaTags]\r\nTitle=Stored title\r\nTitleck=-1\r\nAuthor=Ada\r\nAuthorck=-1\r\n");
  }
  void TearDown() override { form.reset(); }
  TMetaTagsPage& OpenPage(TMetaPanel panel) {
    Open();
    form->resize(1100, 760);
    form->show();
    form->Command(panel == TMetaPanel::Creator ? "actMetaCreator" : "actMetaEditor")->trigger();
    EXPECT_EQ(form->CurrentPage(), TPage::MetaTags);
    EXPECT_EQ(Page().OpenedPanel(), panel);
    return Page();
  }
  TMetaTagsPage& Page() { return *form->MetaTagsPage(); }
  std::string Stored(const char* key) {
    TBigIniFile ini(dir.Path(kProjectFile));
    std::string value = ini.ReadText("MetaTags", key, "(none)");
    ini.Close();
    return value;
  }
  void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }
  void SelectTag(int row) {
    QListView* list = Page().TagList();
    list->setCurrentIndex(list->model()->index(row, 0));
  }
  static constexpr const char* kProjectFile = "data/domains/projects/site.test/Index.zro";
};

TEST_F(MetaTagsPageTest, TypingATitleCountsWarnsAndStoresItTheIncludeBoxAndCopyFromProject) {
  TMetaTagsPage& page = OpenPage(TMetaPanel::Creator);
  // The first tag of the catalogue is selected with the project's stored value and flag.
  EXPECT_EQ(page.TagList()->currentIndex().row(), 0);
  EXPECT_EQ(page.TagName()->text(), "Title");
  EXPECT_EQ(page.TagValue()->text(), "Stored title");
  EXPECT_TRUE(page.TagCheck()->isChecked());
  EXPECT_TRUE(page.MetaCopy()->isVisible());
  EXPECT_FALSE(page.TagName()->toolTip().isEmpty());  // the catalogue's hint

  page.TagValue()->clear();
  page.TagValue()->setFocus();
  QTest::keyClicks(page.TagValue(), QString(61, QLatin1Char('x')));
  EXPECT_EQ(page.CharCount()->intValue(), 61);
  EXPECT_FALSE(page.CharCount()->Green());
  EXPECT_EQ(page.Warnings()->text(), "Important! Title is to long");
  EXPECT_EQ(page.Hints()->text(), "Hint: Keep your Title length below 60 characters");
  EXPECT_EQ(page.TagView()->toPlainText(), "<TITLE>" + QString(61, QLatin1Char('x')) + "</TITLE>");
  EXPECT_EQ(Stored("Title"), std::string(61, 'x'));
  QTest::keyClick(page.TagValue(), Qt::Key_Backspace);
  EXPECT_EQ(page.CharCount()->intValue(), 60);
  EXPECT_TRUE(page.CharCount()->Green());
  EXPECT_EQ(page.Warnings()->text(), "None");

  // Description by the keyboard in the list, then its include box.
  page.TagList()->setFocus();
  QTest::keyClick(page.TagList(), Qt::Key_Down);
  EXPECT_EQ(page.TagName()->text(), "Description");
  EXPECT_FALSE(page.TagCheck()->isChecked());
  EXPECT_EQ(Stored("Descriptionck"), "(none)");
  Click(page.TagCheck());
  EXPECT_EQ(Stored("Descriptionck"), "-1");
  EXPECT_EQ(page.TagList()->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);

  // A check mark set in the list on another row keeps that row's flag.
  page.TagList()->model()->setData(page.TagList()->model()->index(3, 0), Qt::Unchecked,
                                   Qt::CheckStateRole);
  EXPECT_EQ(Stored("Authorck"), "0");
  EXPECT_EQ(page.TagName()->text(), "Description");

  // Copy from project, for Title: the project's own title becomes the value and is stored.
  SelectTag(0);
  EXPECT_EQ(page.TagValue()->text(), QString(60, QLatin1Char('x')));
  Click(page.MetaCopy());
  EXPECT_EQ(page.TagValue()->text(), "The project's own title");
  EXPECT_EQ(Stored("Title"), "The project's own title");
  EXPECT_EQ(page.Warnings()->text(), "Important! Title to short");

  // Author is no project field: no Copy from project.
  SelectTag(3);
  EXPECT_EQ(page.TagName()->text(), "Author");
  EXPECT_FALSE(page.MetaCopy()->isVisible());
  EXPECT_FALSE(page.TagCheck()->isChecked());
}

TEST_F(MetaTagsPageTest, AListTagIsPickedFromItsChoicesAndStored) {
  TMetaTagsPage& page = OpenPage(TMetaPanel::Creator);
  const int robots = 5;
  SelectTag(robots);
  ASSERT_EQ(page.TagName()->text(), "Robots");
  EXPECT_FALSE(page.TagValue()->isVisible());
  ASSERT_TRUE(page.TagValue2()->isVisible());
  EXPECT_GT(page.TagValue2()->count(), 3);
  const int noindex = page.TagValue2()->findText("noindex");
  ASSERT_GE(noindex, 0);
  page.TagValue2()->setFocus();
  page.TagValue2()->setCurrentIndex(noindex);
  emit page.TagValue2()->textActivated("noindex");
  EXPECT_EQ(Stored("Robots"), "noindex");
  EXPECT_EQ(page.TagView()->toPlainText(), "<META NAME=\"Robots\" CONTENT=\"noindex\">");
  // Typing in the pick list is an edit of the value as well.
  page.TagValue2()->lineEdit()->selectAll();
  QTest::keyClicks(page.TagValue2()->lineEdit(), "none");
  EXPECT_EQ(Stored("Robots"), "none");
  EXPECT_EQ(page.TagValue()->text(), "none");
}

TEST_F(MetaTagsPageTest, LoadDeleteInjectSaveAsWritesTheBlockAfterTheHeadTagWithCrLf) {
  TMetaTagsPage& page = OpenPage(TMetaPanel::Editor);
  // A document with LF line ends, three meta elements (one over two lines) and a title.
  dir.Write("in.html",
            "<html>\n<HEAD lang=\"en\">\n<meta name=\"a\" content=\"1\">\n<META\n name=\"b\">\n"
            "<meta charset=utf-8>\n<title>Old</title>\n</head>\n<body>Hi</body>\n</html>\n");
  QStringList titles;
  page.pickOpenFile = [&](const QString& title, const QString& filter) {
    titles << title;
    EXPECT_TRUE(filter.startsWith("*.htm *.html (*.htm *.html);;")) << filter.toStdString();
    EXPECT_TRUE(filter.endsWith(";;All Files (*)")) << filter.toStdString();
    return QString::fromStdString(dir.Path("in.html"));
  };
  page.pickSaveFile = [&](const QString& title, const QString&) {
    titles << title;
    return QString::fromStdString(dir.Path("out.html"));
  };
  Click(page.Button("LoadFile"));
  EXPECT_EQ(page.MetaSource()->blockCount(), 11);
  Click(page.Button("DeleteMetaTags"));
  EXPECT_FALSE(page.MetaSource()->toPlainText().contains("meta", Qt::CaseInsensitive));
  Click(page.Button("InjectMetaTags"));
  Click(page.Button("SaveAs"));
  EXPECT_EQ(titles, QStringList({"Inject Html Document", "Html Document"}));
  EXPECT_EQ(dir.Read("out.html"),
            "<html>\r\n<HEAD lang=\"en\">\r\n<TITLE>Stored title</TITLE>\r\n"
            "<META NAME=\"Author\" CONTENT=\"Ada\">\r\n\r\n\r\n</head>\r\n<body>Hi</body>\r\n"
            "</html>\r\n");

  // Paste goes in at the editor's caret; Cancel in the dialogs changes nothing.
  QTextCursor cursor = page.MetaSource()->textCursor();
  cursor.setPosition(page.MetaSource()->document()->findBlockByNumber(7).position());
  page.MetaSource()->setTextCursor(cursor);
  Click(page.Button("PasteMetaTags"));
  EXPECT_EQ(page.MetaSource()->document()->findBlockByNumber(7).text(),
            "<TITLE>Stored title</TITLE>");
  EXPECT_EQ(page.MetaSource()->document()->findBlockByNumber(9).text(), "<body>Hi</body>");
  page.pickOpenFile = [](const QString&, const QString&) { return QString(); };
  const QString before = page.MetaSource()->toPlainText();
  Click(page.Button("LoadFile"));
  EXPECT_EQ(page.MetaSource()->toPlainText(), before);

  // A file that cannot be read is reported and the source stays.
  page.pickOpenFile = [&](const QString&, const QString&) {
    return QString::fromStdString(dir.Path("missing.html"));
  };
  Click(page.Button("LoadFile"));
  EXPECT_EQ(page.MetaSource()->toPlainText(), before);
  ASSERT_FALSE(Messages().empty());
  EXPECT_NE(Messages().back().find("missing.html"), std::string::npos);
}

TEST_F(MetaTagsPageTest, LoadUrlShowsConnectingDownloadingThenUrlAndTheSourceHoldsThePage) {
  TMetaTagsPage& page = OpenPage(TMetaPanel::Editor);
  EXPECT_FALSE(page.UrlBar()->isVisible());
  Click(page.Button("LoadUrl"));
  ASSERT_TRUE(page.UrlBar()->isVisible());
  EXPECT_EQ(page.Label20()->text(), "URL:");

  ScriptServer server({{Write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html>\r\n<head>"),
                        Pause(40), Write("</head>\r\n</html>"), Close()}});
  QStringList seen;
  QEventLoop loop;
  TMetaHtmlEditor& html = form->MetaHtml();
  auto shown = html.OnUrlBarChanged;
  html.OnUrlBarChanged = [&] {
    shown();
    seen << page.Label20()->text() + (page.MetaGo()->isHidden() ? "" : " [Go]");
  };
  auto loaded = html.OnSourceLoaded;
  html.OnSourceLoaded = [&] {
    loaded();
    loop.quit();
  };
  QTest::keyClicks(page.MetaUrl(), QString::fromStdString(server.Base() + "/page.html"));
  QTest::keyClick(page.MetaUrl(), Qt::Key_Return);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  ASSERT_GE(seen.size(), 4);
  EXPECT_EQ(seen.front(), "Connecting...");
  EXPECT_EQ(seen[1], "Downloading... 14");
  EXPECT_EQ(seen[seen.size() - 2], "Downloading... 30");
  EXPECT_EQ(seen.back(), "URL: [Go]");
  EXPECT_EQ(page.MetaSource()->toPlainText(), "<html>\n<head></head>\n</html>");
  EXPECT_FALSE(page.UrlBar()->isVisible());
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].rfind("GET /page.html HTTP/1.0\r\n", 0), 0u);
}

TEST_F(MetaTagsPageTest, UpdateMetaInfoOpensTheImportMonitorOnlyWithAConnection) {
  // The project's own page is on loopback, where nothing answers.
  dir.Write(kProjectFile, "[Index]\r\nurl=http://127.0.0.1:1/\r\ntitle=T\r\n");
  TMetaTagsPage& page = OpenPage(TMetaPanel::Editor);
  internet.connected = false;
  Click(page.Button("UpdateMetaInfo"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"No internet connection was detected."});
  EXPECT_FALSE(form->ImportForm()->isVisible());
  EXPECT_FALSE(form->Import().Running());

  internet.connected = true;
  Click(page.Button("UpdateMetaInfo"));
  EXPECT_TRUE(form->ImportForm()->isVisible());
  EXPECT_EQ(form->Import().StartUrl(), "http://127.0.0.1:1/");
  form->Import().Stop();
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(MetaTagsPageTest, TheSourceIsHighlightedAndNumbered) {
  TMetaTagsPage& page = OpenPage(TMetaPanel::Editor);
  TSourceEditor* source = page.MetaSource();
  source->setPlainText("<a href=\"x\">text</a>\n<!-- one\ntwo -->\n<p>");
  QCoreApplication::processEvents();
  THtmlHighlighter* h = source->Highlighter();
  auto formatAt = [&](int line, int column) {
    const QTextBlock block = source->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
      if (column >= r.start && column < r.start + r.length) return r.format;
    return QTextCharFormat();
  };
  struct {
    int line, column;
    const QTextCharFormat& format;
  } cases[] = {
      {0, 0, h->TagFormat()},     {0, 1, h->TagFormat()},     {0, 3, h->AttributeFormat()},
      {0, 8, h->ValueFormat()},   {0, 11, h->TagFormat()},    {1, 5, h->CommentFormat()},
      {2, 0, h->CommentFormat()}, {2, 5, h->CommentFormat()}, {3, 1, h->TagFormat()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatAt(c.line, c.column).foreground(), c.format.foreground())
        << "line " << c.line << " column " << c.column;
  EXPECT_EQ(formatAt(0, 13).foreground(), QTextCharFormat().foreground());  // the text
  EXPECT_GE(source->LineNumberArea()->width(), source->fontMetrics().horizontalAdvance("999"));
}

}  // namespace
}  // namespace qs::test
