#pragma once

#include <functional>
#include <string>

namespace corvane {

// Asks the device owner to confirm with biometrics or the passcode before a protected setting
// changes. Every answer comes back on the main thread; the outcome is logged.
class KSDeviceOwnerAuthentication {
  public:
    using Reply = std::function<void(bool success)>;

    // reply when the owner was asked; unavailable instead when the device cannot ask (nothing
    // set up).
    static void authenticate(const std::string& reason, Reply reply,
                             std::function<void()> unavailable);
};

}  // namespace corvane
