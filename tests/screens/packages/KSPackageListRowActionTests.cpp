// A swipe on a package row: what it offers, what it does to the queue, who hears of it, and
// which row shows the change, also when the list was rebuilt under the swiping finger.
#include "screens/packages/KSPackageListRowAction.h"

#include <gtest/gtest.h>

#include "framework/storage/KSRQueueOperation.h"
#include "screens/packages/PackageListFixture.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using testing_support::advanceClock;
using uikit::ContextualAction;

// What a person sees at the row's trailing edge: the icon's name, or nothing.
std::string statusIcon(const PackageCell& row) {
    const auto& status = *row.installOrQueueStatusImageView;
    if (status.isHidden() || !status.image())
        return "";
    return status.image()->name();
}

class KSPackageListRowActionTest : public testing::PackageListFixture {
  protected:
    std::vector<std::shared_ptr<ContextualAction>> swipe(PackagesTableViewController& list,
                                                         const std::string& name) {
        const auto indexPath = indexPathOf(list, name);
        cellInSight(list, indexPath);
        return uikit::hands::swipeRow(list.packagesTableView, indexPath);
    }
    static Names titles(const std::vector<std::shared_ptr<ContextualAction>>& actions) {
        Names out;
        for (const auto& action : actions)
            out.push_back(action->title());
        return out;
    }
    // The messages of the queue-state notifications of the package, as they arrive.
    std::shared_ptr<std::vector<std::string>> listenToQueueState(const std::string& identifier) {
        auto messages = std::make_shared<std::vector<std::string>>();
        tokens_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
            KSRQueueStateNotificationName(identifier),
            [messages](const foundation::Notification& notification) {
                messages->push_back(notification.userInfo["Message"].stringValue());
            }));
        return messages;
    }

    std::vector<foundation::ObservationToken> tokens_;
};

TEST_F(KSPackageListRowActionTest, AQueuedPackageOffersRemoveAndAnyOtherQueue) {
    change("com.sample.theme", [](KSRPackage& package) {
        package.isInTheQueue = true;
        package.queueOperation = KSRQueueOperationInstall;
        package.queuedVersion = "3.1";
    });
    change("com.sample.corelib", [](KSRPackage& package) {
        package.isInstalled = true;
        package.installedVersion = "1.0.2";
    });
    auto all = openList(kCategorySpecial_AllPackages);
    const auto shown = shownNames(*all);
    auto themeMessages = listenToQueueState("com.sample.theme");

    auto actions = swipe(*all, "Night Sky Theme");
    ASSERT_EQ(titles(actions), (Names{"Remove"}));
    EXPECT_EQ(actions[0]->style(), ContextualAction::Style::normal);
    EXPECT_EQ(actions[0]->backgroundColor(), uikit::Color::systemRed());
    ASSERT_TRUE(uikit::hands::tapSwipeAction(all->packagesTableView, "Remove"));
    advanceClock(0);
    auto theme = stored("com.sample.theme");
    ASSERT_TRUE(theme);
    EXPECT_FALSE(theme->isInTheQueue);
    EXPECT_EQ(theme->queueOperation, KSRQueueOperationNone);
    EXPECT_EQ(theme->queuedVersion, std::nullopt);
    EXPECT_EQ(*themeMessages, (Names{"Canceled Operation"}))
        << "pages and Get buttons that say QUEUED hear of it";
    EXPECT_EQ(shownNames(*all), shown);
    auto themeRow = cellInSight(*all, indexPathOf(*all, "Night Sky Theme"));
    ASSERT_TRUE(themeRow);
    EXPECT_EQ(statusIcon(*themeRow), "");

    // Installed packages are queued too: the application's rules say what that means.
    actions = swipe(*all, "Core Library");
    ASSERT_EQ(titles(actions), (Names{"Queue"}));
    EXPECT_EQ(actions[0]->backgroundColor(), KSPackageListRowAction::queueColor());
    ASSERT_TRUE(uikit::hands::tapSwipeAction(all->packagesTableView, "Queue"));
    advanceClock(0);
    EXPECT_EQ(services->queued, (Names{"com.sample.corelib"}));
    EXPECT_EQ(shownNames(*all), shown);
    auto coreRow = cellInSight(*all, indexPathOf(*all, "Core Library"));
    ASSERT_TRUE(coreRow);
    EXPECT_EQ(statusIcon(*coreRow), "uninstall");
    EXPECT_EQ(titles(swipe(*all, "Core Library")), (Names{"Remove"}));
}

TEST_F(KSPackageListRowActionTest, TheRowOfThePackageChangesEvenWhenTheListMovedUnderTheFinger) {
    auto all = openList(kCategorySpecial_AllPackages);
    auto actions = swipe(*all, "Night Sky Theme");
    ASSERT_EQ(titles(actions), (Names{"Queue"}));
    const auto swipedAt = indexPathOf(*all, "Night Sky Theme");

    // A refresh brings a package that sorts first: every row moves down by one.
    auto first = package("com.example.first");
    first.name = "Aardvark";
    store({first});
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, location);
    ASSERT_NE(indexPathOf(*all, "Night Sky Theme"), swipedAt);

    actions[0]->perform([](bool) {});
    advanceClock(0);
    auto themeRow = cellInSight(*all, indexPathOf(*all, "Night Sky Theme"));
    ASSERT_TRUE(themeRow);
    EXPECT_EQ(statusIcon(*themeRow), "install");
    auto rowThatWasSwiped = cellInSight(*all, swipedAt);
    ASSERT_TRUE(rowThatWasSwiped);
    EXPECT_NE(rowThatWasSwiped->packageIdentifier(), "com.sample.theme");
    EXPECT_EQ(statusIcon(*rowThatWasSwiped), "");
}

}  // namespace
}  // namespace corvane
