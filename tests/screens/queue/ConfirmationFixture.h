#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/device/KSPaths.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "screens/packages/PackageListFixture.h"
#include "screens/queue/PackagesConfirmationViewController.h"
#include "support/MainLoop.h"
#include "ui/cells/PackageCell.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"

namespace corvane::testing {

// The package lists' device root with the sample repository, whose package engine now also
// carries out what the confirmation hands over; the window's navigation controller presents the
// confirmation as the tab bar does.
class ConfirmationFixture : public PackageListFixture {
  protected:
    using Lists = KSQueueConfirmationLists;

    void SetUp() override {
        PackageListFixture::SetUp();
        KSPipelinePackageEngine::registerEngine();
    }

    void TearDown() override {
        EXPECT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 120));
        PackageListFixture::TearDown();
    }

    // A second source, refreshed; the engine then carries out the confirmation's work again.
    void addSource(const std::string& sourceLocation) {
        refreshSource(sourceLocation);
        KSPipelinePackageEngine::registerEngine();
    }

    static bool pipelineIsEmpty() {
        auto& manager = KSPipelineManager::sharedManager();
        return manager.tasksArray().empty() &&
               manager.pipelineOperationQueue()->operationCount() == 0;
    }

    static void queue(const std::string& identifier,
                      const std::optional<std::string>& version = std::nullopt,
                      unsigned operation = KSRQueueOperationNone) {
        KSRPackageManager::sharedPackageManager().packages().setPackage(identifier, true, version,
                                                                        operation);
    }

    // Presented as the tab bar presents it, once its first simulation has been applied.
    std::shared_ptr<PackagesConfirmationViewController> open() {
        auto screen = std::make_shared<PackagesConfirmationViewController>();
        navigation->present(uikit::NavigationController::create(screen), true);
        testing_support::advanceClock(1);
        EXPECT_TRUE(waitForSimulation(*screen));
        return screen;
    }

    static bool waitForSimulation(const PackagesConfirmationViewController& screen) {
        return testing_support::pumpUntil([&] { return !screen.isWaitingOnDependencies(); }, 60);
    }

    bool isShown(const std::shared_ptr<PackagesConfirmationViewController>& screen) const {
        auto presented = navigation->presentedViewController();
        return presented && !presented->isBeingDismissed() && screen->navigationController() &&
               presented == screen->navigationController();
    }

    // The names a person reads in the section, top to bottom.
    static std::vector<std::string> names(PackagesConfirmationViewController& screen, int section) {
        auto& table = *screen.packagesConfirmationTableView;
        table.layoutIfNeeded();
        std::vector<std::string> shown;
        for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
            const auto indexPath = uikit::IndexPath::forRow(row, section);
            table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
            auto cell =
                std::dynamic_pointer_cast<PackageCell>(table.cellForRowAtIndexPath(indexPath));
            shown.push_back(cell ? cell->nameLbl->text().value_or("") : "(no cell)");
        }
        table.setContentOffset({0, 0});
        return shown;
    }

    static std::vector<std::string> headers(PackagesConfirmationViewController& screen) {
        auto& table = *screen.packagesConfirmationTableView;
        std::vector<std::string> titles;
        for (int section = 0; section < table.numberOfSections(); ++section)
            titles.push_back(screen.titleForHeaderInSection(table, section).value_or(""));
        return titles;
    }

    static bool tapConfirm(PackagesConfirmationViewController& screen) {
        return uikit::hands::tap(screen.confirmBtn);
    }

    static std::shared_ptr<PackageCell> cellAt(PackagesConfirmationViewController& screen,
                                               int section, int row) {
        return std::dynamic_pointer_cast<PackageCell>(
            screen.packagesConfirmationTableView->cellForRowAtIndexPath(
                uikit::IndexPath::forRow(row, section)));
    }

    // Confirm is disabled, and a tap on it anyway leaves the screen up and starts nothing.
    void expectConfirmRefused(const std::shared_ptr<PackagesConfirmationViewController>& screen) {
        EXPECT_FALSE(screen->confirmBtn->isEnabled());
        tapConfirm(*screen);
        testing_support::advanceClock(1);
        EXPECT_TRUE(isShown(screen));
        EXPECT_TRUE(pipelineIsEmpty());
    }

    static bool swipeAway(PackagesConfirmationViewController& screen, int section, int row) {
        const auto actions = uikit::hands::swipeRow(screen.packagesConfirmationTableView,
                                                    uikit::IndexPath::forRow(row, section));
        return !actions.empty() &&
               uikit::hands::tapSwipeAction(screen.packagesConfirmationTableView, "Delete");
    }

    // dpkg's own record of the package on the device root.
    static bool isInstalled(const std::string& identifier) {
        const auto status =
            foundation::FileManager::readText(KSPaths::dpkgStatusFile()).valueOr("");
        const auto stanza = status.find("Package: " + identifier + "\n");
        if (stanza == std::string::npos)
            return false;
        const auto end = status.find("\n\n", stanza);
        return status.substr(stanza, end - stanza).find("Status: install ok installed") !=
               std::string::npos;
    }

    static bool isQueued(const std::string& identifier) {
        auto record = stored(identifier);
        return record && record->isInTheQueue;
    }

    // Counts the queue-state notifications of the package that carry the message.
    std::shared_ptr<int> countPosts(const std::string& identifier, const std::string& message) {
        auto count = std::make_shared<int>(0);
        tokens_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
            KSRQueueStateNotificationName(identifier),
            [count, message](const foundation::Notification& notification) {
                if (notification.userInfo["Message"] == foundation::Value(message))
                    ++*count;
            }));
        return count;
    }

    std::vector<foundation::ObservationToken> tokens_;
};

}  // namespace corvane::testing
