// What the application delegate presents and checks for through the parts it holds, once
// launched as the platform launches it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/LaunchFixture.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "support/HttpServer.h"
#include "uikit/NavigationController.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using usernotifications::UserNotificationCenter;

class KSCorvanePresentationsTests : public LaunchFixture {
  protected:
    std::shared_ptr<uikit::ViewController> presentedScreen() {
        advanceClock(1);
        auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(
            window_->topmostPresentedViewController());
        return navigation ? navigation->topViewController() : nullptr;
    }
};

TEST_F(KSCorvanePresentationsTests, TheQueueAndTheTasksOpenThroughTheTabBar) {
    launch();
    waitUntilAtRest();
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::taskList, [](const auto&) {
        auto tasks = std::make_shared<uikit::ViewController>();
        tasks->setTitle("Tasks");
        return tasks;
    });
    auto presentations = delegate_->presentations();

    presentations->presentQueue();
    EXPECT_TRUE(std::dynamic_pointer_cast<PackagesConfirmationViewController>(presentedScreen()));
    window_->rootViewController()->dismiss(false);
    waitUntilAtRest();
    advanceClock(1);

    presentations->presentTasks();
    auto tasks = presentedScreen();
    ASSERT_TRUE(tasks);
    EXPECT_EQ(tasks->title(), "Tasks");
    window_->rootViewController()->dismiss(false);
    advanceClock(1);

    // Without the tab bar there is nothing to present from.
    window_->setRootViewController(std::make_shared<uikit::ViewController>());
    presentations->presentQueue();
    EXPECT_EQ(presentedScreen(), nullptr);
}

TEST_F(KSCorvanePresentationsTests, TheDelegateKeepsItsNewsCheckGoing) {
    testing_support::HttpServer service;
    service.route("/api/news", {.body = R"([{"id": 1, "title": "Welcome"}])",
                                .contentType = "application/json"});
    service.start();
    setenv(KSWebServiceAddress::kEnvironmentVariable, service.url("/api").c_str(), 1);
    UserNotificationCenter::current().setAuthorizationAnswer(true);
    launch();
    waitUntilAtRest();

    delegate_->checkForNews();
    ASSERT_TRUE(pumpUntil([] {
        auto pending = UserNotificationCenter::current().pendingRequests();
        return pending.size() == 1 && pending[0].content.title == "News";
    }));
    EXPECT_TRUE(delegate_->state()->newsNotification);
    auto newsRequests = [&service] {
        return std::ranges::count(service.requests(), std::string("/api/news"),
                                  &testing_support::CapturedRequest::path);
    };
    const auto before = newsRequests();
    advanceClock(KSNewsCheck::kIntervalSeconds);
    EXPECT_TRUE(pumpUntil([&] { return newsRequests() == before + 1; }))
        << "the check goes on two minutes later: the delegate keeps it alive";
    waitUntilAtRest();
    testing_support::pumpFor(0.2);
}

}  // namespace
}  // namespace corvane::testing
