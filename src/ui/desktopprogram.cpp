#include "ui/desktopprogram.h"

#include <QApplication>

#include "platform/singleinstance.h"
#include "ui/mainform.h"

namespace qs {

int RunDesktop(const TAppFolder& folder, const std::string& executableName) {
  QApplication::setApplicationName(QString::fromStdString(std::string(kProductTitle)));
  TSingleInstance instance(executableName);
  if (!instance.Claim()) return 0;  // the running copy comes forward; no message

  QApplication::setQuitOnLastWindowClosed(false);  // the tray keeps the scheduler alive
  TForm1 form(folder);
  instance.OnActivate = [&form] { form.RestoreFromTray(); };
  QObject::connect(&form, &TForm1::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  form.show();
  return QApplication::exec();
}

}  // namespace qs
