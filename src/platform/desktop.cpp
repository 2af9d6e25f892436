#include "platform/desktop.h"

#include <QProcess>
#include <QString>
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

bool OpenWebAddress(const std::string& address) {
  const QString a = QString::fromStdString(address).trimmed();
  if (!a.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
      !a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
    return false;
  return OpenWithDefaultHandler(a.toStdString());
}

}  // namespace qs
