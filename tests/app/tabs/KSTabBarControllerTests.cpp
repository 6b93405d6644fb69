// The tab bar's floating panel over a device root with the real package engine: the queue count
// at rest, source refreshes held by a loopback server while they run, and what a tap opens.
#include "app/tabs/KSTabBarController.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "app/tabs/KSMainStoryboard.h"
#include "framework/StorageFixture.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "screens/KSScreens.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "support/Gate.h"
#include "support/HttpServer.h"
#include "support/Pixels.h"
#include "ui/core/KSScreenFactory.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Device.h"
#include "uikit/Hands.h"
#include "uikit/NavigationController.h"
#include "uikit/TouchSequence.h"
#include "uikit/ViewRenderer.h"
#include "uikit/Window.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

// Repositories whose requests wait until the test lets each of them through; none has anything
// to offer, so each refresh fails as soon as it is let through.
class HeldRepositories {
  public:
    static constexpr std::size_t kCount = 5;

    HeldRepositories() {
        server.setFallback([this](const testing_support::CapturedRequest& request) {
            for (std::size_t index = 0; index < kCount; ++index)
                if (request.path.starts_with("/" + std::to_string(index) + "/"))
                    gates[index].pass();
            return testing_support::CannedResponse{.status = 404};
        });
        server.start();
    }
    ~HeldRepositories() { release(kCount); }

    std::string location(std::size_t index) const {
        return server.url("/" + std::to_string(index) + "/");
    }
    // Lets the first count repositories answer.
    void release(std::size_t count) {
        for (std::size_t index = 0; index < count; ++index)
            gates[index].open();
    }

    std::array<testing_support::Gate, kCount> gates;
    testing_support::HttpServer server;
};

class KSTabBarControllerTests : public StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        KSPipelinePackageEngine::registerEngine();
        registerScreens();
        KSScreenFactory::registerScreen(KSScreenFactory::Screen::taskList, [](const auto&) {
            auto tasks = std::make_shared<uikit::ViewController>();
            tasks->setTitle("Tasks");
            return tasks;
        });
        tabs = std::dynamic_pointer_cast<KSTabBarController>(
            KSMainStoryboard::instantiateInitialViewController());
        ASSERT_TRUE(tabs);
        window->setRootViewController(tabs);
        window->makeKeyAndVisible();
        advanceClock(0);
        hud = tabs->hudView();
        ASSERT_TRUE(hud);
    }

    void TearDown() override {
        EXPECT_TRUE(pumpUntil(pipelineIsEmpty, 60));
        window->setRootViewController(nullptr);
        advanceClock(4);
    }

    static bool pipelineIsEmpty() {
        auto& manager = KSPipelineManager::sharedManager();
        return manager.tasksArray().empty() &&
               manager.pipelineOperationQueue()->operationCount() == 0;
    }

    // Refreshes the held repositories 0 to count - 1, as a refresh of all sources does.
    void refresh(HeldRepositories& held, std::size_t count) {
        std::vector<std::string> locations;
        auto database = realm();
        database.write([&] {
            for (std::size_t index = 0; index < count; ++index) {
                KSRSource source;
                source.location = held.location(index);
                database.addOrUpdateObject(source);
                locations.push_back(source.location);
            }
        });
        for (const auto& location : locations)
            ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(
                std::make_shared<KSSourceRefreshTask>(location)));
    }

    void queue(const std::string& identifier, bool queued = true) {
        store({package(identifier)});
        KSRPackageManager::sharedPackageManager().packages().setPackage(
            identifier, queued, std::nullopt, KSRQueueOperationNone);
        advanceClock(0);
    }

    // What the panel says, as a person reads it.
    std::string shown() const {
        if (hud->isHiddenInTree())
            return "(hidden)";
        return hud->primaryLabel()->text().value_or("") + " / " +
               hud->secondaryLabel()->text().value_or("");
    }
    bool waitFor(const std::string& text) {
        return pumpUntil([&] { return shown() == text; }, 30);
    }

    std::shared_ptr<uikit::ViewController> presented() {
        advanceClock(1);
        auto navigation =
            std::dynamic_pointer_cast<uikit::NavigationController>(tabs->presentedViewController());
        return navigation ? navigation->topViewController() : nullptr;
    }
    void dismissPresented() {
        tabs->dismiss(false);
        advanceClock(1);
    }

    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<KSTabBarController> tabs;
    std::shared_ptr<KSFloatingHudView> hud;
};

TEST_F(KSTabBarControllerTests, ThePanelCountsTheQueueAndATapOpensTheConfirmation) {
    EXPECT_EQ(shown(), "(hidden)");
    queue("com.example.one");
    EXPECT_EQ(shown(), "Queue / 1 Package");
    queue("com.example.two");
    EXPECT_EQ(shown(), "Queue / 2 Packages");

    ASSERT_TRUE(uikit::hands::tap(hud));
    auto confirmation = presented();
    EXPECT_TRUE(std::dynamic_pointer_cast<PackagesConfirmationViewController>(confirmation));
    EXPECT_EQ(tabs->presentedViewController()->modalPresentationStyle(),
              uikit::ModalPresentationStyle::fullScreen);
    dismissPresented();

    uikit::Device::current().setUserInterfaceIdiom(uikit::UserInterfaceIdiom::pad);
    ASSERT_TRUE(uikit::hands::tap(hud));
    ASSERT_TRUE(presented());
    EXPECT_EQ(tabs->presentedViewController()->modalPresentationStyle(),
              uikit::ModalPresentationStyle::formSheet);
    dismissPresented();
    uikit::Device::current().setUserInterfaceIdiom(uikit::UserInterfaceIdiom::phone);

    // Told from another thread, the panel changes on the main thread.
    std::thread([hud = hud] { hud->setItemCount(3); }).join();
    EXPECT_EQ(shown(), "Queue / 2 Packages");
    advanceClock(0);
    EXPECT_EQ(shown(), "Queue / 3 Packages");

    queue("com.example.one", false);
    queue("com.example.two", false);
    EXPECT_EQ(shown(), "(hidden)");
}

// A finger resting on the panel presses it in; lifted or slid off, the panel comes back.
TEST_F(KSTabBarControllerTests, ThePanelGivesUnderAFingerUntilItLifts) {
    queue("com.example.one");
    const auto pressed = uikit::AffineTransform::makeScale(KSFloatingHudView::kPressedScale,
                                                           KSFloatingHudView::kPressedScale);
    const auto root = tabs->view();
    const auto center = hud->convertPointTo(hud->bounds().center(), nullptr);
    {
        uikit::TouchSequence finger(root, center);
        ASSERT_EQ(finger.hitView(), hud);
        EXPECT_EQ(hud->transform(), pressed);
        finger.cancel();
        EXPECT_TRUE(hud->transform().isIdentity());
        EXPECT_FALSE(presented());
    }
    uikit::TouchSequence finger(root, center);
    EXPECT_EQ(hud->transform(), pressed);
    finger.end();
    EXPECT_TRUE(hud->transform().isIdentity());
    EXPECT_TRUE(presented());
    dismissPresented();
}

TEST_F(KSTabBarControllerTests, ARefreshCountWithoutATotalNeverDivides) {
    hud->setPresentationType(KSFloatingHudView::refreshMode);
    hud->setItemCount(0);
    EXPECT_EQ(hud->primaryLabel()->text(), "Refresh Complete");
    EXPECT_EQ(hud->progressView()->progress(), 1.0);
    EXPECT_TRUE(hud->progressView()->isHiddenInTree());
    hud->setItemCount(2);
    EXPECT_EQ(hud->progressView()->progress(), 0.0);
    hud->setItemCount(1);
    EXPECT_EQ(hud->progressView()->progress(), 0.5);
}

TEST_F(KSTabBarControllerTests, ARefreshShowsItsProgressThenTheQueueComesBackThreeSecondsLater) {
    queue("com.example.one");
    HeldRepositories held;
    refresh(held, 5);
    ASSERT_TRUE(waitFor("Tasks In Progress / 5 Running Tasks"));
    EXPECT_FALSE(hud->progressView()->isHiddenInTree());
    EXPECT_EQ(hud->progressView()->progress(), 0);
    queue("com.example.two");
    EXPECT_EQ(shown(), "Tasks In Progress / 5 Running Tasks") << "the queue waits its turn";

    advanceClock(1.25);
    held.release(1);
    ASSERT_TRUE(waitFor("Tasks In Progress / 4 Running Tasks"));
    EXPECT_DOUBLE_EQ(hud->progressView()->progress(), 0.2);
    held.release(5);
    ASSERT_TRUE(waitFor("Refresh Complete / Updated 5 sources in 1.25 secconds"));
    EXPECT_TRUE(hud->progressView()->isHiddenInTree());
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 60));

    advanceClock(2.9);
    EXPECT_EQ(shown(), "Refresh Complete / Updated 5 sources in 1.25 secconds");
    advanceClock(0.2);
    EXPECT_EQ(shown(), "Queue / 2 Packages");
    EXPECT_EQ(tabs->startTime(), KSTabBarController::kNoRefresh);
    EXPECT_EQ(hud->progressTotal(), 0u);
}

TEST_F(KSTabBarControllerTests, ARefreshStartedWithinTheThreeSecondsKeepsThePanelAndCountsAfresh) {
    HeldRepositories first;
    refresh(first, 5);
    ASSERT_TRUE(waitFor("Tasks In Progress / 5 Running Tasks"));
    first.release(5);
    ASSERT_TRUE(waitFor("Refresh Complete / Updated 5 sources in 0.00 secconds"));
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 60));

    advanceClock(1);
    HeldRepositories second;
    refresh(second, 2);
    ASSERT_TRUE(waitFor("Tasks In Progress / 2 Running Tasks"));
    EXPECT_EQ(hud->progressView()->progress(), 0) << "a new refresh starts with an empty bar";
    advanceClock(2.5);
    EXPECT_EQ(shown(), "Tasks In Progress / 2 Running Tasks")
        << "the first refresh's return to the queue is void";

    second.release(2);
    ASSERT_TRUE(waitFor("Refresh Complete / Updated 2 sources in 2.50 secconds"));
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 60));
    advanceClock(3);
    EXPECT_EQ(shown(), "(hidden)");
}

TEST_F(KSTabBarControllerTests, OnlyRefreshesShowAndATapDuringOneOpensTheTasks) {
    ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(
        std::make_shared<KSPackageAPTOperationTask>("not;a;package")));
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 30));
    advanceClock(0);
    EXPECT_EQ(shown(), "(hidden)");
    EXPECT_EQ(hud->presentationType(), KSFloatingHudView::queueMode);

    HeldRepositories held;
    refresh(held, 1);
    ASSERT_TRUE(waitFor("Tasks In Progress / 1 Running Task"));
    ASSERT_TRUE(uikit::hands::tap(hud));
    auto tasks = presented();
    ASSERT_TRUE(tasks);
    EXPECT_EQ(tasks->title(), "Tasks");
    dismissPresented();

    CorvanePersistentPreferences::sharedInstance().setValue(true, "ShowVerboseUI");
    ASSERT_TRUE(uikit::hands::tap(hud));
    EXPECT_TRUE(std::dynamic_pointer_cast<TasksVerboseViewController>(presented()));
    dismissPresented();
}

// Something presented already, as a package page opened from a link is: the queue goes over it.
TEST_F(KSTabBarControllerTests, TheQueueIsPresentedOverWhatIsShownFromAnyThread) {
    auto page = std::make_shared<uikit::ViewController>();
    tabs->present(page, false);
    advanceClock(1);
    std::thread([tabs = tabs] { tabs->presentQueue(); }).join();
    advanceClock(1);
    auto navigation =
        std::dynamic_pointer_cast<uikit::NavigationController>(page->presentedViewController());
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(std::dynamic_pointer_cast<PackagesConfirmationViewController>(
        navigation->topViewController()));
}

TEST_F(KSTabBarControllerTests, ThePanelFloatsAboveTheTabBarInThePalettesColours) {
    queue("com.example.one");
    window->layoutIfNeeded();
    const auto bar = tabs->tabBar()->frame();
    const auto frame = hud->frame();
    EXPECT_EQ(frame.minX(), KSFloatingHudView::kSideInset);
    EXPECT_EQ(frame.width(), window->bounds().width() - 2 * KSFloatingHudView::kSideInset);
    EXPECT_EQ(frame.height(), KSFloatingHudView::kHeight);
    EXPECT_EQ(frame.maxY(), bar.minY() - KSFloatingHudView::kSpacingAboveBottom);

    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kBlue));
    advanceClock(0);
    const auto blue = KSPaletteManager::getActivePalette();
    auto image = uikit::ViewRenderer::imageOfView(*window);
    const auto drawn = testing_support::colorAt(*image, frame.minX() + 8, frame.maxY() - 4);
    EXPECT_TRUE(testing_support::near(drawn, blue.queueBackgroundColor()))
        << testing_support::describe(drawn);
    EXPECT_EQ(hud->primaryLabel()->textColor(), blue.tintColor());
    EXPECT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kLight));
}

}  // namespace
}  // namespace corvane::testing
