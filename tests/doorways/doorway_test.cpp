// The doorway page builder: the replacements in their order, colours, font sizes, the
// navigation, the redirect script, the preview file and Save As, and Save Properties with a
// reload through the start-up sequence.
#include "doorways/doorwaypage.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/summit.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TDoorwaySettings Defaults() {
  TDoorwaySettings d;
  TDoorwayPage::BuiltinBlocks(d);
  return d;
}

std::string Build(std::string_view text, const TDoorwaySettings& d, const TDoorwayProject& p,
                  int* incomplete = nullptr) {
  return BuildDoorwayPage(text, d, p, [&] {
    if (incomplete) ++*incomplete;
  });
}

TEST(DoorwayValues, DefaultsColoursAndFontSizes) {
  struct Case {
    const char *placeholder, *value;
  } cases[] = {
      {"$pagebg", "#000000"},    {"$background", "#FFFFFF"}, {"$bordercolor", "#C0C0C0"},
      {"$tcolor", "#FF0000"},    {"$bodycolor", "#000000"},  {"$tsize", "4"},
      {"$bodysize", "2"},        {"$tableborder", "1"},      {"$cellpadding", "5"},
      {"$cellspacing", "5"},     {"$tface", "Arial"},        {"$bodyface", "Arial"},
      {"$redirect", ""},
  };
  const TDoorwaySettings d = Defaults();
  TDoorwayProject p;
  p.title = "T";
  for (const auto& c : cases) EXPECT_EQ(Build(std::string("[") + c.placeholder + "]", d, p),
                                        std::string("[") + c.value + "]") << c.placeholder;
  EXPECT_EQ(ColourToHtml(0x00123456), "#563412");
  EXPECT_EQ(ColourToHtml(0xFF00FF00), "#00FF00");
  EXPECT_EQ(FontSizeToHtml(7), "-3");
}

TEST(DoorwayValues, ContentBlockCarriesTheLaterPlaceholders) {
  TDoorwaySettings d = Defaults();
  TDoorwayProject p{"http://s.test/", "http://s.test/", "Title!", "About it", "(c) me", "red,blue", ""};
  const std::string link = "<a href=\"http://s.test/\">http://s.test/</a>";
  EXPECT_EQ(Build("<h1>$header</h1>$content<p>$footer</p>", d, p),
            "<h1>Title!</h1>If you are searching for one or more of the topics below...\r\n"
            "red,blue\r\n"
            "Then look no further " + link + " has the topics you are looking for\r\n"
            "About it\r\n"
            "You will find our site " + link +
                " freindly to navigate and full of information on your topic.\r\n"
            "click here " + link + " if you are not automaticaly farwarded to our site<p>(c) me</p>");
  // Order: values inserted early are replaced later; values inserted late are not.
  d.header = "$tsize $metatags";
  p.metaTags = "$pagebg\r\n";
  p.keywords = "$header $title";
  EXPECT_EQ(Build("$header|$keywords", d, p), "4 #000000\r\n|$header $title");
}

TEST(DoorwayValues, NavigationFromTheKeywords) {
  const std::string u = "http://s.test/";
  auto link = [&](const std::string& t) { return "<a href=\"" + u + "\">" + t + "</a>"; };
  struct Case {
    const char* keywords;
    std::vector<std::string> items;
  } cases[] = {
      {"red, green", {"red", "green"}},
      {"one,two , three", {"one", "two ", "three"}},
      {"a,b,", {"a", "b", ""}},
      {"", {""}},
      {"  lone  ", {"lone"}},
  };
  for (const auto& c : cases) {
    std::string v, h = "|";
    for (const auto& item : c.items) v += link(item) + "<br>", h += " " + link(item) + " |";
    const TNavigation nav = Navigation(c.keywords, u);
    EXPECT_EQ(nav.vertical, v) << c.keywords;
    EXPECT_EQ(nav.horizontal, h) << c.keywords;
    TDoorwayProject p;
    p.title = "t";
    p.keywords = c.keywords;
    p.editorUrl = u;
    EXPECT_EQ(Build("$vnav/$hnav", Defaults(), p), v + "/" + h);
  }
}

TEST(DoorwayValues, RedirectOnlyForExactlyOn) {
  const std::string empty =
      "<SCRIPT LANGUAGE=\"JavaScript\" TYPE=\"text/javascript\">function Start(){brwName = "
      "navigator.appName; if (brwName == \"Netscape\" ){window.parent.location=\"\"} "
      "else{window.parent.location=\"\"}}</SCRIPT>";
  struct Case {
    const char *java, *url;
    std::string result;
  } cases[] = {
      {"ON", "", empty},
      {"ON", "http://a.test/",
       "<SCRIPT LANGUAGE=\"JavaScript\" TYPE=\"text/javascript\">function Start(){brwName = "
       "navigator.appName; if (brwName == \"Netscape\" ){window.parent.location=\"http://a.test/\"} "
       "else{window.parent.location=\"http://a.test/\"}}</SCRIPT>"},
      {"on", "http://a.test/", ""},
      {"OFF", "http://a.test/", ""},
  };
  for (const auto& c : cases) {
    TDoorwaySettings d = Defaults();
    d.java = c.java;
    TDoorwayProject p;
    p.title = "t";
    p.url = c.url;
    p.editorUrl = "http://other.test/";
    EXPECT_EQ(Build("$redirect", d, p), c.result) << c.java << " " << c.url;
  }
}

class DoorwayPageTest : public testing::Test {
 protected:
  DoorwayPageTest() {
    dir.Write("data/metatags.czc",
              "[Tags]\r\nTitle\r\nKeywords\r\n[Title]\r\ntype=NAME\r\n[Keywords]\r\ntype=NAME\r\n");
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\ns.test\r\n");
    dir.Write("data/domains/s.test.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write("data/domains/projects/s.test/Index.zro",
              "[Index]\r\nurl=http://s.test/\r\n[MetaTags]\r\nTitle=Hello\r\nTitleck=-1\r\n"
              "Keywords=a,b\r\nKeywordsck=-1\r\nCopyright=(c)\r\n");
    dir.Write("data/doorways/templates/template3.html",
              "<head>\n$metatags</head>\n<body bgcolor=\"$pagebg\">$title|$copyright|$hnav</body>");
    state.folder = dir.AppFolder();
    catalogue.Load(state.folder);
    state.doorway = Defaults();
    dir.Write("data/datam.czc", "");
  }
  test::TempFolder dir;
  TAppState state;
  TMetaCatalogue catalogue;
  TScriptedAnswerer answers;
  TDoorwayPage page{state, catalogue, answers};
};

TEST_F(DoorwayPageTest, PreviewWritesCrLfLinesAndSaveAsCopiesTheLastPreview) {
  state.currentDomain = "s.test";
  state.currentProjectKey = "Index";
  page.SelectTemplate(2);
  EXPECT_FALSE(page.SaveAsEnabled());
  page.SaveAs(dir.Path("early.html"));
  EXPECT_FALSE(dir.Exists("early.html"));
  page.Preview("http://s.test/");
  const std::string expected =
      "<head>\r\n<TITLE>Hello</TITLE>\r\n<META NAME=\"Keywords\" CONTENT=\"a,b\">\r\n</head>\r\n"
      "<body bgcolor=\"#000000\">Hello|(c)|| <a href=\"http://s.test/\">a</a> | "
      "<a href=\"http://s.test/\">b</a> |</body>\r\n";
  EXPECT_EQ(dir.Read("data/doorways/templates/temp.html"), expected);
  EXPECT_TRUE(answers.Calls().empty());
  EXPECT_TRUE(page.SaveAsEnabled());
  state.doorway.pageBgColor = 0x00FFFFFF;  // Save As keeps the preview, not the options
  page.SaveAs(dir.Path("out.html"));
  EXPECT_EQ(dir.Read("out.html"), expected);
}

TEST_F(DoorwayPageTest, NoTitleShowsMessage176OnceAndStillBuilds) {
  page.SelectTemplate(2);
  page.Preview("");
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text,
            "Your doorway page is incomplete. You need to create your metatags for the doorway "
            "page to be created properly.");
  EXPECT_EQ(answers.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_EQ(dir.Read("data/doorways/templates/temp.html"),
            "<head>\r\n</head>\r\n<body bgcolor=\"#000000\">||| <a href=\"\"></a> |</body>\r\n");
}

TEST_F(DoorwayPageTest, MissingTemplateStopsThePreviewAndKeepsTheOldOne) {
  dir.Write("data/doorways/templates/temp.html", "old preview");
  page.SelectTemplate(0);
  EXPECT_THROW(page.Preview(""), IoError);
  EXPECT_EQ(dir.Read("data/doorways/templates/temp.html"), "old preview");
  EXPECT_FALSE(page.SaveAsEnabled());
}

TEST_F(DoorwayPageTest, SavePropertiesThenStartUpRestoresEverything) {
  TDoorwaySettings& d = state.doorway;
  d = {3, 0x00010203, 0x00A0B0C0, 0x00112233, 7, 0, 18, "Times New Roman", 0x00FF0000, 9,
       "Verdana", 0x00008000, "ON", "Head line\r\n$title", "", "one\r\n\r\nthree"};
  page.SaveProperties();
  EXPECT_EQ(dir.Read("data/doorcontent.htm"), "");
  EXPECT_EQ(dir.Read("data/doorfooter.htm"), "one\r\n\r\nthree\r\n");
  const std::string ini = dir.Read("dfd.ini");
  EXPECT_NE(ini.find("bordercolor=00010203"), std::string::npos) << ini;

  TSummit summit(dir.AppFolder());
  TScriptedAnswerer startAnswers;
  summit.Start(startAnswers);  // stops later, at the engine tables this folder lacks
  const TDoorwaySettings& r = summit.state.doorway;
  EXPECT_EQ(r.border, 3);
  EXPECT_EQ(r.borderColor, 0x00010203u);
  EXPECT_EQ(r.pageBgColor, 0x00A0B0C0u);
  EXPECT_EQ(r.tableBgColor, 0x00112233u);
  EXPECT_EQ(r.cellPadding, 7);
  EXPECT_EQ(r.cellSpacing, 0);
  EXPECT_EQ(r.titleSize, 18);
  EXPECT_EQ(r.titleFace, "Times New Roman");
  EXPECT_EQ(r.titleColor, 0x00FF0000u);
  EXPECT_EQ(r.bodySize, 9);
  EXPECT_EQ(r.bodyFace, "Verdana");
  EXPECT_EQ(r.bodyColor, 0x00008000u);
  EXPECT_EQ(r.java, "ON");
  EXPECT_EQ(r.header, d.header);
  EXPECT_EQ(r.content, d.content);
  EXPECT_EQ(r.footer, d.footer);
  EXPECT_EQ(summit.metaCatalogue.Size(), 2u);

  TDoorwaySettings loaded;
  TDoorwayPage::LoadSettings(dir.AppFolder(), loaded);
  EXPECT_EQ(loaded.footer, d.footer);
  EXPECT_EQ(loaded.titleFace, "Times New Roman");
}

TEST_F(DoorwayPageTest, StartUpWithoutFilesGivesTheBuiltInBlocks) {
  TSummit summit(dir.AppFolder());
  TScriptedAnswerer startAnswers;
  summit.Start(startAnswers);
  const TDoorwaySettings builtin = Defaults();
  EXPECT_EQ(summit.state.doorway.header, "$title");
  EXPECT_EQ(summit.state.doorway.content, builtin.content);
  EXPECT_EQ(summit.state.doorway.footer, "$copyright");
  EXPECT_EQ(std::count(builtin.content.begin(), builtin.content.end(), '\n'), 5);
}

}  // namespace
}  // namespace qs
