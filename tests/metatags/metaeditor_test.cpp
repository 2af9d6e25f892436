// The meta tag catalogue, the tag line and block, and the editor: counts, warnings, hints,
// what is stored when, the check marks and Copy from project.
#include "metatags/metaeditor.h"

#include <gtest/gtest.h>

#include "metatags/metatagblock.h"
#include "projects/projecteditor.h"
#include "metafixture.h"

namespace qs {
namespace {

using test::MetaFolder;
using test::kMetaCatalogue;

TEST(MetaCatalogue, TagsInFileOrderChoicesUntrimmedMissingFileEmpty) {
  MetaFolder f(kMetaCatalogue);
  ASSERT_EQ(f.catalogue.Size(), 7u);
  const char* names[] = {"Title", "Description", "Keywords", "Robots", "A", "B", "C"};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(f.catalogue.Tags()[i].name, names[i]);
  EXPECT_EQ(f.catalogue.Tags()[5].type, "HTTP-EQUIV");
  EXPECT_EQ(f.catalogue.Tags()[0].hint, "Title hint");
  EXPECT_EQ(TMetaCatalogue::Choices("index, follow,none"),
            (std::vector<std::string>{"index", " follow", "none"}));
  EXPECT_EQ(TMetaCatalogue::Choices("red, green"), (std::vector<std::string>{"red", " green"}));

  TMetaCatalogue missing;
  missing.Load(f.dir.Path("data/nothing.czc"));
  EXPECT_EQ(missing.Size(), 0u);
}

TEST(MetaTagLine, TitleOnlyForExactNameOtherwiseMetaWithValueUnchanged) {
  struct Case {
    const char *name, *value, *type, *line;
  } cases[] = {
      {"Title", "My page", "NAME", "<TITLE>My page</TITLE>"},
      {"title", "My page", "NAME", "<META NAME=\"title\" CONTENT=\"My page\">"},
      {"TITLE", "x", "NAME", "<META NAME=\"TITLE\" CONTENT=\"x\">"},
      {"Content-Type", "text/html", "HTTP-EQUIV",
       "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html\">"},
      {"A", "say \"hi\" & <b>", "NAME", "<META NAME=\"A\" CONTENT=\"say \"hi\" & <b>\">"},
      {"A", "", "", "<META =\"A\" CONTENT=\"\">"},
  };
  for (const auto& c : cases) EXPECT_EQ(TagLine(c.name, c.value, c.type), c.line) << c.name;
}

TEST(MetaTagBlock, IncludedTagsInListOrderEachEndedByCarriageReturn) {
  struct Case {
    const char* metaTags;
    const char* block;
  } cases[] = {
      {"A=alpha\r\nAck=-1\r\nB=beta\r\nBck=0\r\nC=gamma\r\nCck=-1\r\n",
       "<META NAME=\"A\" CONTENT=\"alpha\">\r<META HTTP-EQUIV=\"C\" CONTENT=\"gamma\">\r"},
      // Stored in another order, included by any number but 0; a value missing is empty.
      {"Cck=1\r\nAck=-1\r\nTitle=T\r\n", "<META NAME=\"A\" CONTENT=\"\">\r<META HTTP-EQUIV=\"C\" CONTENT=\"\">\r"},
      {"Title=Hello\r\nTitleck=-1\r\nBck=x\r\nCck=\r\n", "<TITLE>Hello</TITLE>\r"},
      {"A=alpha\r\n", ""},
  };
  for (const auto& c : cases) {
    MetaFolder f(kMetaCatalogue, c.metaTags);
    const TDomainStore store(f.state.folder);
    EXPECT_EQ(MetaTagBlock(f.catalogue, store, test::kMetaDomain, test::kMetaProject), c.block)
        << c.metaTags;
    EXPECT_EQ(MetaTagBlock(f.catalogue, store, "", ""), "");
  }
}

class MetaEditorTest : public testing::Test {
 protected:
  MetaEditorTest() : f(kMetaCatalogue, "Titleck=-1\r\nRobots=none\r\nRobotsck=0\r\nCck=-1\r\n") {
    f.SelectProject();
  }
  int IndexOf(const char* name) { return f.catalogue.IndexOf(name); }
  MetaFolder f;
  TMetaEditor editor{f.state, f.catalogue};
};

TEST_F(MetaEditorTest, CountsWarningsAndHintsByTheTagsRules) {
  const std::string s29(29, 'x'), s30(30, 'x'), s60(60, 'x'), s61(61, 'x');
  std::string accented;  // 40 two-byte letters
  for (int i = 0; i < 40; ++i) accented += "\xC3\xA9";
  struct Case {
    const char* tag;
    std::string value;
    TMetaCount chars, words;
    const char *warnings, *hints;
  } cases[] = {
      {"Title", s29, {29, false}, {1, false}, "Important! Title to short",
       "Hint: Keep your Title length above 30 characters"},
      {"Title", s30, {30, false}, {1, false}, "None", "None"},
      {"Title", s60, {60, false}, {1, false}, "None", "None"},
      {"Title", s61, {61, true}, {1, false}, "Important! Title is to long",
       "Hint: Keep your Title length below 60 characters"},
      {"Title", "", {0, false}, {0, false}, "Important! Title to short",
       "Hint: Keep your Title length above 30 characters"},
      {"A", "", {0, false}, {0, false}, "None", "None"},
      {"Keywords", "a,b c,d,e", {9, false}, {4, false}, "Important! Keywords to short",
       "Hint: Keep your Keywords length above 100 characters"},
      {"Description", "one two three four", {18, false}, {4, false},
       "Important! Description to short", "Hint: Keep your Description length above 60 characters"},
      {"A", std::string(251, ' '), {251, true}, {252, true}, "Important! A is to long",
       "Hint: Keep your A length below 250 characters"},
      // Characters, not bytes: 40 two-byte letters are 40 characters.
      {"Title", accented, {40, false}, {1, false}, "None", "None"},
  };
  for (const auto& c : cases) {
    editor.SelectTag(IndexOf(c.tag));
    editor.EditValue(c.value);
    EXPECT_EQ(editor.CharCount(), c.chars) << c.tag << " " << c.value.size();
    EXPECT_EQ(editor.WordCount(), c.words) << c.tag << " " << c.value.size();
    EXPECT_EQ(editor.Warnings(), c.warnings) << c.tag << " " << c.value.size();
    EXPECT_EQ(editor.Hints(), c.hints) << c.tag << " " << c.value.size();
  }
}

TEST_F(MetaEditorTest, ProjectSelectedSetsCheckMarksAndShowsTheFirstTagWithoutStoring) {
  const std::string before = f.dir.Read(MetaFolder::ProjectFile());
  editor.ProjectSelected();
  const bool expected[] = {true, false, false, false, false, false, true};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(editor.Checked(i), expected[i]) << i;
  EXPECT_EQ(editor.Selected(), 0);
  EXPECT_EQ(editor.TagName(), "Title");
  EXPECT_TRUE(editor.TagCheck());
  EXPECT_EQ(editor.TagView(), "<TITLE></TITLE>");
  EXPECT_TRUE(editor.MetaCopyVisible());
  EXPECT_EQ(editor.TagHint(), "Title hint");

  editor.SelectTag(IndexOf("Robots"));
  EXPECT_TRUE(editor.PickList());
  EXPECT_EQ(editor.Choices(), (std::vector<std::string>{"index", " follow", "none"}));
  EXPECT_EQ(editor.Value(), "none");
  EXPECT_FALSE(editor.TagCheck());
  EXPECT_FALSE(editor.MetaCopyVisible());
  EXPECT_EQ(editor.TagView(), "<META NAME=\"Robots\" CONTENT=\"none\">");
  // A content that is neither text nor list leaves the editor as it was.
  editor.SelectTag(IndexOf("B"));
  EXPECT_TRUE(editor.PickList());
  editor.SelectTag(IndexOf("C"));
  EXPECT_FALSE(editor.PickList());
  EXPECT_EQ(f.dir.Read(MetaFolder::ProjectFile()), before);
}

TEST_F(MetaEditorTest, AnEditStoresTheValueThenTheFlag) {
  editor.ProjectSelected();
  editor.SelectTag(IndexOf("A"));
  editor.EditValue("first");
  EXPECT_EQ(f.Stored("A"), "first");
  EXPECT_EQ(f.Stored("Ack"), "0");
  editor.ClickTagCheck(true);
  EXPECT_EQ(f.Stored("Ack"), "-1");
  editor.PickValue("second");
  EXPECT_EQ(f.Stored("A"), "second");
  EXPECT_EQ(editor.TagView(), "<META NAME=\"A\" CONTENT=\"second\">");
  const std::string text = f.dir.Read(MetaFolder::ProjectFile());
  EXPECT_LT(text.find("A=second"), text.find("Ack=-1"));
}

TEST_F(MetaEditorTest, UncheckedStaysUncheckedAcrossAnotherProject) {
  editor.ProjectSelected();
  editor.SelectTag(IndexOf("C"));
  editor.ToggleCheck(IndexOf("C"), false);
  EXPECT_FALSE(editor.TagCheck());
  EXPECT_EQ(f.Stored("Cck"), "0");
  f.state.currentProjectKey.clear();
  editor.ProjectSelected();
  EXPECT_FALSE(editor.Checked(0));
  f.SelectProject();
  editor.ProjectSelected();
  EXPECT_FALSE(editor.Checked(static_cast<size_t>(IndexOf("C"))));
  EXPECT_TRUE(editor.Checked(0));
}

TEST_F(MetaEditorTest, ToggledLineStoresItsOwnFlagWhicheverTagIsSelected) {
  editor.ProjectSelected();
  editor.ToggleCheck(IndexOf("B"), true);
  EXPECT_EQ(f.Stored("Bck"), "-1");
  EXPECT_EQ(f.Stored("Titleck"), "-1");
  EXPECT_TRUE(editor.TagCheck());  // Title, still selected, is untouched
}

TEST_F(MetaEditorTest, NoProjectShowsNothingAndStoresNothing) {
  f.state.currentProjectKey.clear();
  const std::string before = f.dir.Read(MetaFolder::ProjectFile());
  editor.ProjectSelected();
  editor.SelectTag(IndexOf("A"));
  EXPECT_EQ(editor.TagName(), "");
  editor.EditValue("typed");
  editor.ClickTagCheck(true);
  editor.ToggleCheck(2, true);
  EXPECT_EQ(f.dir.Read(MetaFolder::ProjectFile()), before);
}

TEST_F(MetaEditorTest, CopyFromProjectByTheTagsNameIsStored) {
  TScriptedAnswerer answers;
  TProjectEditor project(f.state, answers);
  project.LoadDomains();
  ASSERT_TRUE(project.ProjectLoaded());
  editor.ProjectSelected();
  struct Case {
    const char *tag, *value;
  } cases[] = {{"Title", "Project title"},
               {"Description", "Project description"},
               {"Keywords", "red, green"}};
  for (const auto& c : cases) {
    editor.SelectTag(IndexOf(c.tag));
    EXPECT_TRUE(editor.MetaCopyVisible()) << c.tag;
    editor.CopyFromProject(project);
    EXPECT_EQ(editor.Value(), c.value);
    EXPECT_EQ(f.Stored(c.tag), c.value);
  }
  editor.SelectTag(IndexOf("A"));
  editor.CopyFromProject(project);
  EXPECT_EQ(editor.Value(), "");
  EXPECT_EQ(f.Stored("A"), "<none>");
}

}  // namespace
}  // namespace qs
