// Messages and questions on the terminal: the text goes to the error stream; a question
// reads its answer from the input stream, and no answer (end of input) counts as a closed
// window.
#pragma once

#include <iosfwd>
#include <string>

#include "app/dialogs.h"

namespace qs {

class TTerminalAnswerer : public IDialogs {
 public:
  TTerminalAnswerer(std::istream& in, std::ostream& err, std::string applicationTitle)
      : in_(in), err_(err), title_(std::move(applicationTitle)) {}

  int Show(const std::string& text, TMsgDlgType type, int helpContext,
           TMsgDlgButtons buttons) override;

  // The message as plain text: "<br>" becomes a line break and other tags are dropped.
  static std::string PlainText(const std::string& html);

 private:
  std::istream& in_;
  std::ostream& err_;
  std::string title_;
};

}  // namespace qs
