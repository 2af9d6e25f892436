// A whole run of a few hundred generated engines across the main and the custom table
// against the practice server, with every behaviour in the mix and the clock driven by the
// test, checked against the server's log, the rows, the sums, the history, the dates and
// the report.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/regional.h"
#include "practiceserver.h"
#include "projects/history.h"
#include "submit/classification.h"
#include "submit/requestbuilder.h"
#include "submitfixture.h"

namespace qs {
namespace {

constexpr int kMainRecords = 240;
constexpr int kCustomRecords = 66;

class SubmitEndToEnd : public test::SubmitFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listen());
    server.SetSlowMs(30);
    clock::Set([this] { return now; });
    mainMix.namePrefix = "Main";
    mainMix.pathPrefix = "m";
    customMix.namePrefix = "Custom";
    customMix.pathPrefix = "c";
    customMix.methods = {"post", "GET"};  // lower-case post is sent as a GET
  }
  void TearDown() override {
    test::SubmitFixture::TearDown();
    clock::Set(nullptr);
  }
  void PrepareFolder(int ports) {
    const QDate today = now.date();
    WriteSettings("1", ports, 30);
    dir.Write("data/default.hst", "Submit Date,Scheduled,Status,Generated Report,\r\n");
    dir.Write("data/category.zro", "[SubCat1]\r\nComputers=Computer Stuff\r\n[SubCat2]\r\n");
    dir.Write("data/domains/report-template.htm",
              "$ok|$failed|$timeout|$total\n<!--STARTDATA-->\n$id|$engname|$engresult|$engcount\n"
              "<!--ENDDATA-->\nend $ok\n");
    std::remove(dir.Path("data/domains/projects/dom.example/_promo_page.htm.hst").c_str());
    WriteProject("dom.example", "_promo_page.htm",
                 {{"url", "http://dom.example/promo/page.htm"}, {"title", "Promo & more"},
                  {"description", "A page, 100% good"}, {"alt_email", "alt@dom.example"},
                  {"email", "main@dom.example"}, {"key1", "a,b"}, {"catagory", "Computers"},
                  {"submitengines", "-1"}, {"submitffa", "-1"}, {"submitnetworks", "-1"},
                  {"submitcustom", "1"}, {"genreport", "-1"},
                  {"lastsub", regional::FormatDate(today.addDays(-1))},
                  {"lastw", regional::FormatDate(today.addDays(-3))},
                  {"lastm", regional::FormatDate(today.addDays(-40))},
                  {"lasty", regional::FormatDate(today.addDays(-100))}});
    std::string m, c;
    for (const auto& line : practice::GenerateEngineTable(kMainRecords, server.Base(), mainMix)) m += line;
    for (const auto& line : practice::GenerateEngineTable(kCustomRecords, server.Base(), customMix)) c += line;
    dir.Write("data/data.czc", m);
    dir.Write("data/datac.czc", c);
  }
  bool Finish() {
    return RunUntil(
        [&] {
          if (run->Total() == run->Completed() && run->LiveRequests() == 0) return true;
          // Time moves on only once the server holds every silent request sent so far.
          int underWay = 0, silent = 0, silentSent = 0;
          for (const ActivityRow& r : run->Rows()) {
            const bool isSilent = BehaviourOf(r) == "silent";
            if (isSilent && r.image != TRowImage::Skipped && r.image != TRowImage::None) ++silentSent;
            if (r.image != TRowImage::UnderWay) continue;
            ++underWay;
            if (isSilent) ++silent;
          }
          int received = 0;
          for (const auto& r : server.Received()) received += r.path.rfind("/silent/", 0) == 0;
          if (underWay > 0 && underWay == silent && received >= silentSent) {
            now = now.addSecs(31);
            for (int i = 0; i < 17; ++i) run->Tick();
          }
          return false;
        },
        60000);
  }
  // The behaviour of a row, from its record's number and table.
  std::string BehaviourOf(const ActivityRow& r) const {
    const bool custom = r.engine.rfind("Custom", 0) == 0;
    const size_t n = std::stoul(r.engine.substr(r.engine.find(' ') + 1));
    const auto& list = (custom ? customMix : mainMix).behaviours;
    return list[n % list.size()];
  }

  practice::TPracticeServer server;
  practice::TGeneratorMix mainMix, customMix;
  QDateTime now{QDate(2024, 8, 12), QTime(9, 30, 0)};
};

TEST_F(SubmitEndToEnd, ARunRequestsExactlyTheDueEnginesAndRecordsEveryResult) {
  std::map<std::string, test::TExpectedOutcome> outcomes;
  for (const auto& o : test::ExpectedOutcomes()) outcomes[o.behaviour] = o;
  for (int ports : {1, 5, 25}) {
    SCOPED_TRACE("Ports " + std::to_string(ports));
    server.ClearReceived();
    const std::string log = dir.Path("practice-" + std::to_string(ports) + ".log");
    server.SetLogFile(log);
    PrepareFolder(ports);
    OpenCatalogue();
    MakeRun();
    run->AddChecked("dom.example", {"/promo/page.htm"}, [](const std::string&) { return true; });
    int maxLive = 0;
    run->OnRowAdded = [&](size_t) { maxLive = std::max(maxLive, run->LiveRequests()); };
    run->Start();
    ASSERT_TRUE(Finish());
    EXPECT_LE(maxLive, ports);

    // Every record is visited (all kinds are selected): Weekly and Yearly were not due.
    std::set<std::string> expectedPaths;
    long long ok = 0, failed = 0, timeout = 0;
    const auto& rows = run->Rows();
    ASSERT_EQ(rows.size(), static_cast<size_t>(kMainRecords + kCustomRecords));
    for (size_t i = 0; i < rows.size(); ++i) {
      const bool custom = i >= kMainRecords;
      const size_t n = custom ? i - kMainRecords : i;
      const auto& mix = custom ? customMix : mainMix;
      const std::string freq = mix.frequencies[(n / 2) % mix.frequencies.size()];
      const std::string behaviour = mix.behaviours[n % mix.behaviours.size()];
      EXPECT_EQ(rows[i].engine, mix.namePrefix + " " + std::to_string(n));
      if (freq == "Weekly" || freq == "Yearly") {
        EXPECT_EQ(rows[i].result, "Skipped") << rows[i].engine;
        EXPECT_EQ(rows[i].image, TRowImage::Skipped);
        continue;
      }
      expectedPaths.insert("/" + behaviour + "/" + mix.pathPrefix + std::to_string(n));
      const auto& o = outcomes.at(behaviour);
      EXPECT_EQ(rows[i].result, o.result) << rows[i].engine;
      EXPECT_EQ(rows[i].image, o.image) << rows[i].engine;
      const long long count = RowCount(rows[i].count);
      (o.image == TRowImage::Ok ? ok : o.image == TRowImage::Failed ? failed : timeout) += count;
    }
    const auto records = practice::TPracticeServer::ReadLog(log);
    std::multiset<std::string> requested;
    for (const auto& r : server.Received()) requested.insert(r.path);
    EXPECT_EQ(records.size(), server.Received().size());
    EXPECT_EQ(std::set<std::string>(requested.begin(), requested.end()), expectedPaths);
    EXPECT_EQ(requested.size(), expectedPaths.size());  // each exactly once

    // Two records' exact bytes: a GET with the category, a POST.
    const std::string accept = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
    const std::string agent = "User-Agent: Mozilla/3.0 (compatible)\r\nHost: 127.0.0.1\r\n";
    const std::string values =
        "url=http%3A%2F%2Fdom%2Eexample%2Fpromo%2Fpage%2Ehtm&title=Promo%20%26%20more"
        "&description=A%20page%2C%20100%25%20good";
    const std::string tail = "&email=alt%40dom%2Eexample&keywords=a%2Cb";
    const std::string get0 = "GET /ok/m0?" + values + "&category=Computer%20Stuff" + tail +
                             "&engine=0 HTTP/1.0\r\n" + accept + "Referer: " + server.Base() +
                             "/home/m0\r\n" + agent + "\r\n";
    const std::string body6 = values + tail + "&engine=6";
    const std::string post6 = "POST /noreason/m6 HTTP/1.0\r\n" + accept + "Referer: " + server.Base() +
                              "/home/m6\r\nContent-Type: application/x-www-form-urlencoded\r\n" + agent +
                              "Content-Length: " + std::to_string(body6.size()) + "\r\n\r\n" + body6;
    const std::string getC1 = "GET /found/c1?" + values + tail + "&engine=1 HTTP/1.0\r\n" + accept +
                              "Referer: " + server.Base() + "/home/c1\r\n" + agent + "\r\n";
    for (const std::string& expected : {get0, post6, getC1})
      EXPECT_EQ(std::count(records.begin(), records.end(), expected), 1)
          << expected << "\nnot among the requests, for example:\n"
          << *std::find_if(records.begin(), records.end(), [&](const std::string& r) {
               return r.substr(0, 12) == expected.substr(0, 12);
             });

    const RunEntry& e = run->Queue().Entries().at(0);
    EXPECT_EQ(e.lines[kOkLine], "OK " + std::to_string(ok));
    EXPECT_EQ(e.lines[kFailedLine], "Failed: " + std::to_string(failed));
    EXPECT_EQ(e.lines[kTimeoutLine], "Timeout: " + std::to_string(timeout));
    EXPECT_EQ(e.lines[kStatusLine], "Status: <b>Submission Complete...</b>");

    const std::string folder = "data/domains/projects/dom.example/";
    const auto history = ReadHistoryLines(dir.Path(folder + "_promo_page.htm.hst"));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1], "8/12/2024,No,Completed,<a href=\"" + folder + "_promo_page.htm8122024.htm\">View Report</a>,");
    std::string report = e.lines[kOkLine] + "|" + e.lines[kFailedLine] + "|" +
                         e.lines[kTimeoutLine] + "|" + e.lines[kTotalLine] + "\r\n";
    for (size_t i = 0; i < rows.size(); ++i)
      report += "\n<!--STARTDATA-->\r\n" + std::to_string(i) + "|" + rows[i].engine + "|" +
                rows[i].result + "|" + rows[i].count + "\r\n<!--ENDDATA-->\r\n";
    report += "\r\nend $ok\r\n";
    EXPECT_EQ(dir.Read(folder + "_promo_page.htm8122024.htm"), report);

    const std::string project = dir.Read(folder + "_promo_page.htm.zro");
    const std::string today = regional::FormatDate(now.date());
    EXPECT_NE(project.find("lastsub=" + today + "\r\n"), std::string::npos);
    EXPECT_NE(project.find("lastw=" + regional::FormatDate(now.date().addDays(-3)) + "\r\n"), std::string::npos);
    EXPECT_NE(project.find("lastm=" + today + "\r\n"), std::string::npos);
    EXPECT_NE(project.find("lasty=" + regional::FormatDate(now.date().addDays(-100)) + "\r\n"),
              std::string::npos);
    run.reset();
    catalogue.Close();
    now = QDateTime(now.date(), QTime(9, 30, 0));
  }
}

}  // namespace
}  // namespace qs
