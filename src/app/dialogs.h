// Messages and questions. Behaviour objects never show anything themselves: they call
// Show() on the one dialog interface, which the desktop program, the command line and the
// tests each implement.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace qs {

enum class TMsgDlgType { Warning, Error, Information, Confirmation, Custom };

// Buttons in the order in which they are laid out.
enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbHelp = 1u << 8,  // opens the help topic of the help context; does not close the dialog
};
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgBtn kButtonOrder[] = {mbYes,   mbNo,    mbOK,     mbCancel, mbAbort,
                                              mbRetry, mbIgnore, mbAll,   mbHelp};

// Results. Closing the window without pressing a button gives mrCancel.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrAll = 8;
inline constexpr int mrClosed = mrCancel;

// "Warning", "Error", "Information", "Confirmation"; Custom shows the application title.
std::string DialogCaption(TMsgDlgType type, const std::string& applicationTitle);
// "&Yes", "&No", "&Ok", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "&Help".
std::string ButtonCaption(TMsgDlgBtn button);
// The result a button returns (mrNone for Help, which does not close the dialog).
int ButtonResult(TMsgDlgBtn button);

struct TButtonPlace {
  TMsgDlgBtn button;
  int left, top, width, height;
};

struct TDialogLayout {
  int width = 0, height = 0;
  int labelLeft = 60, labelTop = 8;
  std::vector<TButtonPlace> buttons;
};

// Lays the dialog out around a message whose measured size is textWidth × textHeight.
TDialogLayout LayoutDialog(int textWidth, int textHeight, TMsgDlgButtons buttons);

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual int Show(const std::string& text, TMsgDlgType type, int helpContext,
                   TMsgDlgButtons buttons) = 0;

  // The two uses: a message (result ignored) and a question (true only for Yes).
  void Message(const std::string& text, TMsgDlgType type = TMsgDlgType::Error) {
    Show(text, type, 0, mbOK);
  }
  bool Ask(const std::string& text) {
    return Show(text, TMsgDlgType::Confirmation, 0, mbYes | mbNo) == mrYes;
  }
};

// Answers from a script, in order, and records every call. With the script used up it
// answers as a closed window.
class TScriptedAnswerer : public IDialogs {
 public:
  struct Call {
    std::string text;
    TMsgDlgType type;
    int helpContext;
    TMsgDlgButtons buttons;
  };

  void Answer(int result) { answers_.push_back(result); }
  int Show(const std::string& text, TMsgDlgType type, int helpContext,
           TMsgDlgButtons buttons) override;
  const std::vector<Call>& Calls() const { return calls_; }

 private:
  std::deque<int> answers_;
  std::vector<Call> calls_;
};

}  // namespace qs
