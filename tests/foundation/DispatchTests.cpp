#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "foundation/Dispatch.h"
#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"

using namespace foundation;
using testing_support::advanceClock;
using testing_support::pumpUntil;

TEST(Dispatch, RunOnMainRunsAtOnceOnMainAndLaterFromAnotherThread) {
    bool ranInline = false;
    runOnMain([&] { ranInline = true; });
    EXPECT_TRUE(ranInline);

    std::atomic<bool> ran = false;
    std::atomic<bool> onMain = false;
    std::thread other([&] {
        runOnMain([&] {
            onMain = isMainThread();
            ran = true;
        });
    });
    other.join();
    EXPECT_FALSE(ran) << "a block from another thread must wait for the main loop";
    pumpUntil([&] { return ran.load(); });
    EXPECT_TRUE(onMain);
}

TEST(Dispatch, AsyncOnMainWaitsForTheNextTurnEvenOnMain) {
    bool ran = false;
    runAsyncOnMain([&] { ran = true; });
    EXPECT_FALSE(ran);
    RunLoop::main().runOnce();
    EXPECT_TRUE(ran);
}

TEST(Dispatch, DelayFiresWhenTheClockHasMovedAndNotBefore) {
    bool fired = false;
    runOnMainAfter(3.0, [&] { fired = true; });
    RunLoop::main().runOnce();
    advanceClock(2.9);
    EXPECT_FALSE(fired);
    advanceClock(0.2);
    EXPECT_TRUE(fired);
}

TEST(Dispatch, TimersFireInOrderAndCancelledOnesNever) {
    std::vector<int> order;
    auto& loop = RunLoop::main();
    loop.schedule(2, [&] { order.push_back(2); });
    auto cancelled = loop.schedule(1.5, [&] { order.push_back(99); });
    loop.schedule(1, [&] { order.push_back(1); });
    loop.cancelTimer(cancelled);
    advanceClock(5);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(loop.isIdle());
}

TEST(Dispatch, ATimerCancelledDuringTheTurnItCameDueInNeverFires) {
    auto& loop = RunLoop::main();
    std::vector<std::string> fired;
    RunLoop::TimerID first = 0;
    RunLoop::TimerID second = 0;
    first = loop.schedule(0.5, [&] {
        fired.push_back("first");
        loop.cancelTimer(second);
    });
    second = loop.schedule(1, [&] {
        fired.push_back("second");
        loop.cancelTimer(first);
    });
    advanceClock(1);
    EXPECT_EQ(fired, std::vector<std::string>{"first"}) << "the first to fire cancels the other";

    // A block of the turn runs before its timers, and a timer may end a repeating one.
    fired.clear();
    auto repeating = loop.scheduleRepeating(1, [&] { fired.push_back("repeating"); });
    auto byBlock = loop.schedule(1, [&] { fired.push_back("by block"); });
    loop.schedule(0.5, [&] { loop.cancelTimer(repeating); });
    loop.perform([&] { loop.cancelTimer(byBlock); });
    advanceClock(1);
    advanceClock(5);
    EXPECT_TRUE(fired.empty()) << fired.front();
    EXPECT_TRUE(loop.isIdle());
}

// A block may hold the last reference to an object that cancels timers of its own as it goes.
TEST(Dispatch, ACancelledTimersBlockIsLetGoOfOutsideTheLoopsLock) {
    struct CancelsOnItsWay {
        RunLoop::TimerID other = 0;
        ~CancelsOnItsWay() { RunLoop::main().cancelTimer(other); }
    };
    auto& loop = RunLoop::main();
    auto owner = std::make_shared<CancelsOnItsWay>();
    owner->other = loop.schedule(5, [] {});
    const auto holding = loop.schedule(5, [owner] {});
    owner.reset();
    loop.cancelTimer(holding);
    EXPECT_TRUE(loop.isIdle()) << "both timers are gone";
}

TEST(Dispatch, DroppedWorkNeverRunsAndLetsGoOfWhatItHeld) {
    auto& loop = RunLoop::main();
    auto held = std::make_shared<int>(1);
    bool ran = false;
    loop.perform([&ran, held] { ran = true; });
    loop.schedule(1, [&ran, held] { ran = true; });
    loop.scheduleRepeating(1, [&ran, held] { ran = true; });
    std::weak_ptr<int> watched = held;
    held.reset();

    loop.dropPendingWork();
    EXPECT_TRUE(watched.expired());
    EXPECT_TRUE(loop.isIdle());
    advanceClock(5);
    EXPECT_FALSE(ran);

    // A thread waiting for its block on the main thread goes on when the block is dropped.
    std::atomic<bool> waited = false;
    std::thread waiting([&] {
        runOnMainAndWait([&ran] { ran = true; });
        waited = true;
    });
    while (!waited) {
        loop.dropPendingWork();
        std::this_thread::yield();
    }
    waiting.join();
    EXPECT_TRUE(waited);
    EXPECT_FALSE(ran);
}

TEST(Dispatch, BlocksQueuedDuringATurnRunOnTheNextTurn) {
    int turns = 0;
    std::function<void()> again = [&] {
        if (++turns < 3)
            runAsyncOnMain(again);
    };
    runAsyncOnMain(again);
    RunLoop::main().runOnce();
    EXPECT_EQ(turns, 1);
    RunLoop::main().runOnce();
    EXPECT_EQ(turns, 2);
    // The last block queues nothing more: nothing is left for the next test.
    RunLoop::main().runOnce();
    EXPECT_EQ(turns, 3);
}

TEST(Dispatch, BackgroundQueuesRunOffMainAndMainAndWaitReturnsAfterTheBlock) {
    std::atomic<bool> offMain = false;
    std::atomic<bool> done = false;
    std::atomic<int> value = 0;
    runInBackground([&] {
        offMain = !isMainThread();
        runOnMainAndWait([&] { value = 7; });
        EXPECT_EQ(value.load(), 7);
        done = true;
    });
    pumpUntil([&] { return done.load(); });
    EXPECT_TRUE(offMain);
}

TEST(Dispatch, SerialQueueKeepsOrder) {
    DispatchQueue serial("serial", 1);
    std::vector<int> seen;
    for (int i = 0; i < 100; ++i)
        serial.async([&seen, i] { seen.push_back(i); });
    serial.sync([] {});
    ASSERT_EQ(seen.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(seen[i], i);
}
