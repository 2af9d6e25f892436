// An application folder with the domain 127.0.0.1, its project editor, and an import
// monitor run to its end from the event loop (bounded in time).
#pragma once

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "projects/naming.h"
#include "spider/importmonitor.h"
#include "support/tempfolder.h"

namespace qs::test {

inline TContactData SpiderContact() {
  TContactData c;
  c.category = "Business";
  c.firstName = "Ada";
  c.lastName = "Lovelace";
  c.email = "ada@example.com";
  c.altEmail = "alt@example.com";
  c.city = "London";
  return c;
}

class ImportFixture : public testing::Test {
 protected:
  ImportFixture() {
    state.folder = dir.AppFolder();
    TNewProjectRecord domain;
    domain.domain = "127.0.0.1";
    editor.CreateDomain(domain);
    state.newProject.contact = SpiderContact();
  }

  // Starts the import as the wizards hand it over and waits for its end; none when it
  // did not end within the bound.
  std::optional<TImportEnd> Run(TImportMode mode, const std::string& url,
                                const std::string& levels, const std::string& maxPages,
                                const std::string& extensions = "All") {
    state.spiderOptions = {extensions, levels, maxPages};
    std::optional<TImportEnd> end;
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    monitor.OnImportEnded = [&](TImportEnd e) {
      end = e;
      loop.quit();
    };
    monitor.StartImport(ImportModeName(mode), url, state.newProject, state.spiderOptions);
    if (!end) {
      bound.start(60000);
      loop.exec();
    }
    monitor.OnImportEnded = nullptr;
    return end;
  }

  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (const TImportNode& n : monitor.Tree().Nodes()) urls.push_back(n.url);
    return urls;
  }
  const std::string& Status(size_t node) const {
    return monitor.Tree().Node(node).lines[kImportStatusLine];
  }
  void AddProject(const std::string& url, const std::string& listedName,
                  const std::string& title) {
    TNewProjectRecord r;
    r.url = url;
    r.domain = "127.0.0.1";
    r.listedName = listedName;
    r.title = title;
    r.contact = SpiderContact();
    editor.CreateProject(r);
  }
  std::string ProjectValue(const std::string& listedName, const std::string& key) const {
    const std::string k = ProjectKeyOf(listedName);
    return editor.Store().ReadProjectValue("127.0.0.1", k, k, key, "<none>");
  }

  TempFolder dir;
  TAppState state;
  TScriptedAnswerer answers;
  TProjectEditor editor{state, answers};
  TImportMonitor monitor{state, editor, answers};
};

}  // namespace qs::test
