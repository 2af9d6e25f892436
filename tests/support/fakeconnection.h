// An internet connection whose state a test sets; dialling and hanging up do nothing.
#pragma once

#include "platform/internetconnection.h"

namespace qs::test {

class FakeConnection : public IInternetConnection {
 public:
  bool connected = true;
  bool Connected() override { return connected; }
  bool Dial(int) override { return false; }
  bool HangUp() override { return false; }
};

}  // namespace qs::test
