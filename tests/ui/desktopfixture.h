// The desktop program on a fresh copy of the installation data, with scripted answers to its
// messages and questions and without a splash window.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "app/dialogs.h"
#include "schedule/frametimer.h"
#include "support/fakeconnection.h"
#include "support/tempfolder.h"
#include "ui/mainform.h"

namespace qs::test {

// The tray animation's timer, stepped by the test.
class SteppedFrameTimer : public IFrameTimer {
 public:
  void Start(int) override { running = true; }
  void Stop() override { running = false; }
  bool Running() const override { return running; }
  void Fire() {
    if (running && OnTimeout) OnTimeout();
  }
  bool running = false;
};

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
  }

  TForm1& Open() {
    TFormOptions options;
    options.dialogs = &answers;
    options.internet = &internet;
    options.updateKey = updateKey;
    options.systemTray = [this] { return systemTray; };
    options.splash = false;
    options.schedulerPlatform = [this] {
      TSchedulerPlatform platform;
      auto timer = std::make_unique<SteppedFrameTimer>();
      frameTimer = timer.get();
      platform.timer = std::move(timer);
      platform.autostartFolders = {dir.Path("autostart/user"), dir.Path("autostart/machine")};
      platform.executable = "/opt/quorvex/quorvex-summit";
      return platform;
    };
    form = std::make_unique<TForm1>(dir.AppFolder(), options);
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
  FakeConnection internet;
  std::optional<TPublicKey> updateKey;  // none: the publisher's
  bool systemTray = true;
  SteppedFrameTimer* frameTimer = nullptr;
  std::unique_ptr<TForm1> form;
};

}  // namespace qs::test
