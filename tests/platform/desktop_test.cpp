// Starting programs and opening documents with the default handler.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>

#include "support/tempfolder.h"

namespace qs {
namespace {

// Waits a bounded time for a file the started program writes.
bool Appears(const test::TempFolder& dir, const std::string& name) {
  QElapsedTimer t;
  t.start();
  while (!dir.Exists(name) && t.elapsed() < 10000) QThread::msleep(20);
  return dir.Exists(name);
}

TEST(Desktop, StartsProgramsAndTheDefaultHandler) {
  test::TempFolder dir;
  EXPECT_FALSE(StartProgram(dir.Path("no-such-program"), {}));
  ASSERT_TRUE(StartProgram("/bin/sh", {"-c", "touch " + dir.Path("started")}));
  EXPECT_TRUE(Appears(dir, "started"));

  // The handler gets the document as its one argument.
  dir.Write("opener", "#!/bin/sh\necho \"$1\" > " + dir.Path("part") + " && mv " +
                          dir.Path("part") + " " + dir.Path("opened") + "\n");
  std::system(("chmod +x " + dir.Path("opener")).c_str());
  ::setenv("QUORVEX_OPENER", dir.Path("opener").c_str(), 1);
  const bool opened = OpenWithDefaultHandler("/some/report file.htm");
  ::unsetenv("QUORVEX_OPENER");
  ASSERT_TRUE(opened);
  ASSERT_TRUE(Appears(dir, "opened"));
  EXPECT_EQ(dir.Read("opened"), "/some/report file.htm\n");
}

}  // namespace
}  // namespace qs
