// Runs one THttpCli request to its end and records what it reported, for protocol tables.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <string>
#include <vector>

#include "net/httpcli.h"

namespace qs::test {

struct HttpOutcome {
  // Events in order; consecutive DocData events are one entry (their number depends on how
  // the bytes happened to arrive). OnRequestDone is "Done(<error>)".
  std::string events;
  std::string body;      // every OnDocData piece, joined
  int dones = 0;
  int error = -1;
  bool finished = false;  // OnRequestDone came within the bound
  bool zeroAfterPieces = true;
};

// Hooks the client's events (keeping any handler already set for OnHeaderEnd, OnDocData and
// OnRequestDone, which run after the recording), calls `start`, and runs the event loop
// until OnRequestDone plus a short settling time in which a second one would show up. The
// bound only guards against a hang; it is no measure of speed.
inline HttpOutcome RunHttp(THttpCli& cli, const std::function<void()>& start,
                           int boundMs = 15000) {
  HttpOutcome o;
  auto add = [&o](const std::string& e) {
    if (e == "DocData" && o.events.size() >= 7 &&
        o.events.compare(o.events.size() - 7, 7, "DocData") == 0)
      return;
    if (!o.events.empty()) o.events += ' ';
    o.events += e;
  };
  QEventLoop loop;
  cli.OnHeaderBegin = [&](THttpCli&) { add("HeaderBegin"); };
  cli.OnHeaderData = [&](THttpCli&) { add("HeaderData"); };
  auto headerEnd = cli.OnHeaderEnd;
  cli.OnHeaderEnd = [&, headerEnd](THttpCli& c) {
    add("HeaderEnd");
    if (headerEnd) headerEnd(c);
  };
  cli.OnLocationChange = [&](THttpCli&) { add("LocationChange"); };
  cli.OnCookie = [&](THttpCli&, const std::string& data, bool&) { add("Cookie(" + data + ")"); };
  cli.OnDocBegin = [&](THttpCli&) { add("DocBegin"); };
  auto docData = cli.OnDocData;
  cli.OnDocData = [&, docData](THttpCli& c, const char* buffer, int len) {
    add("DocData");
    o.body.append(buffer, static_cast<size_t>(len));
    if (buffer[len] != '\0') o.zeroAfterPieces = false;
    if (docData) docData(c, buffer, len);
  };
  cli.OnDocEnd = [&](THttpCli&) { add("DocEnd"); };
  auto done = cli.OnRequestDone;
  cli.OnRequestDone = [&, done](THttpCli& c, THttpRequest kind, int error) {
    add("Done(" + std::to_string(error) + ")");
    ++o.dones;
    o.error = error;
    o.finished = true;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    if (done) done(c, kind, error);
  };
  QTimer bound;
  bound.setSingleShot(true);
  QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
  bound.start(boundMs);
  start();
  loop.exec();
  return o;
}

// Runs the event loop until `ready` holds or the bound passes.
inline bool RunUntil(const std::function<bool()>& ready, int boundMs = 15000) {
  QElapsedTimer t;
  t.start();
  while (!ready()) {
    if (t.elapsed() > boundMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace qs::test
