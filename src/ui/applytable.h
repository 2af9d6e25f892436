// The first step of applying the language table to a window: every control whose name is a
// key of the table (letter case ignored) takes the key's text as its caption.
#pragma once

#include <QString>

#include "app/langtable.h"

class QObject;

namespace qs {

// Sets the caption (text or title) of a label, button, group box, action or menu.
void SetCaption(QObject* control, const QString& caption);

// Walks `root` and its children (widgets, actions, menus). A key that two lines define takes
// the first line's text, as every lookup does.
void ApplyComponentCaptions(QObject* root, const TLanguageTable& table);

}  // namespace qs
