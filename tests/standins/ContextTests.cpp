#include <gtest/gtest.h>

#include <atomic>

#include "foundation/RunLoop.h"
#include "localauthentication/Context.h"
#include "support/MainLoop.h"

using namespace localauthentication;
using testing_support::pumpUntil;

namespace {

struct Outcome {
    std::atomic<bool> arrived = false;
    std::atomic<bool> onMain = true;
    bool success = false;
    std::optional<foundation::Error> error;
};

void evaluate(Outcome& outcome) {
    Context().evaluatePolicy(Policy::DeviceOwnerAuthentication, "Reason",
                             [&](bool success, std::optional<foundation::Error> error) {
                                 outcome.success = success;
                                 outcome.error = std::move(error);
                                 outcome.onMain = foundation::isMainThread();
                                 outcome.arrived = true;
                             });
}

}  // namespace

TEST(LocalAuthentication, ReplyArrivesOffTheMainThreadWithTheSetOutcome) {
    Outcome succeeded;
    evaluate(succeeded);
    pumpUntil([&] { return succeeded.arrived.load(); });
    EXPECT_TRUE(succeeded.success);
    EXPECT_FALSE(succeeded.error);
    EXPECT_FALSE(succeeded.onMain);

    Context::setEvaluationFailure(UserCancel);
    Outcome cancelled;
    evaluate(cancelled);
    pumpUntil([&] { return cancelled.arrived.load(); });
    EXPECT_FALSE(cancelled.success);
    ASSERT_TRUE(cancelled.error);
    EXPECT_EQ(cancelled.error->domain, kErrorDomain);
    EXPECT_EQ(cancelled.error->code, UserCancel);
    EXPECT_FALSE(cancelled.onMain);
}

TEST(LocalAuthentication, UnavailablePolicyCannotBeEvaluatedAndNeverSucceeds) {
    foundation::Error error;
    EXPECT_TRUE(Context().canEvaluatePolicy(Policy::DeviceOwnerAuthentication, &error));

    Context::setUnavailableReason(PasscodeNotSet);
    EXPECT_FALSE(Context().canEvaluatePolicy(Policy::DeviceOwnerAuthentication, &error));
    EXPECT_EQ(error.code, PasscodeNotSet);
    EXPECT_FALSE(Context().canEvaluatePolicy(Policy::DeviceOwnerAuthentication));

    Outcome outcome;
    evaluate(outcome);
    pumpUntil([&] { return outcome.arrived.load(); });
    EXPECT_FALSE(outcome.success) << "evaluating what cannot be evaluated must not succeed";
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, PasscodeNotSet);
}
