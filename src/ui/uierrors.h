// The boundary of a user command in the windows: a failure the behaviour throws (a file that
// cannot be read or written, a value that cannot be converted) is shown, and the command ends.
#pragma once

#include <exception>
#include <utility>

#include "app/dialogs.h"

namespace qs {

template <class F>
bool Guarded(IDialogs& dialogs, F&& command) {
  try {
    std::forward<F>(command)();
    return true;
  } catch (const std::exception& e) {
    dialogs.Message(e.what(), TMsgDlgType::Error);
    return false;
  }
}

}  // namespace qs
