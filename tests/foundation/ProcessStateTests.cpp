#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Dispatch.h"
#include "foundation/OperationQueue.h"
#include "foundation/ProcessState.h"
#include "foundation/ProcessValue.h"
#include "foundation/RunLoop.h"
#include "foundation/SharedInstance.h"
#include "foundation/URLError.h"
#include "foundation/URLSession.h"
#include "support/HttpServer.h"

using namespace foundation;

namespace {

struct Counter {
    int value = 0;
};

// Registrations last as long as the process, so each piece is made once for every test here.
SharedInstance<Counter>& sharedCounter() {
    static auto* counter = new SharedInstance<Counter>([] { return std::make_shared<Counter>(); });
    return *counter;
}

ProcessValue<std::vector<std::string>>& sharedNames() {
    static auto* names = new ProcessValue<std::vector<std::string>>({"first"});
    return *names;
}

// Background work a test holds open: the reset waits for it and gives up after its limit.
std::atomic<bool>& workHeldOpen() {
    static std::atomic<bool> held = false;
    [[maybe_unused]] static const bool registered =
        ProcessState::registerWork("work held open by a test", [] { return !held.load(); });
    return held;
}

}  // namespace

TEST(ProcessState, AResetMakesEverySharedPieceFreshAgain) {
    auto counter = sharedCounter().pointer();
    counter->value = 5;
    EXPECT_EQ(sharedCounter().get().value, 5) << "one instance until the reset";
    sharedNames().update([](auto& names) { names.push_back("second"); });

    auto standIn = std::make_shared<Counter>();
    standIn->value = 42;
    sharedCounter().replace(standIn);
    EXPECT_EQ(sharedCounter().get().value, 42);

    std::weak_ptr<Counter> replaced = standIn;
    standIn.reset();
    counter.reset();
    EXPECT_TRUE(ProcessState::reset());
    EXPECT_TRUE(replaced.expired()) << "the reset lets go of the instance in use";
    EXPECT_EQ(sharedCounter().existing(), nullptr) << "nothing is made until it is used";
    EXPECT_EQ(sharedCounter().get().value, 0);
    EXPECT_EQ(sharedNames().get(), std::vector<std::string>{"first"});
}

TEST(ProcessState, WorkQueuedOnTheMainLoopIsDroppedAndBackgroundWorkEndsFirst) {
    bool ran = false;
    runAsyncOnMain([&ran] { ran = true; });
    runOnMainAfter(1, [&ran] { ran = true; });

    // A background block that waits for the main thread holds the reset only until its block
    // is dropped.
    std::atomic<bool> backgroundEnded = false;
    runInBackground([&] {
        runOnMainAndWait([&ran] { ran = true; });
        backgroundEnded = true;
    });
    auto main = OperationQueue::mainQueue();
    main->addOperationWithBlock([&ran] { ran = true; });

    EXPECT_TRUE(ProcessState::reset());
    EXPECT_TRUE(backgroundEnded);
    EXPECT_TRUE(RunLoop::main().isIdle());
    EXPECT_NE(OperationQueue::mainQueue(), main) << "the main queue starts afresh";
    RunLoop::main().runOnce();
    EXPECT_FALSE(ran);
}

TEST(ProcessState, WorkThatDoesNotEndFailsTheResetAfterItsLimit) {
    workHeldOpen() = true;
    testing::internal::CaptureStderr();
    const bool reset = ProcessState::reset(0.05);
    const auto said = testing::internal::GetCapturedStderr();
    workHeldOpen() = false;
    EXPECT_FALSE(reset);
    EXPECT_NE(said.find("work held open by a test still running"), std::string::npos) << said;
    EXPECT_TRUE(ProcessState::reset());
}

TEST(ProcessState, ALoadStillUnderWayIsCancelledAndItsHandlerRunsBeforeTheResetEnds) {
    testing_support::HttpServer server;
    testing_support::CannedResponse slow;
    slow.delaySeconds = 30;
    server.route("/slow", slow);
    server.start();
    URLSession session(URLSessionConfiguration::ephemeralSessionConfiguration());
    std::atomic<long> code = 0;
    auto task = session.dataTaskWithURL(
        *URL::withString(server.url("/slow")),
        [&code](auto, auto, auto error) { code = error ? error->code : 200; });
    task->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !server.requests().empty(); }, 10));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(ProcessState::reset());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(code.load(), URLError::Cancelled);
}

TEST(ProcessState, TheTestProgramPutsTheEnvironmentBack) {
    ASSERT_TRUE(std::getenv("PATH"));
    const std::string pathAtStart = std::getenv("PATH");
    setenv("CORVANE_SET_BY_A_TEST", "yes", 1);
    setenv("PATH", "/nowhere", 1);
    EXPECT_TRUE(ProcessState::reset());
    EXPECT_EQ(std::getenv("CORVANE_SET_BY_A_TEST"), nullptr);
    ASSERT_TRUE(std::getenv("PATH"));
    EXPECT_EQ(std::string(std::getenv("PATH")), pathAtStart);
}
