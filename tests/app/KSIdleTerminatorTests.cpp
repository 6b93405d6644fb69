#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/launch/KSIdleTerminator.h"
#include "foundation/Dispatch.h"
#include "support/MainLoop.h"
#include "uikit/Application.h"

namespace corvane::testing {
namespace {

class TerminationRecorder : public uikit::ApplicationDelegate {
  public:
    void willTerminate() override { terminated = true; }
    bool terminated = false;
};

class KSIdleTerminatorTests : public ::testing::Test {
  protected:
    void SetUp() override { uikit::Application::shared().setDelegate(recorder_); }

    // Moves the clock in steps of one check, giving the global queues a moment between steps.
    bool terminatesWithin(double clockSeconds) {
        for (double moved = 0; moved < clockSeconds && !recorder_->terminated;
             moved += KSIdleTerminator::kCheckIntervalSeconds) {
            testing_support::advanceClock(KSIdleTerminator::kCheckIntervalSeconds);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return recorder_->terminated;
    }

    std::shared_ptr<TerminationRecorder> recorder_ = std::make_shared<TerminationRecorder>();
    std::atomic<bool> pendingWork_ = false;
    std::shared_ptr<KSIdleTerminator> terminator_ =
        std::make_shared<KSIdleTerminator>([this] { return pendingWork_.load(); });
};

TEST_F(KSIdleTerminatorTests, PendingWorkKeepsTheApplicationRunning) {
    pendingWork_ = true;
    terminator_->start();
    EXPECT_FALSE(terminatesWithin(5));

    pendingWork_ = false;
    EXPECT_TRUE(terminatesWithin(5));
}

// The startup refresh waits on a timer of the run loop: until it has fired nothing is at rest.
TEST_F(KSIdleTerminatorTests, ATimerStillToFireKeepsTheApplicationRunning) {
    bool fired = false;
    foundation::runOnMainAfter(3, [&] { fired = true; });
    terminator_->start();
    EXPECT_FALSE(terminatesWithin(2.5));
    EXPECT_TRUE(terminatesWithin(5));
    EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace corvane::testing
