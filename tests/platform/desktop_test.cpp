// Starting programs and opening documents with the default handler.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
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

TEST(Desktop, OnlyWebAddressesOpenInTheBrowser) {
  // The opener appends every address it is given; a refused address never reaches it.
  test::TempFolder dir;
  dir.Write("opener", "#!/bin/sh\necho \"$1\" >> " + dir.Path("opened") + "\n");
  std::system(("chmod +x " + dir.Path("opener")).c_str());
  ::setenv("QUORVEX_OPENER", dir.Path("opener").c_str(), 1);
  const struct {
    const char* address;
    bool opens;
  } cases[] = {
      {"http://www.example.com/", true},
      {"HTTPS://secure.example.com/submit?a=1", true},
      {"file:///etc/passwd", false},
      {"/home/user/.bashrc", false},
      {"--help", false},
      {"javascript:alert(1)", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenWebAddress(c.address), c.opens) << c.address;
  ::unsetenv("QUORVEX_OPENER");
  QElapsedTimer t;
  t.start();
  auto lines = [&] { return dir.Exists("opened") ? dir.Read("opened") : std::string(); };
  while (lines() != "http://www.example.com/\nHTTPS://secure.example.com/submit?a=1\n" &&
         lines() != "HTTPS://secure.example.com/submit?a=1\nhttp://www.example.com/\n" &&
         t.elapsed() < 10000)
    QThread::msleep(20);
  const std::string opened = lines();
  EXPECT_NE(opened.find("http://www.example.com/\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("HTTPS://secure.example.com/submit?a=1\n"), std::string::npos) << opened;
  EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 2) << opened;
}

}  // namespace
}  // namespace qs
