#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "foundation/BlockOperation.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "support/Gate.h"
#include "support/MainLoop.h"

using namespace foundation;
using testing_support::pumpUntil;

namespace {

using testing_support::Gate;

// Waits in real time for a condition that other threads make true.
bool eventually(const std::function<bool()>& condition) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Holds its slot after main() returns, until the test finishes it.
class WaitingOperation : public Operation {
  public:
    bool isAsynchronous() const override { return true; }
    void finishNow() { finish(); }
    std::atomic<bool> started = false;

  protected:
    void main() override { started = true; }
};

}  // namespace

TEST(OperationQueue, NeverRunsMoreThanItsLimitAtOnce) {
    OperationQueue queue("limited");
    queue.setMaxConcurrentOperationCount(3);
    std::atomic<int> running = 0;
    std::atomic<int> peak = 0;
    std::atomic<int> done = 0;
    Gate gate;
    for (int i = 0; i < 12; ++i) {
        queue.addOperationWithBlock([&] {
            int now = ++running;
            int seen = peak;
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            gate.pass();
            --running;
            ++done;
        });
    }
    ASSERT_TRUE(eventually([&] { return running == 3; }));
    EXPECT_EQ(queue.operationCount(), 12u);
    gate.open();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(done, 12);
    EXPECT_EQ(peak, 3);
    EXPECT_EQ(queue.operationCount(), 0u);
}

TEST(OperationQueue, CancelledOperationsFinishWithoutRunningMain) {
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);
    Gate gate;
    queue.addOperationWithBlock([&] { gate.pass(); });

    std::vector<int> ran;
    std::mutex ranMutex;
    std::vector<std::shared_ptr<Operation>> waiting;
    std::atomic<int> completions = 0;
    for (int i = 0; i < 5; ++i) {
        auto operation = std::make_shared<BlockOperation>([&, i] {
            std::lock_guard lock(ranMutex);
            ran.push_back(i);
        });
        operation->setCompletionBlock([&] { ++completions; });
        waiting.push_back(operation);
        queue.addOperation(operation);
    }
    waiting[1]->cancel();
    waiting[3]->cancel();
    gate.open();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ran, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(completions, 5);
    for (const auto& operation : waiting)
        EXPECT_TRUE(operation->isFinished());

    Gate second;
    auto longRunning = std::make_shared<BlockOperation>([&] { second.pass(); });
    std::atomic<bool> laterRan = false;
    queue.addOperation(longRunning);
    queue.addOperationWithBlock([&] { laterRan = true; });
    ASSERT_TRUE(eventually([&] { return longRunning->isExecuting(); }));
    queue.cancelAllOperations();
    EXPECT_TRUE(longRunning->isCancelled());
    second.open();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(laterRan);
}

TEST(OperationQueue, ObserversSeeEveryAddAndFinish) {
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);
    std::mutex mutex;
    std::vector<OperationQueue::OperationList> seen;
    auto token =
        queue.observableOperations().observe([&](const OperationQueue::OperationList& list) {
            std::lock_guard lock(mutex);
            seen.push_back(list);
        });
    auto seenCount = [&] {
        std::lock_guard lock(mutex);
        return seen.size();
    };

    Gate firstGate, secondGate;
    auto first = std::make_shared<BlockOperation>([&] { firstGate.pass(); });
    auto second = std::make_shared<BlockOperation>([&] { secondGate.pass(); });
    queue.addOperation(first);
    queue.addOperation(second);
    ASSERT_EQ(seenCount(), 2u);
    firstGate.open();
    ASSERT_TRUE(eventually([&] { return seenCount() == 3; }));
    secondGate.open();
    ASSERT_TRUE(eventually([&] { return seenCount() == 4; }));

    std::lock_guard lock(mutex);
    using List = OperationQueue::OperationList;
    EXPECT_EQ(seen[0], (List{first}));
    EXPECT_EQ(seen[1], (List{first, second}));
    EXPECT_EQ(seen[2], (List{second}));
    EXPECT_EQ(seen[3], List{});
}

TEST(OperationQueue, AsynchronousOperationsHoldTheirSlotUntilTheyFinish) {
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);
    auto waiting = std::make_shared<WaitingOperation>();
    std::atomic<bool> nextRan = false;
    std::atomic<bool> completed = false;
    waiting->setCompletionBlock([&] { completed = true; });
    queue.addOperation(waiting);
    queue.addOperationWithBlock([&] { nextRan = true; });
    ASSERT_TRUE(eventually([&] { return waiting->started.load(); }));
    EXPECT_TRUE(waiting->isExecuting());
    EXPECT_FALSE(nextRan);
    EXPECT_EQ(queue.operationCount(), 2u);

    waiting->finishNow();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(nextRan);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(waiting->isFinished());
    EXPECT_FALSE(waiting->isExecuting());

    auto cancelledEarly = std::make_shared<WaitingOperation>();
    cancelledEarly->cancel();
    queue.addOperation(cancelledEarly);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(cancelledEarly->started);
    EXPECT_TRUE(cancelledEarly->isFinished());
}

TEST(OperationQueue, TheMainQueueRunsOnTheMainRunLoop) {
    auto main = OperationQueue::mainQueue();
    bool ran = false;
    bool onMain = false;
    main->addOperationWithBlock([&] {
        ran = true;
        onMain = isMainThread();
    });
    EXPECT_FALSE(ran) << "the main queue runs its work on a later turn of the loop";
    pumpUntil([&] { return ran; });
    EXPECT_TRUE(onMain);
    pumpUntil([&] { return main->operationCount() == 0; });
}

TEST(OperationQueue, AnOperationJoinsOneQueueOnly) {
    OperationQueue first, second;
    std::atomic<int> runs = 0;
    auto operation = std::make_shared<BlockOperation>([&] { ++runs; });
    first.addOperation(operation);
    second.addOperation(operation);
    first.waitUntilAllOperationsAreFinished();
    second.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(second.operationCount(), 0u);
}
