#include "ui/mnemonics.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "app/windowtexts.h"

namespace qs {

namespace {

QString CaptionOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

void SetCaptionOf(QWidget* w, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
  if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
  if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
}

}  // namespace

void GiveMnemonics(const std::vector<std::string>& taken, const std::vector<QWidget*>& controls) {
  std::vector<std::string> captions = taken;
  for (QWidget* w : controls) captions.push_back(CaptionOf(w).toStdString());
  const std::vector<std::string> marked = WithMnemonics(captions);
  for (size_t i = 0; i < controls.size(); ++i)
    SetCaptionOf(controls[i], QString::fromStdString(marked[taken.size() + i]));
}

}  // namespace qs
