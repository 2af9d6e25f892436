#include "ui/splash.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace qs {

TSplash::TSplash(const QPixmap& picture, const QIcon& icon)
    // On top of every window until the main window is ready: it is shown while the main
    // window already stands on the screen.
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      picture_(picture) {
  setObjectName(QStringLiteral("splash"));
  setFixedSize(642, 359);
  setWindowIcon(icon);
  setWindowTitle(QStringLiteral("Loading..."));
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TSplash::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  // The start-up runs on this thread; one pass of the event loop shows the change.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull())
    painter.fillRect(rect(), palette().window());
  else
    painter.drawPixmap(rect(), picture_);
}

}  // namespace qs
