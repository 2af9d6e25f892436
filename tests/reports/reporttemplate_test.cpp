// The report: cutting the template at its markers, the placeholders, the file it writes,
// the preview and the saved properties.
#include "reports/reporttemplate.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/clock.h"
#include "app/errors.h"
#include "app/settings.h"
#include "reports/reportproperties.h"
#include "store/biginifile.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TEST(ReportTemplate, CutsAtTheFirstMarkers) {
  const struct {
    const char* what;
    std::string text;
    bool hasRows;
    std::string head, row, tail;
  } cases[] = {
      {"markers on lines of their own", "H\r\n<!--STARTDATA-->\r\nR\r\n<!--ENDDATA-->\r\nT\r\n", true,
       "H\r\n", "\n<!--STARTDATA-->\r\nR\r\n<!--ENDDATA-->\r\n", "\r\nT\r\n"},
      {"beginning with the start marker", "<!--STARTDATA-->R<!--ENDDATA-->xyT", true, "",
       "<!--STARTDATA-->R<!--ENDDATA-->xy", "xyT"},
      {"end marker at the very end", "H<!--STARTDATA-->R<!--ENDDATA-->", true, "H",
       "H<!--STARTDATA-->R<!--ENDDATA-->", ""},
      {"second pair ignored", "a<!--STARTDATA-->1<!--ENDDATA-->b<!--STARTDATA-->2<!--ENDDATA-->", true,
       "a", "a<!--STARTDATA-->1<!--ENDDATA-->b<", "b<!--STARTDATA-->2<!--ENDDATA-->"},
      {"no markers", "H $ok T", false, "H $ok T", "", ""},
      {"only the start marker", "H<!--STARTDATA-->R", false, "H<!--STARTDATA-->R", "", ""},
      {"end before start", "H<!--ENDDATA-->R<!--STARTDATA-->T", false,
       "H<!--ENDDATA-->R<!--STARTDATA-->T", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TTemplatePieces p = TReportTemplate::Cut(c.text);
    EXPECT_EQ(p.hasRows, c.hasRows);
    EXPECT_EQ(p.head, c.head);
    EXPECT_EQ(p.row, c.row);
    EXPECT_EQ(p.tail, c.tail);
  }
}

TEST(ReportTemplate, LineEndsBecomeCrLf) {
  EXPECT_EQ(TReportTemplate::WithCrLf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(TReportTemplate::WithCrLf(""), "");
  EXPECT_EQ(TReportTemplate::WithCrLf("\n\n"), "\r\n\r\n");
}

TEST(ReportTemplate, RowsHeadAndTail) {
  const TTemplatePieces p = TReportTemplate::Cut(TReportTemplate::WithCrLf(
      "<h1>$webtitle|$webdesc|$border $cellpadding $cellspacing|$ok</h1>\n<!--STARTDATA-->\n"
      "<tr class=\"$band\">$id:$engname:$engurl:$engresult:$engdatetime:$engtype:$engcount</tr>\n"
      "<!--ENDDATA-->\n<p>$ok $engname</p>"));
  TReportHead head;
  head.ok = "OK 3";
  head.webTitle = "Title with $webdesc";
  head.webDesc = "Desc";
  const std::vector<TReportRow> rows{{"A", "http://a/", "OK", "d1", "ENGINE", "1"},
                                     {"B", "", "", "d2", "FFA", "2"},
                                     // Engine table values go in as HTML text.
                                     {"C<b>", "u?a=1&b=\"2\"", "Failed", "d3", "NETWORKS", "40"}};
  TReportSettings s;
  s.border = 3;
  const std::string out = TReportTemplate::Compose(p, head, rows, s);
  EXPECT_EQ(out,
            "<h1>Title with Desc|Desc|3 5 5|OK 3</h1>\r\n"
            "\n<!--STARTDATA-->\r\n<tr class=\"band2\">0:A:http://a/:OK:d1:ENGINE:1</tr>\r\n<!--ENDDATA-->\r\n"
            "\n<!--STARTDATA-->\r\n<tr class=\"band1\">1:B:::d2:FFA:2</tr>\r\n<!--ENDDATA-->\r\n"
            "\n<!--STARTDATA-->\r\n<tr class=\"band2\">2:C&lt;b&gt;:u?a=1&amp;b=&quot;2&quot;:Failed:d3:NETWORKS:40</tr>\r\n<!--ENDDATA-->\r\n"
            "\r\n<p>$ok $engname</p>\r\n");
  s.bands = false;
  EXPECT_EQ(TReportTemplate::Compose(p, head, rows, s).find("band"), std::string::npos);
  // Without markers: the head alone, placeholders replaced.
  EXPECT_EQ(TReportTemplate::Compose(TReportTemplate::Cut("x $ok y"), head, rows, s), "x OK 3 y\r\n");
}

TEST(ReportTemplate, TheStreamedReportIsTheComposedOne) {
  const std::string templates[] = {
      "<h1>$ok $webtitle</h1>\n<!--STARTDATA-->\n<tr class=\"$band\">$id $engname $engurl $engresult "
      "$engdatetime $engtype $engcount</tr>\n<!--ENDDATA-->\n<p>$failed</p>",
      "<!--STARTDATA-->$engname<!--ENDDATA-->",                 // no line end anywhere
      "H<!--STARTDATA-->R $engname<!--ENDDATA-->",              // ends with the row block
      "H $ok",                                                  // no markers: the head alone
      "",                                                       // nothing at all
      "H\n<!--STARTDATA-->\n$engname\n<!--ENDDATA-->\nT\n",  // already ends with a line end
  };
  TReportHead head;
  head.ok = "OK 3";
  head.failed = "Failed $engname";  // a value holding a placeholder stays as Compose leaves it
  head.webTitle = "T";
  const std::vector<std::vector<TReportRow>> rowSets = {
      {},
      {{"A", "http://a/", "OK", "8/12/2024 2:05:09 PM", "ENGINE", "1"}},
      {{"$engurl", "u", "Failed", "d", "FFA", "2"}, {"B", "", "", "", "NETWORKS", "40"}, {"C", "v", "OK", "d", "ENGINE", "1"}},
  };
  for (const bool bands : {true, false}) {
    TReportSettings settings;
    settings.bands = bands;
    for (const std::string& text : templates) {
      for (const auto& rows : rowSets) {
        SCOPED_TRACE(text + " / " + std::to_string(rows.size()) + " rows");
        const TTemplatePieces pieces = TReportTemplate::Cut(TReportTemplate::WithCrLf(text));
        std::string streamed;
        size_t pieceCount = 0;
        TReportTemplate::Stream(pieces, head, rows.size(), [&](size_t i) { return rows[i]; }, settings,
                                [&](std::string_view piece) {
                                  streamed.append(piece);
                                  ++pieceCount;
                                });
        EXPECT_EQ(streamed, TReportTemplate::Compose(pieces, head, rows, settings));
        if (pieces.hasRows) EXPECT_GE(pieceCount, rows.size());  // a piece per row, not one whole
      }
    }
  }
}

class ReportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("data/domains/report-template.htm",
              "<title>$domain $status</title>\n<!--STARTDATA-->\n<td>$engname $engresult</td>\n"
              "<!--ENDDATA-->\n<p>$weburl</p>\n");
    settings.templateFile = dir.Path("data/domains/report-template.htm");
    dir.Write("data/domains/projects/dom.example/_a_b.htm.zro",
              "[_a_b.htm]\r\nurl=http://dom.example/a/b.htm\r\ntitle=T\r\n");
  }
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TLanguageTable language;
  TReportSettings settings;
};

TEST_F(ReportFiles, AReportOfTheDayReplacesTheEarlierOne) {
  RunEntry e;
  e.domain = "dom.example";
  e.project = "/a/b.htm";
  e.lines[kStatusLine] = "Stopped";
  TReportWriter writer(folder, language, settings);
  const QDate day(2024, 8, 12);
  const std::string path = writer.WriteReport(e, {{"E1", "", "OK"}, {"E2", "", ""}}, day);
  EXPECT_EQ(path, dir.Path("data/domains/projects/dom.example/_a_b.htm8122024.htm"));
  EXPECT_EQ(dir.Read("data/domains/projects/dom.example/_a_b.htm8122024.htm"),
            "<title>dom.example [/a/b.htm] Stopped</title>\r\n"
            "\n<!--STARTDATA-->\r\n<td>E1 OK</td>\r\n<!--ENDDATA-->\r\n"
            "\n<!--STARTDATA-->\r\n<td>E2 </td>\r\n<!--ENDDATA-->\r\n"
            "\r\n<p>$weburl</p>\r\n");
  writer.WriteReport(e, {}, day);
  EXPECT_EQ(dir.Read("data/domains/projects/dom.example/_a_b.htm8122024.htm").find("E1"),
            std::string::npos);
}

TEST_F(ReportFiles, ALongReportIsWrittenAsComposed) {
  // More rows than one piece of the stream holds.
  RunEntry e;
  e.domain = "dom.example";
  e.project = "/a/b.htm";
  e.lines[kStatusLine] = "Done";
  std::vector<ActivityRow> rows(3000);
  std::vector<TReportRow> values;
  for (size_t i = 0; i < rows.size(); ++i) {
    rows[i].engine = "Engine " + std::to_string(i);
    rows[i].result = i % 7 ? "OK" : "Could not resolve to host";
    values.push_back({rows[i].engine, "", rows[i].result, "", "", ""});
  }
  const QDate day(2024, 8, 12);
  const std::string path = TReportWriter(folder, language, settings).WriteReport(e, rows, day);
  TReportHead head;
  head.status = "Done";
  head.domain = "dom.example [/a/b.htm]";
  head.webUrl = "http://dom.example/a/b.htm";
  head.webTitle = "T";
  const std::string expected = TReportTemplate::Compose(
      TReportTemplate::Cut(TReportTemplate::ReadTemplate(settings.templateFile)), head, values, settings);
  EXPECT_GT(expected.size(), 64u * 1024u);
  EXPECT_EQ(dir.Read("data/domains/projects/dom.example/_a_b.htm8122024.htm"), expected);
  EXPECT_EQ(path, dir.Path("data/domains/projects/dom.example/_a_b.htm8122024.htm"));
}

// A template setting may name anything: what is not a regular file of a sensible size is
// refused at once, without filling memory or waiting on a pipe.
TEST_F(ReportFiles, AnUnreadableTemplateWritesNothing) {
  dir.Write("big.htm", std::string(TReportTemplate::kMaxTemplateBytes + 1, 'x'));
  ASSERT_EQ(::mkfifo(dir.Path("pipe.htm").c_str(), 0600), 0);
  const struct {
    std::string file;
    const char* message;
  } cases[] = {
      {dir.Path("data/domains/none.htm"), "Cannot open file"},
      {"/dev/zero", "is not a regular file"},
      {dir.Path("pipe.htm"), "is not a regular file"},
      {dir.Path("data"), "is not a regular file"},
      {dir.Path("big.htm"), "is larger than 4194304 bytes"},
  };
  RunEntry e;
  e.domain = "dom.example";
  e.project = "/a/b.htm";
  for (const auto& c : cases) {
    settings.templateFile = c.file;
    TReportWriter writer(folder, language, settings);
    try {
      writer.WriteReport(e, {}, QDate(2024, 8, 12));
      ADD_FAILURE() << c.file;
    } catch (const IoError& x) {
      EXPECT_NE(std::string(x.what()).find(c.message), std::string::npos) << x.what();
    }
    EXPECT_THROW(writer.WritePreview(), IoError) << c.file;
  }
  EXPECT_FALSE(dir.Exists("data/domains/projects/dom.example/_a_b.htm8122024.htm"));
}

TEST_F(ReportFiles, PreviewWritesFiftySampleRows) {
  dir.Write("data/domains/report-template.htm",
            "$status|$databases|$total|$ok|$failed|$timeout|$domain|$weburl|$webtitle|$webdesc|"
            "$webkeys|$webcat\n<!--STARTDATA-->\n$id $engname $engresult $engtype $engcount $engdatetime $band\n"
            "<!--ENDDATA-->\n");
  clock::Fixed at(QDateTime(QDate(2024, 8, 12), QTime(14, 5, 9)));
  const std::string path = TReportWriter(folder, language, settings).WritePreview();
  EXPECT_EQ(path, dir.Path("testreport.htm"));
  const std::string text = dir.Read("testreport.htm");
  EXPECT_EQ(text.rfind("Status: <b>Submission Complete...</b>|Submits to: Engines,FFAs,Networks|"
                       "Total: 50|OK: 50|Failed: 0|Timeout: 0|Test Website [/index1.htm]|"
                       "http://www.testwebsite.com/index1.htm|Test Title|Test Description|"
                       "Test,Keywords|Business\r\n", 0), 0u);
  EXPECT_NE(text.find("0 Test Engine0 OK ENGINE 1 8/12/2024 2:05:09 PM band2\r\n"), std::string::npos);
  EXPECT_NE(text.find("49 Test Engine49 OK ENGINE 1 8/12/2024 2:05:09 PM band1\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Test Engine50"), std::string::npos);
}

TEST_F(ReportFiles, SavePropertiesIsOnFromAnEditUntilSaved) {
  TReportProperties props(folder, settings);
  EXPECT_FALSE(props.SaveEnabled());
  props.SetBorder(12);  // brought into 0 to 10
  props.SetBands(false);
  props.SetCellSpacing(0);
  EXPECT_TRUE(props.SaveEnabled());
  EXPECT_EQ(settings.border, 10);  // a report uses the value before it is saved
  props.Save();
  EXPECT_FALSE(props.SaveEnabled());
  TBiggerIniFile ini(dir.Path("dfd.ini"));
  TSettings read(ini, folder);
  EXPECT_EQ(read.Number(setting::kReportBorder), 10);
  EXPECT_EQ(read.Number(setting::kReportCellSpacing), 0);
  EXPECT_EQ(read.Number(setting::kReportCellPadding), 5);
  EXPECT_FALSE(read.Flag(setting::kReportBands));
  EXPECT_EQ(read.Text(setting::kReportTemplateFileKey), settings.templateFile);
  ini.Close();
  props.EditStarted();
  EXPECT_TRUE(props.SaveEnabled());
}

}  // namespace
}  // namespace qs
