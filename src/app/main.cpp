// The program's entry. Without a sub-command it is the desktop program; with one it runs
// headless (see --help).
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdlib>
#include <unistd.h>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commandline.h"
#include "ui/desktopprogram.h"

namespace {

bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return (platform && *platform) || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string home;
  if (qs::WantsDesktop(args, home)) {
    if (DisplayAvailable()) {
      // The doorway preview's web view shares the windows' OpenGL contexts. Its renderer's
      // sandbox refuses to start for the superuser (a container's usual user), where the
      // preview then runs without it.
      QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
      if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
      QApplication app(argc, argv);
      const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
      try {
        const qs::TAppFolder folder = qs::TAppFolder::Resolve(
            home, executableFolder, executableFolder + "/../share/quorvex-summit");
        return qs::RunDesktop(folder, QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toStdString());
      } catch (const std::exception& e) {
        std::cerr << "quorvex-summit: " << e.what() << '\n';
        return qs::kExitFailure;
      }
    }
    std::cerr << "quorvex-summit: no display; running the start-up headless (see --help)\n";
  }
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Quorvex Summit"));
  const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
  const std::string installedData = executableFolder + "/../share/quorvex-summit";
  return qs::RunCommandLine(args, executableFolder, installedData,
                            {std::cin, std::cout, std::cerr});
}
