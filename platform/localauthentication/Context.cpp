#include "localauthentication/Context.h"

#include "foundation/Dispatch.h"
#include "foundation/ProcessValue.h"

namespace localauthentication {

namespace {

foundation::ProcessValue<std::optional<ErrorCode>> unavailableReason;
foundation::ProcessValue<std::optional<ErrorCode>> evaluationFailure;

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
    const auto reason = unavailableReason.get();
    if (!reason)
        return true;
    if (error)
        *error = errorFor(*reason);
    return false;
}

void Context::evaluatePolicy(Policy policy, const std::string&, Reply reply) {
    std::optional<foundation::Error> failure;
    if (foundation::Error unavailable; !canEvaluatePolicy(policy, &unavailable)) {
        failure = std::move(unavailable);
    } else if (const auto set = evaluationFailure.get()) {
        failure = errorFor(*set);
    }
    foundation::runInBackground(
        [reply = std::move(reply), failure = std::move(failure)] { reply(!failure, failure); });
}

void Context::setUnavailableReason(std::optional<ErrorCode> reason) {
    unavailableReason.set(reason);
}

void Context::setEvaluationFailure(std::optional<ErrorCode> failure) {
    evaluationFailure.set(failure);
}

}  // namespace localauthentication
