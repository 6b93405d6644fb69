#pragma once

#include <functional>
#include <optional>
#include <string>

#include "foundation/Error.h"

namespace localauthentication {

enum class Policy : long {
    DeviceOwnerAuthenticationWithBiometrics = 1,
    DeviceOwnerAuthentication = 2,  // biometrics or passcode
};

inline constexpr const char* kErrorDomain = "localauthentication";

enum ErrorCode : long {
    AuthenticationFailed = -1,
    UserCancel = -2,
    UserFallback = -3,
    SystemCancel = -4,
    PasscodeNotSet = -5,
    BiometryNotAvailable = -6,
    BiometryNotEnrolled = -7,
};

// Asks the device owner to authenticate. Nobody is asked here: whether a policy can be evaluated
// and how an evaluation ends are process-wide settings, by default (and after the process reset)
// available and successful.
class Context {
  public:
    using Reply = std::function<void(bool success, std::optional<foundation::Error> error)>;

    // False, with the reason in error when one is given, when the device cannot ask (nothing set
    // up).
    bool canEvaluatePolicy(Policy policy, foundation::Error* error = nullptr) const;
    // The reply arrives on a background queue after this call has returned.
    void evaluatePolicy(Policy policy, const std::string& localizedReason, Reply reply);

    // nullopt makes the policy available; a code makes it unavailable for that reason.
    static void setUnavailableReason(std::optional<ErrorCode> reason);
    // nullopt makes evaluations succeed; a code makes them fail with it.
    static void setEvaluationFailure(std::optional<ErrorCode> failure);
};

}  // namespace localauthentication
