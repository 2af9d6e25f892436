// The HTML tools on a source text: Delete, Paste, Inject, Load File and Save As, Go through
// HttpMeta against a scripted loopback server, and the hand-off of Update meta info.
#include "metatags/metahtml.h"

#include <gtest/gtest.h>

#include "support/fakeconnection.h"

#include <QEventLoop>
#include <QTimer>

#include "app/errors.h"
#include "metafixture.h"
#include "metatags/metahtmleditor.h"
#include "metatags/metaupdate.h"
#include "support/scriptserver.h"

namespace qs {
namespace {

using test::MetaFolder;

TEST(MetaDelete, RemovesEveryMetaElementWithItsLineBreakAndTheFirstPlainTitle) {
  struct Case {
    const char *name, *source, *cleaned;
  } cases[] = {
      {"three metas, one over two lines, and a title",
       "<html><head>\r\n<title>Old</title>\r\n<meta name=\"a\" content=\"1\">\r\n"
       "<meta name=\"b\"\r\n content=\"2\">\r\n<meta name=c>\r\n</head></html>",
       "<html><head>\r\n\r\n</head></html>"},
      {"capitals", "<HEAD>\r\n<META NAME=\"A\" CONTENT=\"1\">\r\n<Meta x>\n</HEAD>",
       "<HEAD>\r\n</HEAD>"},
      {"title start tag with an attribute is kept",
       "<title lang=en>Kept</title>\r\n<meta a>\r\n", "<title lang=en>Kept</title>\r\n"},
      {"only one line break goes, a lone CR counts as one",
       "<meta a>\r\r\n<meta b>\n\nx", "\r\n\nx"},
      {"no closing bracket removes to the end", "keep<meta name=\"cut", "keep"},
      {"only the first title", "<TITLE>one</TITLE>|<title>two</title>", "|<title>two</title>"},
      {"a closing title before the start tag is no range",
       "</title>x<title>y", "</title>x<title>y"},
      {"a meta formed by the removal goes too", "<me<meta>ta>", ""},
      {"nothing to remove", "<p>plain</p>", "<p>plain</p>"},
  };
  for (const auto& c : cases) {
    const std::string out = DeleteMetaTags(c.source);
    EXPECT_EQ(out, c.cleaned) << c.name;
  }
}

TEST(MetaInsert, PasteAtTheCaretAndInjectAfterTheHeadStartTag) {
  const std::string block = AsLineBreaks("<META NAME=\"A\" CONTENT=\"1\">\r<TITLE>T</TITLE>\r");
  ASSERT_EQ(block, "<META NAME=\"A\" CONTENT=\"1\">\r\n<TITLE>T</TITLE>\r\n");
  struct PasteCase {
    size_t caret;
    const char* result;
    size_t caretAfter;
  } pastes[] = {
      {0, "B\r\nabc", 3},
      {3, "abcB\r\n", 6},
      {99, "abcB\r\n", 6},
      {1, "aB\r\nbc", 4},
  };
  for (const auto& c : pastes) {
    size_t caret = c.caret;
    EXPECT_EQ(InsertAt("abc", caret, "B\r\n"), c.result) << c.caret;
    EXPECT_EQ(caret, c.caretAfter);
  }
  struct InjectCase {
    const char *source, *result;
    bool injected;
  } injects[] = {
      {"<html><HEAD profile=\"x\"><title>t</title>",
       "<html><HEAD profile=\"x\">\r\nBLOCK<title>t</title>", true},
      {"<head>\r\n</head>", "<head>\r\nBLOCK\r\n</head>", true},
      {"<html><body>no head</body>", "<html><body>no head</body>", false},
      {"<head never closed", "<head never closed", false},
  };
  for (const auto& c : injects) {
    bool injected = !c.injected;
    EXPECT_EQ(InjectAfterHead(c.source, "BLOCK", &injected), c.result) << c.source;
    EXPECT_EQ(injected, c.injected);
  }
}

using test::FakeConnection;

class MetaHtmlEditorTest : public testing::Test {
 protected:
  MetaHtmlEditorTest()
      : f(test::kMetaCatalogue, "A=alpha\r\nAck=-1\r\nCck=-1\r\n"),
        editor(f.state, f.catalogue, answers, connection) {
    f.SelectProject();
  }
  MetaFolder f;
  TScriptedAnswerer answers;
  FakeConnection connection;
  TMetaHtmlEditor editor;
};

TEST_F(MetaHtmlEditorTest, PasteAndInjectTheProjectsBlockWithCrLf) {
  const std::string block =
      "<META NAME=\"A\" CONTENT=\"alpha\">\r\n<META HTTP-EQUIV=\"C\" CONTENT=\"\">\r\n";
  editor.SetSource("<html><Head>\r\n</head>", 0);
  editor.PasteMetaTags();
  EXPECT_EQ(editor.Source(), block + "<html><Head>\r\n</head>");
  editor.SetSource("<html><Head>\r\n</head>", 22);
  editor.PasteMetaTags();
  EXPECT_EQ(editor.Source(), "<html><Head>\r\n</head>" + block);
  editor.SetSource("<html><Head>\r\n</head>");
  editor.InjectMetaTags();
  EXPECT_EQ(editor.Source(), "<html><Head>\r\n" + block + "\r\n</head>");

  f.state.currentProjectKey.clear();  // no included tag: Inject puts only the line break
  editor.SetSource("<head></head>");
  editor.InjectMetaTags();
  EXPECT_EQ(editor.Source(), "<head>\r\n</head>");
  editor.PasteMetaTags();
  EXPECT_EQ(editor.Source(), "<head>\r\n</head>");
}

TEST_F(MetaHtmlEditorTest, LoadFileAndSaveAsRoundTripByteForByte) {
  const std::string doc = "<html>\r\n<head>\r\n<title>x</title>\r\n</head>\r\n\xC3\xA9\r\n</html>\r\n";
  f.dir.Write("in.html", doc);
  editor.ShowUrlBar();
  editor.LoadFile(f.dir.Path("in.html"));
  EXPECT_FALSE(editor.UrlBarVisible());
  EXPECT_EQ(editor.Source(), doc);
  editor.SaveAs(f.dir.Path("out.html"));
  EXPECT_EQ(f.dir.Read("out.html"), doc);
  // A file that cannot be read leaves the source as it was.
  EXPECT_THROW(editor.LoadFile(f.dir.Path("missing.html")), IoError);
  EXPECT_EQ(editor.Source(), doc);
  EXPECT_THROW(editor.SaveAs(f.dir.Path("no/such/folder/out.html")), IoError);
  EXPECT_EQ(DocumentFilter("All Files"),
            "*.htm *.html|*.htm;*.html|*.shtm *.shtml|*.shtm;*.shtml|*.asp|*.asp|*.php *.php3|"
            "*.php;*.php3|*.cfm|*.cfm|All Files|*.*");
}

TEST_F(MetaHtmlEditorTest, GoTakesWhateverBodyArrivedAndResetsTheBar) {
  const std::string page = "<html><head><meta name=x></head></html>";
  struct Case {
    const char* name;
    test::Script script;
    std::string source;
  } cases[] = {
      {"ok", {test::Write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + page),
              test::Close()}, page},
      {"error status, nothing with the header",
       {test::Write("HTTP/1.0 404 Not Found\r\n\r\n"), test::Pause(50), test::Write("late body"),
        test::Close()}, ""},
      {"connection reset", {test::Reset()}, ""},
  };
  for (auto& c : cases) {
    test::ScriptServer server({c.script});
    editor.SetSource("old");
    editor.ShowUrlBar();
    EXPECT_EQ(editor.UrlLabel(), "URL:");
    editor.SetMetaUrl(server.Base() + "/page.html");
    QEventLoop loop;
    editor.OnSourceLoaded = [&] { loop.quit(); };
    editor.Go();
    ASSERT_TRUE(editor.Loading()) << c.name;
    EXPECT_FALSE(editor.UrlFieldVisible());
    EXPECT_EQ(editor.UrlLabel(), "Connecting...");
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(editor.Loading()) << c.name;
    EXPECT_EQ(editor.Source(), c.source) << c.name;
    EXPECT_FALSE(editor.UrlBarVisible());
    EXPECT_TRUE(editor.UrlFieldVisible());
    EXPECT_EQ(editor.UrlLabel(), "URL:");
    if (c.source == page) {
      ASSERT_EQ(server.Requests().size(), 1u);
      const std::string request = server.Requests()[0];
      EXPECT_EQ(request.rfind("GET /page.html HTTP/1.0\r\n", 0), 0u) << request;
      EXPECT_NE(request.find("User-Agent: Mozilla/3.0 (compatible)\r\n"), std::string::npos);
      EXPECT_NE(request.find("Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"),
                std::string::npos);
    }
  }
}

TEST_F(MetaHtmlEditorTest, GoShowsTheByteCountWhileDownloading) {
  test::ScriptServer server({{test::Write("HTTP/1.0 200 OK\r\n\r\n12345"), test::Pause(30),
                              test::Write("678"), test::Close()}});
  editor.SetMetaUrl(server.Base() + "/");
  std::vector<std::string> seen;
  QEventLoop loop;
  editor.OnSourceLoaded = [&] { loop.quit(); };
  editor.Go();
  auto original = editor.HttpMeta().OnDocData;
  editor.HttpMeta().OnDocData = [&](THttpCli& c, const char* b, int n) {
    original(c, b, n);
    seen.push_back(editor.UrlLabel());
  };
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(seen, (std::vector<std::string>{"Downloading... 5", "Downloading... 8"}));
  EXPECT_EQ(editor.Source(), "12345678");
}

class RecordingHandOff : public IImportHandOff {
 public:
  void StartImport(std::string_view mode, const std::string& startUrl,
                   const TNewProjectRecord& record, const TSpiderOptions&) override {
    calls.push_back(std::string(mode) + " " + startUrl + " " + record.url);
  }
  std::vector<std::string> calls;
};

TEST_F(MetaHtmlEditorTest, NoConnectionStopsGoAndUpdateMetaInfoWithTheMessage) {
  connection.connected = false;
  editor.SetSource("kept");
  editor.Go();
  EXPECT_FALSE(editor.Loading());
  EXPECT_EQ(editor.Source(), "kept");
  RecordingHandOff import;
  EXPECT_FALSE(UpdateMetaInfo(f.state, "http://site.test/", answers, connection, import));
  EXPECT_TRUE(import.calls.empty());
  ASSERT_EQ(answers.Calls().size(), 2u);
  for (const auto& call : answers.Calls())
    EXPECT_EQ(call.text, "No internet connection was detected.");

  connection.connected = true;
  EXPECT_TRUE(UpdateMetaInfo(f.state, "http://site.test/a.html", answers, connection, import));
  EXPECT_EQ(import.calls,
            (std::vector<std::string>{"updateproject http://site.test/a.html http://site.test/a.html"}));
}

}  // namespace
}  // namespace qs
