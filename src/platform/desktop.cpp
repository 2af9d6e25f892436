#include "platform/desktop.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace qs {

bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  QStringList args;
  for (const auto& a : arguments) args << QString::fromStdString(a);
  return QProcess::startDetached(QString::fromStdString(program), args);
}

bool OpenWithDefaultHandler(const std::string& fileOrAddress) {
  const char* opener = std::getenv("QUORVEX_OPENER");
  return StartProgram(opener && *opener ? opener : "xdg-open", {fileOrAddress});
}

}  // namespace qs
