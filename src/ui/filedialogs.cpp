#include "ui/filedialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace qs {

QString DialogFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns)
      if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
    entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

TPickFile OpenFileDialog(QWidget* parent) {
  return [parent](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
  };
}

TPickFile SaveFileDialog(QWidget* parent, const QString& defaultSuffix) {
  return [parent, defaultSuffix](const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
}

}  // namespace qs
