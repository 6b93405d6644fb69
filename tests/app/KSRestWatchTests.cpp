#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/launch/KSRestWatch.h"
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

class KSRestWatchTests : public ::testing::Test {
  protected:
    void SetUp() override { uikit::Application::shared().setDelegate(recorder_); }

    // Moves the clock in steps of one check, giving the global queues a moment between steps.
    bool terminatesWithin(double clockSeconds) {
        for (double moved = 0; moved < clockSeconds && !recorder_->terminated;
             moved += KSRestWatch::kCheckIntervalSeconds) {
            testing_support::advanceClock(KSRestWatch::kCheckIntervalSeconds);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return recorder_->terminated;
    }

    std::shared_ptr<TerminationRecorder> recorder_ = std::make_shared<TerminationRecorder>();
    std::atomic<bool> pendingWork_ = false;
    std::shared_ptr<KSRestWatch> watch_ = std::make_shared<KSRestWatch>(
        [this] { return pendingWork_.load(); }, [] { uikit::Application::shared().terminate(); });
};

TEST_F(KSRestWatchTests, PendingWorkKeepsTheApplicationRunning) {
    pendingWork_ = true;
    watch_->start();
    EXPECT_FALSE(terminatesWithin(5));

    pendingWork_ = false;
    EXPECT_TRUE(terminatesWithin(5));
}

// The startup refresh waits on a timer of the run loop: until it has fired nothing is at rest.
TEST_F(KSRestWatchTests, ATimerStillToFireKeepsTheApplicationRunning) {
    bool fired = false;
    foundation::runOnMainAfter(3, [&] { fired = true; });
    watch_->start();
    EXPECT_FALSE(terminatesWithin(2.5));
    EXPECT_TRUE(terminatesWithin(5));
    EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace corvane::testing
