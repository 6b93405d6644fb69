#include "ui/settings/KSDeviceOwnerAuthentication.h"

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "localauthentication/Context.h"

namespace corvane {

void KSDeviceOwnerAuthentication::authenticate(const std::string& reason, Reply reply,
                                               std::function<void()> unavailable) {
    constexpr auto policy = localauthentication::Policy::DeviceOwnerAuthentication;
    localauthentication::Context context;
    foundation::Error error;
    if (!context.canEvaluatePolicy(policy, &error)) {
        KSLog("Authentication is not available: %@", error.localizedDescription());
        foundation::runOnMain(std::move(unavailable));
        return;
    }
    context.evaluatePolicy(
        policy, reason,
        [reply = std::move(reply)](bool success, std::optional<foundation::Error> failure) {
            if (failure)
                KSLog("Authentication failed: %@", failure->localizedDescription());
            else
                KSLog("Authentication succeeded");
            foundation::runOnMain([reply, success] { reply(success); });
        });
}

}  // namespace corvane
