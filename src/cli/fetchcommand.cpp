#include "cli/fetchcommand.h"

#include <QBuffer>
#include <QEventLoop>
#include <optional>
#include <ostream>

#include "net/connectionsettings.h"
#include "net/httpcli.h"

namespace qs {

namespace {

int FetchUsage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: fetch: " << problem << "\n"
      << "Usage: quorvex-summit [--home DIR] fetch [--post DATA] [--referer URL] URL\n";
  return kExitUsage;
}

}  // namespace

int RunFetchCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                    TCommandLineIo io) {
  std::optional<std::string> post;
  std::string referer, url;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--post" || a == "--referer") {
      if (i + 1 >= args.size()) return FetchUsage(io.err, "option " + a + " needs a value");
      (a == "--post" ? post.emplace() : referer) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return FetchUsage(io.err, "unknown option " + a);
    } else if (url.empty()) {
      url = a;
    } else {
      return FetchUsage(io.err, "only one URL");
    }
  }
  if (url.empty()) return FetchUsage(io.err, "a URL is needed");

  TConnectionSettings settings(folder);
  THttpCli cli;
  TConnectionSettings::ApplyProxyTo(settings.ReadProxy(), cli);
  cli.SetURL(url);
  cli.SetReference(referer);
  QBuffer body;
  if (post) {
    body.setData(post->data(), static_cast<qsizetype>(post->size()));
    body.open(QIODevice::ReadOnly);
    cli.SetSendStream(&body);
  }

  QEventLoop loop;
  bool headerArrived = false;
  int error = 0;
  cli.OnHeaderEnd = [&](THttpCli& c) {
    headerArrived = !c.RcvdHeader().empty();
    for (const auto& line : c.RcvdHeader()) io.err << line << '\n';
    io.err << '\n';
  };
  cli.OnLocationChange = [&](THttpCli& c) {
    headerArrived = false;
    io.err << "-> " << c.Location() << '\n';
  };
  cli.OnDocData = [&](THttpCli&, const char* buffer, int len) {
    io.out.write(buffer, len);
  };
  cli.OnRequestDone = [&](THttpCli&, THttpRequest, int e) {
    error = e;
    loop.quit();
  };
  if (post) cli.Post(); else cli.Get();
  loop.exec();
  io.out.flush();
  if (error != 0 || !headerArrived) {
    io.err << "quorvex-summit: fetch: " << cli.StatusCode() << ' ' << cli.ReasonPhrase();
    if (error != 0) io.err << " (error " << error << ')';
    io.err << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace qs
