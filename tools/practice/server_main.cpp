// quorvex-practice-server [--port N] [--log FILE] [--slow MS] [--tls CERT KEY]: plays engines
// on 127.0.0.1 until it is ended, over TLS with --tls; prints the port it listens on.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "practiceserver.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qs::practice::TPracticeServer server;
  server.SetKeepReceived(false);
  uint16_t port = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 < argc && a == "--port") {
      port = static_cast<uint16_t>(std::atoi(argv[++i]));
    } else if (i + 1 < argc && a == "--log") {
      server.SetLogFile(argv[++i]);
    } else if (i + 1 < argc && a == "--slow") {
      server.SetSlowMs(std::atoi(argv[++i]));
    } else if (i + 2 < argc && a == "--tls") {
      std::string problem;
      if (!server.SetTls(argv[i + 1], argv[i + 2], problem)) {
        std::fprintf(stderr, "quorvex-practice-server: --tls: %s\n", problem.c_str());
        return 2;
      }
      i += 2;
    } else {
      std::fprintf(stderr,
                   "Usage: quorvex-practice-server [--port N] [--log FILE] [--slow MS] "
                   "[--tls CERT KEY]\n");
      return 2;
    }
  }
  if (!server.Listen(port)) {
    std::fprintf(stderr, "quorvex-practice-server: cannot listen on 127.0.0.1:%u\n", port);
    return 1;
  }
  std::printf("%u\n", server.Port());
  std::fflush(stdout);
  return app.exec();
}
