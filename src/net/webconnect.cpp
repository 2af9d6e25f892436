#include "net/webconnect.h"

namespace qs {

void TWebConnect::SetConnect(bool wanted) {
  connect_ = wanted;
  if (!active_) return;
  if (wanted) {
    if (!connection_.Connected()) connection_.Dial(prompt_ ? kDialWithPrompt : kDialUnattended);
  } else if (connection_.Connected()) {
    connection_.HangUp();
  }
}

}  // namespace qs
