// A person's way from a queued package to dpkg and back, through the launched application on a
// temporary device root whose default source is the sample repository: the panel, the queue
// confirmation, the downloads, one APT operation, and a removal from the options menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/LaunchFixture.h"
#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "framework/device/KSPaths.h"
#include "framework/packagemanager/KSRDefaultSources.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "support/SampleRepository.h"
#include "uikit/AlertController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using Strings = std::vector<std::string>;

std::string hostStatusDigest() {
    const auto bytes = foundation::FileManager::readFile("/var/lib/dpkg/status");
    return bytes ? foundation::sha256Hex(*bytes) : "missing";
}

// What dpkg's status on the device root says of the package.
std::string dpkgStatusOf(const std::string& identifier) {
    const auto status = foundation::FileManager::readText(KSPaths::dpkgStatusFile()).valueOr("");
    const auto stanza = status.find("Package: " + identifier + "\n");
    if (stanza == std::string::npos)
        return "unknown";
    const auto line = status.find("Status: ", stanza);
    return status.substr(line + 8, status.find('\n', line) - line - 8);
}

class CorvaneQueueTests : public LaunchFixture {
  protected:
    static void SetUpTestSuite() { repository_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete repository_;
        repository_ = nullptr;
    }

    void SetUp() override {
        LaunchFixture::SetUp();
        setenv(KSRDefaultSources::kEnvironmentVariable, repository_->location().c_str(), 1);
    }

    // Launched on a fresh device, which refreshes its default source a moment later; the panel
    // tells of the refresh for a while.
    void launchAndRefresh() {
        launch();
        advanceClock(3);
        waitUntilAtRest();
        ASSERT_TRUE(storedPackage("com.sample.tweak"));
        advanceClock(KSTabBarController::kQueueModeReturnDelay);
    }

    // The confirmation on screen, once its simulation is shown.
    std::shared_ptr<PackagesConfirmationViewController> shownConfirmation() {
        advanceClock(1);
        auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(
            window_->topmostPresentedViewController());
        auto screen = navigation ? std::dynamic_pointer_cast<PackagesConfirmationViewController>(
                                       navigation->topViewController())
                                 : nullptr;
        if (screen) {
            EXPECT_TRUE(pumpUntil([&] { return !screen->isWaitingOnDependencies(); }, 60));
        }
        return screen;
    }

    static Strings names(const PackagesConfirmationViewController& screen, int section) {
        Strings shown;
        for (const auto& package : screen.dataSource().section(section))
            shown.push_back(package.name.value_or(package.identifier));
        return shown;
    }

    // Confirms, and closes the console that the application shows for the tasks.
    void confirm(PackagesConfirmationViewController& screen) {
        ASSERT_TRUE(screen.confirmBtn->isEnabled());
        ASSERT_TRUE(uikit::hands::tap(screen.confirmBtn));
        advanceClock(1);
        waitUntilAtRest();
        if (window_->rootViewController()->presentedViewController())
            window_->rootViewController()->dismiss(false);
        advanceClock(1);
    }

    std::size_t archiveRequests(const std::string& path) const {
        const auto requests = repository_->server().requests();
        return std::ranges::count(requests, path, &testing_support::CapturedRequest::path);
    }

    static inline testing_support::SampleRepository* repository_ = nullptr;
};

TEST_F(CorvaneQueueTests, APackageIsInstalledFromThePanelAndRemovedFromItsOptions) {
    const auto hostStatus = hostStatusDigest();
    launchAndRefresh();
    auto hud = delegate_->tabController()->hudView();
    EXPECT_TRUE(hud->isHiddenInTree());

    delegate_->queuePackageWithIdentifier("com.sample.tweak", std::nullopt, nullptr);
    advanceClock(0);
    EXPECT_EQ(hud->secondaryLabel()->text(), "1 Package");
    ASSERT_TRUE(uikit::hands::tap(hud));
    auto screen = shownConfirmation();
    ASSERT_TRUE(screen);
    EXPECT_EQ(names(*screen, KSQueueConfirmationLists::queuedPackages), Strings{"Sample Tweak"});
    EXPECT_EQ(names(*screen, KSQueueConfirmationLists::requiredPackages), Strings{"Core Library"});
    EXPECT_EQ(names(*screen, KSQueueConfirmationLists::incompatiblePackages), Strings{});

    confirm(*screen);
    EXPECT_EQ(dpkgStatusOf("com.sample.tweak"), "install ok installed");
    EXPECT_EQ(dpkgStatusOf("com.sample.corelib"), "install ok installed");
    EXPECT_EQ(archiveRequests("/debs/tweak.deb"), 1u) << "downloaded once, by the application";
    EXPECT_EQ(hostStatusDigest(), hostStatus);
    EXPECT_TRUE(hud->isHiddenInTree()) << "the queue is empty again";

    delegate_->presentOptions("com.sample.tweak", nullptr);
    advanceClock(1);
    auto options = std::dynamic_pointer_cast<uikit::AlertController>(
        window_->topmostPresentedViewController());
    ASSERT_TRUE(uikit::hands::pickAlertAction(options, "Uninstall"));
    screen = shownConfirmation();
    ASSERT_TRUE(screen);
    EXPECT_EQ(names(*screen, KSQueueConfirmationLists::queuedPackages), Strings{"Sample Tweak"});
    EXPECT_EQ(names(*screen, KSQueueConfirmationLists::requiredPackages), Strings{});
    EXPECT_EQ(screen->dependsTree().removes, Strings{"com.sample.tweak"});

    confirm(*screen);
    EXPECT_NE(dpkgStatusOf("com.sample.tweak"), "install ok installed");
    EXPECT_EQ(dpkgStatusOf("com.sample.corelib"), "install ok installed");
    EXPECT_EQ(hostStatusDigest(), hostStatus);
}

}  // namespace
}  // namespace corvane::testing
