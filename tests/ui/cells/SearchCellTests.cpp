// The follow button of a search-result row: a short confirmation, the delegate told at once, and
// a second tap that toggles from what the first tap set even before the store has recorded it.
#include "ui/cells/SearchCell.h"

#include <gtest/gtest.h>

#include "framework/StorageFixture.h"
#include "framework/storage/KSRDeveloper.h"
#include "support/MainLoop.h"
#include "uikit/Application.h"
#include "uikit/ApplicationDelegate.h"
#include "uikit/Hands.h"
#include "uikit/NibRegistry.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;

class CountingDelegate : public SearchCellDelegate {
  public:
    void followStateChanged() override { ++changes; }
    int changes = 0;
};

class SearchCellTest : public testing::StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        SearchCell::registerNib();
        delegate_->setWindow(window_);
        uikit::Application::shared().setDelegate(delegate_);
        window_->setRootViewController(root_);
        window_->makeKeyAndVisible();
        row_ = std::dynamic_pointer_cast<SearchCell>(
            uikit::NibRegistry::shared().instantiate(SearchCell::kNibName));
        row_->awakeFromNib();
        row_->setFrame({0, 100, 375, 60});
        root_->view()->addSubview(row_);
        row_->setDelegate(listener_);
    }

    // Taps the button and returns the title of the confirmation, once it has gone again.
    std::optional<std::string> tapFollow() {
        EXPECT_TRUE(uikit::hands::tap(row_->followBtn));
        advanceClock(0);
        auto shown = root_->presentedViewController();
        std::optional<std::string> title = shown ? shown->title() : std::nullopt;
        for (int step = 0; step < 20 && root_->presentedViewController(); ++step)
            advanceClock(0.1);
        EXPECT_FALSE(root_->presentedViewController()) << "the confirmation goes by itself";
        return title;
    }

    std::shared_ptr<uikit::ApplicationDelegate> delegate_ =
        std::make_shared<uikit::ApplicationDelegate>();
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> root_ = std::make_shared<uikit::ViewController>();
    std::shared_ptr<SearchCell> row_;
    std::shared_ptr<CountingDelegate> listener_ = std::make_shared<CountingDelegate>();
};

TEST_F(SearchCellTest, QuickTapsAlternateWhileTheStoreIsStillBehind) {
    row_->setDeveloperName("Jane Doe");
    auto database = realm();
    // The store records follow states in the background; holding its writer keeps it behind.
    database.beginWriteTransaction();
    EXPECT_EQ(tapFollow(), "Followed");
    EXPECT_EQ(listener_->changes, 1);
    EXPECT_EQ(tapFollow(), "Unfollowed");
    EXPECT_EQ(tapFollow(), "Followed");
    EXPECT_EQ(listener_->changes, 3);
    database.cancelWriteTransaction();
    auto& developers = KSRPackageManager::sharedPackageManager().developers();
    developers.waitForPendingChanges();
    EXPECT_TRUE(developers.isDeveloperFollowed("Jane Doe")) << "the last tap lands last";
}

TEST_F(SearchCellTest, AnotherDeveloperStartsFromTheStore) {
    auto& developers = KSRPackageManager::sharedPackageManager().developers();
    developers.setDeveloper("Known Dev", true);
    testing_support::pumpUntil([&] { return developers.isDeveloperFollowed("Known Dev"); });

    row_->setDeveloperName("Jane Doe");
    EXPECT_EQ(tapFollow(), "Followed");
    row_->setDeveloperName("Known Dev");
    EXPECT_EQ(tapFollow(), "Unfollowed") << "read from the store, not from the last row";
    testing_support::pumpUntil([&] {
        return developers.isDeveloperFollowed("Jane Doe") &&
               !developers.isDeveloperFollowed("Known Dev");
    });

    row_->setDeveloperName(std::nullopt);
    EXPECT_TRUE(uikit::hands::tap(row_->followBtn));
    advanceClock(0);
    EXPECT_FALSE(root_->presentedViewController()) << "no developer, nothing to follow";
    EXPECT_EQ(listener_->changes, 2);
}

}  // namespace
}  // namespace corvane
