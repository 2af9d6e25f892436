// Test entry: an application for the event loop and the windows (offscreen), English regional formats, and a final
// check that no INI store was dropped without being closed (its changes would be lost).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <QLocale>

#include "store/unclosedstores.h"

namespace {
class UnclosedStoreCheck : public ::testing::Environment {
 public:
  void TearDown() override {
    EXPECT_EQ(qs::UnclosedStoreCount(), 0) << "an INI store with changes was never closed";
  }
};
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);  // ctest sets it too; a direct run needs it
  // The doorway preview's web view: as the program sets it up, and without the renderer's
  // sandbox, which does not start for the superuser of a CI container.
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  // The event loop's threads (host lookup, network information) make a plain fork unsafe;
  // a death test runs in a freshly started copy of this program instead.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ::testing::AddGlobalTestEnvironment(new UnclosedStoreCheck);
  return RUN_ALL_TESTS();
}
