#include "app/dialogs.h"

#include <cmath>

namespace qs {

std::string DialogCaption(TMsgDlgType type, const std::string& applicationTitle) {
  switch (type) {
    case TMsgDlgType::Warning: return "Warning";
    case TMsgDlgType::Error: return "Error";
    case TMsgDlgType::Information: return "Information";
    case TMsgDlgType::Confirmation: return "Confirmation";
    case TMsgDlgType::Custom: break;
  }
  return applicationTitle;
}

std::string ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case mbYes: return "&Yes";
    case mbNo: return "&No";
    case mbOK: return "&Ok";
    case mbCancel: return "Cancel";
    case mbAbort: return "&Abort";
    case mbRetry: return "&Retry";
    case mbIgnore: return "&Ignore";
    case mbAll: return "&All";
    case mbHelp: return "&Help";
  }
  return {};
}

int ButtonResult(TMsgDlgBtn button) {
  switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbHelp: return mrNone;
  }
  return mrNone;
}

TDialogLayout LayoutDialog(int textWidth, int textHeight, TMsgDlgButtons buttons) {
  TDialogLayout layout;
  layout.height = textHeight + 100;
  layout.width = textWidth + 100;
  int count = 0;
  for (TMsgDlgBtn b : kButtonOrder)
    if (buttons & b) ++count;
  if (100 * count > layout.width) layout.width = 100 * count + 8;
  // Rounded to the nearest integer, a half to the even neighbour.
  const int spacing =
      static_cast<int>(std::nearbyint(static_cast<double>(layout.width) / (count + 1)));
  int n = 0;
  for (TMsgDlgBtn b : kButtonOrder) {
    if (!(buttons & b)) continue;
    ++n;
    layout.buttons.push_back({b, spacing * n - 45, layout.height - 60, 65, 25});
  }
  return layout;
}

int TScriptedAnswerer::Show(const std::string& text, TMsgDlgType type, int helpContext,
                            TMsgDlgButtons buttons) {
  calls_.push_back({text, type, helpContext, buttons});
  if (answers_.empty()) return mrClosed;
  int result = answers_.front();
  answers_.pop_front();
  return result;
}

}  // namespace qs
