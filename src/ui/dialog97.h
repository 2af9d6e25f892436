// The one message and question dialog of the desktop program: a small modal window built
// around the text, laid out by LayoutDialog, returning the pressed button's result.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/dialogs.h"

class QLabel;

namespace qs {

class TDialog97 : public QDialog, public IDialogs {
  Q_OBJECT
 public:
  explicit TDialog97(QWidget* parent = nullptr);

  // The caption of the Custom type.
  std::string applicationTitle;

  // Replaces the four settings for the call and restores them afterwards.
  int Show(const std::string& text, TMsgDlgType type, int helpContext,
           TMsgDlgButtons buttons) override;

  // Help was pressed: open the help topic of the context (the dialog stays open).
  std::function<void(int helpContext)> OnHelp;
  // Called with the dialog built and shown, before it waits (tests answer from here).
  std::function<void(TDialog97&)> OnShown;

  // Presses a button as the user would (tests and keyboard).
  void Press(TMsgDlgBtn button);

  void reject() override { done(mrClosed); }

 private:
  void Build();
  void showEvent(QShowEvent* event) override;

  std::string message_ = "Message";
  TMsgDlgType type_ = TMsgDlgType::Information;
  TMsgDlgButtons buttons_ = mbOK;
  int helpContext_ = 0;
};

}  // namespace qs
