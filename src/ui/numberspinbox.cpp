#include "ui/numberspinbox.h"

#include <QLineEdit>

namespace qs {

TNumberSpinBox::TNumberSpinBox(TNumberField& field, QWidget* parent) : QSpinBox(parent), field_(field) {
  setRange(field.Minimum(), field.Maximum());
  setValue(field.Value());
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  // Typing hands the text to the field at once (a run reads it as it stands); a step of the
  // arrows hands the value.
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { field_.SetText(text.toStdString()); });
  connect(this, &QSpinBox::valueChanged, this, [this](int v) { field_.SetValue(v); });
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    field_.Leave();
    if (value() != field_.Value()) setValue(field_.Value());
  });
}

QValidator::State TNumberSpinBox::validate(QString& input, int&) const {
  if (input.isEmpty()) return QValidator::Intermediate;
  for (QChar c : input)
    if (!c.isDigit()) return QValidator::Invalid;
  bool ok = false;
  const qlonglong n = input.toLongLong(&ok);
  return ok && n >= minimum() && n <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void TNumberSpinBox::fixup(QString& input) const {
  TNumberField clamped(field_.Minimum(), field_.Maximum(), field_.Minimum());
  clamped.SetText(input.toStdString());
  input = QString::number(clamped.Value());
}

}  // namespace qs
