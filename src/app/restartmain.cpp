// quorvex-restart: installs a downloaded software update and starts the program again. It
// is started by the program, in the application folder, as "quorvex-restart --wait PID".
#include <QCoreApplication>
#include <QDir>
#include <iostream>
#include <string>

#include "engines/restart.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qs::TRestartOptions options;
  options.appDir = QDir::currentPath().toStdString();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--wait" && i + 1 < argc) {
      try {
        options.waitFor = std::stoll(argv[++i]);
      } catch (const std::exception&) {
        std::cerr << "quorvex-restart: --wait needs a process number\n";
        return 2;
      }
    } else {
      std::cerr << "Usage: quorvex-restart [--wait PID]   (in the application folder)\n";
      return 2;
    }
  }
  options.log = [](const std::string& line) { std::cerr << "quorvex-restart: " << line << '\n'; };
  qs::TRestartResult result;
  try {
    result = qs::RunRestart(options);
  } catch (const std::exception& e) {
    std::cerr << "quorvex-restart: " << e.what() << '\n';
    return 1;
  }
  return result == qs::TRestartResult::Installed || result == qs::TRestartResult::NothingWaiting
             ? 0
             : 1;
}
