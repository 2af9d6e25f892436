// One running copy per executable name: a later copy asks the first to come forward and is
// refused; copies of other names, and a copy after the first ended, run.
#include "platform/singleinstance.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QUuid>

namespace qs {
namespace {

std::string UniqueName() { return "qs-test-" + QUuid::createUuid().toString(QUuid::Id128).toStdString(); }

TEST(SingleInstanceTest, ASecondCopyBringsTheFirstForwardAndEnds) {
  const std::string name = UniqueName();
  int activated = 0;
  {
    TSingleInstance first(name);
    first.OnActivate = [&] { ++activated; };
    ASSERT_TRUE(first.Claim());
    TSingleInstance other(UniqueName());
    EXPECT_TRUE(other.Claim());  // another executable name does not see the first

    TSingleInstance second(name);
    EXPECT_FALSE(second.Claim());
    QTRY_COMPARE_WITH_TIMEOUT(activated, 1, 5000);
  }
  // The first copy ended: the next one runs.
  TSingleInstance later(name);
  EXPECT_TRUE(later.Claim());
}

}  // namespace
}  // namespace qs
