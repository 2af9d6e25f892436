// A small application folder for the meta tag tests: a catalogue, one domain with one
// project, and helpers to read what was stored in the project's file.
#pragma once

#include <string>

#include "app/appstate.h"
#include "metatags/metacatalogue.h"
#include "store/biginifile.h"
#include "support/tempfolder.h"

namespace qs::test {

inline constexpr const char* kMetaDomain = "site.test";
inline constexpr const char* kMetaProject = "Index";

class MetaFolder {
 public:
  // `catalogue` is the text of \data\metatags.czc; `metaTags` the lines of the project's
  // MetaTags section.
  explicit MetaFolder(const std::string& catalogueText, const std::string& metaTags = "") {
    dir.Write("data/metatags.czc", catalogueText);
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.test\r\n");
    dir.Write("data/domains/site.test.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write(ProjectFile(),
              "[Index]\r\nurl=http://site.test/\r\ntitle=Project title\r\n"
              "description=Project description\r\nkey1=red, green\r\n[MetaTags]\r\n" + metaTags);
    state.folder = dir.AppFolder();
    catalogue.Load(state.folder);
  }
  void SelectProject() {
    state.currentDomain = kMetaDomain;
    state.currentProjectKey = kMetaProject;
  }
  static std::string ProjectFile() { return "data/domains/projects/site.test/Index.zro"; }
  std::string Stored(const std::string& key) {
    TBigIniFile ini(dir.Path(ProjectFile()));
    std::string v = ini.ReadText("MetaTags", key, "<none>");
    ini.Close();
    return v;
  }

  TempFolder dir;
  TAppState state;
  TMetaCatalogue catalogue;
};

// Title, Description, Keywords with the usual rules; Robots a list tag; A, B, C plain.
inline const std::string kMetaCatalogue =
    "[Tags]\r\nTitle\r\nDescription\r\nKeywords\r\nRobots\r\nA\r\nB\r\nC\r\n"
    "[Title]\r\ntype=NAME\r\ncontent=text\r\nhint=Title hint\r\n"
    "[Description]\r\ntype=NAME\r\ncontent=text\r\n"
    "[Keywords]\r\ntype=NAME\r\ncontent=text\r\n"
    "[Robots]\r\ntype=NAME\r\ncontent=list\r\nlist=index, follow,none\r\n"
    "[A]\r\ntype=NAME\r\ncontent=text\r\n"
    "[B]\r\ntype=HTTP-EQUIV\r\ncontent=odd\r\n"
    "[C]\r\ntype=HTTP-EQUIV\r\ncontent=text\r\n";

}  // namespace qs::test
