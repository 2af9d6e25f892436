#include "ui/splash.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace qs {

TSplash::TSplash(const QPixmap& picture, const QIcon& icon)
    : QWidget(nullptr, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), picture_(picture) {
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
