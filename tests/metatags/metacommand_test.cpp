// The meta and doorway commands on a small application folder.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/commandline.h"
#include "metafixture.h"

namespace qs {
namespace {

class MetaCommandTest : public testing::Test {
 protected:
  struct Result {
    int code;
    std::string out, err;
  };
  Result Invoke(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", f.dir.Root()});
    std::istringstream in;
    std::ostringstream out, err;
    const int code = RunCommandLine(args, "/nonexistent", "", {in, out, err});
    return {code, out.str(), err.str()};
  }
  test::MetaFolder f{test::kMetaCatalogue,
                     "Title=Shop\r\nTitleck=-1\r\nA=alpha\r\nAck=-1\r\nkeywords=red,blue\r\n"};
};

TEST_F(MetaCommandTest, BlockCleanAndInject) {
  Result r = Invoke({"meta", "site.test", "Index"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "<TITLE>Shop</TITLE>\n<META NAME=\"A\" CONTENT=\"alpha\">\n");

  f.dir.Write("doc.html", "<html><head>\r\n<title>x</title>\r\n<meta a>\r\n</head></html>");
  r = Invoke({"meta", "clean", f.dir.Path("doc.html")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "<html><head>\r\n\r\n</head></html>");

  r = Invoke({"meta", "inject", "site.test", "Index", f.dir.Path("doc.html"), "--out",
              f.dir.Path("injected.html")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(f.dir.Read("injected.html"),
            "<html><head>\r\n<TITLE>Shop</TITLE>\r\n<META NAME=\"A\" CONTENT=\"alpha\">\r\n"
            "\r\n<title>x</title>\r\n<meta a>\r\n</head></html>");

  struct Bad {
    std::vector<std::string> args;
    int code;
  } bad[] = {
      {{"meta", "site.test"}, 2},
      {{"meta", "clean"}, 2},
      {{"meta", "clean", f.dir.Path("missing.html")}, 1},
      {{"meta", "nowhere.test", "Index"}, 1},
      {{"meta", "site.test", "Index", "--bogus"}, 2},
      {{"doorway", "site.test", "Index"}, 2},
      {{"doorway", "site.test", "Index", "--template", "9"}, 2},
  };
  for (const auto& b : bad) EXPECT_EQ(Invoke(b.args).code, b.code) << b.args.back();
}

TEST_F(MetaCommandTest, DoorwayWritesThePreviewOrTheNamedFile) {
  f.dir.Write("data/doorways/templates/template2.html", "<p>$title</p>\n<p>$url</p>\n$content");
  f.dir.Write("data/doorcontent.htm", "$keywords\r\n");
  Result r = Invoke({"doorway", "site.test", "Index", "--template", "2"});
  EXPECT_EQ(r.code, 0) << r.err;
  const std::string page =
      "<p>Shop</p>\r\n<p><a href=\"http://site.test/\">http://site.test/</a></p>\r\nred,blue\r\n";
  EXPECT_EQ(f.dir.Read("data/doorways/templates/temp.html"), page);
  r = Invoke({"doorway", "site.test", "Index", "--template", "2", "--out", f.dir.Path("d.html")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(f.dir.Read("d.html"), page);
  // A missing template is the file's error.
  r = Invoke({"doorway", "site.test", "Index", "--template", "5"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("template5.html"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace qs
