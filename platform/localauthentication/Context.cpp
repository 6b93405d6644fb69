#include "localauthentication/Context.h"

#include <mutex>

#include "foundation/Dispatch.h"

namespace localauthentication {

namespace {

std::mutex mutex;
std::optional<ErrorCode> unavailableReason;
std::optional<ErrorCode> evaluationFailure;

foundation::Error errorFor(ErrorCode code) {
    switch (code) {
        case AuthenticationFailed:
            return foundation::Error::make(kErrorDomain, code, "Authentication failed.");
        case UserCancel:
            return foundation::Error::make(kErrorDomain, code, "Canceled by user.");
        case UserFallback:
            return foundation::Error::make(kErrorDomain, code, "Fallback authentication chosen.");
        case SystemCancel:
            return foundation::Error::make(kErrorDomain, code, "Canceled by the system.");
        case PasscodeNotSet:
            return foundation::Error::make(kErrorDomain, code, "Passcode not set.");
        case BiometryNotAvailable:
            return foundation::Error::make(kErrorDomain, code, "Biometry is not available.");
        case BiometryNotEnrolled:
            return foundation::Error::make(kErrorDomain, code, "No identities are enrolled.");
    }
    return foundation::Error::make(kErrorDomain, code);
}

}  // namespace

bool Context::canEvaluatePolicy(Policy, foundation::Error* error) const {
    std::lock_guard lock(mutex);
    if (!unavailableReason)
        return true;
    if (error)
        *error = errorFor(*unavailableReason);
    return false;
}

void Context::evaluatePolicy(Policy policy, const std::string&, Reply reply) {
    std::optional<foundation::Error> failure;
    if (foundation::Error unavailable; !canEvaluatePolicy(policy, &unavailable)) {
        failure = std::move(unavailable);
    } else if (std::lock_guard lock(mutex); evaluationFailure) {
        failure = errorFor(*evaluationFailure);
    }
    foundation::runInBackground(
        [reply = std::move(reply), failure = std::move(failure)] { reply(!failure, failure); });
}

void Context::setUnavailableReason(std::optional<ErrorCode> reason) {
    std::lock_guard lock(mutex);
    unavailableReason = reason;
}

void Context::setEvaluationFailure(std::optional<ErrorCode> failure) {
    std::lock_guard lock(mutex);
    evaluationFailure = failure;
}

}  // namespace localauthentication
