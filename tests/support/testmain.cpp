// Test entry: a core application for the event loop, English regional formats, and a final
// check that no INI store was dropped without being closed (its changes would be lost).
#include <gtest/gtest.h>

#include <QCoreApplication>
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
  QCoreApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new UnclosedStoreCheck);
  return RUN_ALL_TESTS();
}
