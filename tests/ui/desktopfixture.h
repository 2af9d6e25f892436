// The desktop program on a fresh copy of the installation data, with scripted answers to its
// messages and questions and without a splash window.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/dialogs.h"
#include "support/tempfolder.h"
#include "ui/mainform.h"

namespace qs::test {

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
  }

  TForm1& Open() {
    form = std::make_unique<TForm1>(dir.AppFolder(), &answers, nullptr, false);
    form->ApplyTable();
    return *form;
  }
  std::string Text(const char* key) { return form->Summit().state.languageTable.Lookup(key); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& call : answers.Calls()) texts.push_back(call.text);
    return texts;
  }

  TempFolder dir;
  TScriptedAnswerer answers;
  std::unique_ptr<TForm1> form;
};

}  // namespace qs::test
