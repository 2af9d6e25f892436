#include "ui/applytable.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QSet>

namespace qs {

void SetCaption(QObject* control, const QString& caption) {
  if (auto* label = qobject_cast<QLabel*>(control)) label->setText(caption);
  else if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(caption);
  else if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(caption);
  else if (auto* menu = qobject_cast<QMenu*>(control)) menu->setTitle(caption);
  else if (auto* action = qobject_cast<QAction*>(control)) action->setText(caption);
  else if (auto* widget = qobject_cast<QWidget*>(control); widget && widget->isWindow())
    widget->setWindowTitle(caption);
}

void ApplyComponentCaptions(QObject* root, const TLanguageTable& table) {
  QHash<QString, QList<QObject*>> byName;
  QList<QObject*> all = root->findChildren<QObject*>();
  all.prepend(root);
  for (QObject* o : all)
    if (!o->objectName().isEmpty()) byName[o->objectName().toLower()].append(o);
  QSet<QString> done;
  for (const std::string& line : table.Lines()) {
    const std::string key = TLanguageTable::KeyOf(line);
    if (key.empty()) continue;
    const QString name = QString::fromStdString(key).toLower();
    if (done.contains(name)) continue;
    done.insert(name);
    const auto found = byName.constFind(name);
    if (found == byName.constEnd()) continue;
    const QString value = QString::fromStdString(line.substr(key.size() + 1));
    for (QObject* control : *found) SetCaption(control, value);
  }
}

}  // namespace qs
