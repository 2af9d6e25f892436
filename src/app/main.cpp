// The desktop program's entry. With a sub-command it runs headless (see --help).
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commandline.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Quorvex Summit"));
  const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
  const std::string installedData = executableFolder + "/../share/quorvex-summit";
  std::vector<std::string> args(argv + 1, argv + argc);
  return qs::RunCommandLine(args, executableFolder, installedData,
                            {std::cin, std::cout, std::cerr});
}
