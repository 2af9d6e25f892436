// The dial-up connection the scheduler may make: dialling and hanging up happen only while
// Active, and only when they would change the connection's state.
#pragma once

#include "platform/internetconnection.h"

namespace qs {

class TWebConnect {
 public:
  explicit TWebConnect(IInternetConnection& connection) : connection_(connection) {}

  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  // Dial with the user's confirmation rather than unattended.
  bool Prompt() const { return prompt_; }
  void SetPrompt(bool v) { prompt_ = v; }
  // The wanted state. Wanting a connection dials when none is up; not wanting one hangs up
  // when one is up. Either only while Active; the outcome of dialling is not reported.
  bool Connect() const { return connect_; }
  void SetConnect(bool wanted);

 private:
  IInternetConnection& connection_;
  bool active_ = false;
  bool prompt_ = false;
  bool connect_ = false;
};

}  // namespace qs
