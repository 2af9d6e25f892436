// Keyboard mnemonics for a page's captions: each control's caption (a label with a buddy, a
// button, a check box, a group box) gets one that neither the captions in `taken` (the menu
// bar's, the panel headers') nor an earlier control of the list uses.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace qs {

void GiveMnemonics(const std::vector<std::string>& taken, const std::vector<QWidget*>& controls);

}  // namespace qs
