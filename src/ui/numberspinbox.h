// A spin box over a whole-number field with a range: any number may be typed, the field
// brings it into the range (the minimum for what is no number), and the box shows the
// field's value once the user leaves it. The arrows step within the range.
#pragma once

#include <QSpinBox>

#include "net/numberfield.h"

namespace qs {

class TNumberSpinBox : public QSpinBox {
  Q_OBJECT
 public:
  TNumberSpinBox(TNumberField& field, QWidget* parent = nullptr);

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  TNumberField& field_;
};

}  // namespace qs
