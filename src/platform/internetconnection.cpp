#include "platform/internetconnection.h"

#include <QNetworkInformation>

namespace qs {

bool TPlatformInternetConnection::Connected() {
  static const bool loaded =
      QNetworkInformation::load(QNetworkInformation::Feature::Reachability);
  QNetworkInformation* info = loaded ? QNetworkInformation::instance() : nullptr;
  if (!info) return true;
  return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

bool TPlatformInternetConnection::Dial(int) { return false; }
bool TPlatformInternetConnection::HangUp() { return false; }

}  // namespace qs
