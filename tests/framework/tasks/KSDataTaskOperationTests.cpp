#include <gtest/gtest.h>

#include <atomic>

#include "foundation/OperationQueue.h"
#include "foundation/URLSession.h"
#include "framework/tasks/KSDataTaskOperation.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using testing_support::CannedResponse;
using testing_support::HttpServer;

TEST(KSDataTaskOperationTests, HoldsItsSlotUntilTheReplyAndSkipsTheCompletionOnceCancelled) {
    HttpServer server;
    server.route("/icon.png", CannedResponse{200, {}, "PNGDATA", "image/png"});
    CannedResponse slow{200, {}, "late", "text/plain"};
    slow.delaySeconds = 30;
    server.route("/slow", slow);
    server.start();
    auto session = std::make_shared<foundation::URLSession>();
    foundation::OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);

    std::atomic<int> calls = 0;
    std::string body;
    long status = 0;
    const auto iconURL = foundation::URL::withString(server.url("/icon.png"));
    const auto slowURL = foundation::URL::withString(server.url("/slow"));
    ASSERT_TRUE(iconURL && slowURL);
    auto fetch = std::make_shared<KSDataTaskOperation>(
        session, *iconURL, [&](auto data, auto response, auto error) {
            ++calls;
            if (data)
                body.assign(data->begin(), data->end());
            if (response)
                status = response->statusCode;
        });
    EXPECT_EQ(fetch->identifier(), server.url("/icon.png"));
    std::atomic<bool> slowCalled = false;
    auto slowFetch = std::make_shared<KSDataTaskOperation>(
        session, *slowURL, [&](auto, auto, auto) { slowCalled = true; });
    std::atomic<bool> neverCalled = false;
    auto cancelledEarly = std::make_shared<KSDataTaskOperation>(
        session, *iconURL, [&](auto, auto, auto) { neverCalled = true; });
    cancelledEarly->cancel();

    queue.addOperation(fetch);
    queue.addOperation(slowFetch);
    queue.addOperation(cancelledEarly);
    ASSERT_TRUE(testing_support::pumpUntil([&] { return slowFetch->isExecuting(); }));
    EXPECT_TRUE(fetch->isFinished());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(body, "PNGDATA");
    EXPECT_EQ(status, 200);

    // The slow one keeps the only slot until it is cancelled, and its completion is skipped.
    EXPECT_EQ(queue.operationCount(), 2u);
    slowFetch->cancel();
    ASSERT_TRUE(testing_support::pumpUntil([&] { return queue.operationCount() == 0; }));
    EXPECT_FALSE(slowCalled);
    EXPECT_FALSE(neverCalled);
    server.stop();
}

}  // namespace
}  // namespace corvane
