// The system's internet connection: whether one is up, and dialling one up or hanging it up
// where the system dials.
#pragma once

namespace qs {

// Dialling flags: ask the user before going online, or dial unattended.
inline constexpr int kDialWithPrompt = 1;
inline constexpr int kDialUnattended = 2;

class IInternetConnection {
 public:
  virtual ~IInternetConnection() = default;
  virtual bool Connected() = 0;
  // True when a connection was made / hung up.
  virtual bool Dial(int flag) = 0;
  virtual bool HangUp() = 0;
};

// This platform: reachability as QNetworkInformation reports it, "connected" when it cannot
// tell; there is no dialling, so Dial and HangUp do nothing and report failure.
class TPlatformInternetConnection : public IInternetConnection {
 public:
  bool Connected() override;
  bool Dial(int flag) override;
  bool HangUp() override;
};

}  // namespace qs
