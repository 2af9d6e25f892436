// A push button found by its object name that never becomes a dialog's default button:
// Return in a list or a field never presses it.
#pragma once

#include <QPushButton>

namespace qs {

inline QPushButton* NamedButton(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace qs
