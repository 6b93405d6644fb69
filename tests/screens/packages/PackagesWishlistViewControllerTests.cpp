// The wishlist as a person sees it: what an empty one says, the rows of a full one, and what
// happens to a row whose package went away.
#include "screens/packages/PackagesWishlistViewController.h"

#include <gtest/gtest.h>

#include "screens/packages/PackageListFixture.h"
#include "uikit/AlertController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using testing_support::advanceClock;

class PackagesWishlistViewControllerTest : public testing::PackageListFixture {
  protected:
    static void wish(const std::string& identifier, bool on = true) {
        change(identifier, [on](KSRPackage& package) { package.isInWishlist = on; });
    }
    std::shared_ptr<PackageCell> row(PackagesWishlistViewController& wishlist, int index) {
        auto& table = *wishlist.wishlistTableView;
        const auto indexPath = uikit::IndexPath::forRow(index, 0);
        table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<PackageCell>(table.cellForRowAtIndexPath(indexPath));
    }
};

TEST_F(PackagesWishlistViewControllerTest, AnEmptyWishlistSaysSoAndCloseGoesBackToTheRoot) {
    show(std::make_shared<uikit::ViewController>());
    auto wishlist = show(std::make_shared<PackagesWishlistViewController>());
    EXPECT_EQ(wishlist->title(), "Wishlist");
    auto alert =
        std::dynamic_pointer_cast<uikit::AlertController>(window->topmostPresentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->preferredStyle(), uikit::AlertController::Style::alert);
    EXPECT_EQ(alert->title(), "Packages Wishlist");
    EXPECT_EQ(alert->message(), "There are no packages in your wishlist.");
    EXPECT_EQ(wishlist->wishlistTableView->numberOfRowsInSection(0), 0);
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "Close"));
    advanceClock(1);
    EXPECT_EQ(navigation->viewControllers(),
              std::vector<std::shared_ptr<uikit::ViewController>>{home});
}

TEST_F(PackagesWishlistViewControllerTest, RowsShowTheWishedPackagesAsTheRepositoryOffersThem) {
    change("com.sample.paid", [](KSRPackage& package) {
        package.isInWishlist = true;
        package.price = "$1.99";
    });
    change("com.sample.theme", [](KSRPackage& package) {
        package.isInWishlist = true;
        package.isInstalled = true;
        package.installedVersion = "3.0";
    });
    auto wishlist = show(std::make_shared<PackagesWishlistViewController>());
    ASSERT_TRUE(wishlist->palette());
    ASSERT_EQ(wishlist->packages(),
              (std::vector<std::string>{"com.sample.paid", "com.sample.theme"}));

    auto paid = row(*wishlist, 0);
    ASSERT_TRUE(paid);
    EXPECT_EQ(paid->nameLbl->text(), "Premium Widget");
    EXPECT_EQ(paid->nameLbl->textColor(), wishlist->palette()->paidTextColor());
    EXPECT_EQ(paid->packageIdentifier(), "com.sample.paid");
    auto theme = row(*wishlist, 1);
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->nameLbl->textColor(), wishlist->palette()->primaryTextColor());
    EXPECT_EQ(theme->versionLbl->text(), "3.1") << "the repository's version, not the installed";
    EXPECT_EQ(theme->subinfoLbl->text(), "Cy Sample");
    EXPECT_TRUE(theme->separator->isHidden());
    EXPECT_FALSE(paid->separator->isHidden());

    ASSERT_TRUE(uikit::hands::selectRow(wishlist->wishlistTableView, {0, 1}));
    advanceClock(1);
    ASSERT_EQ(openedScreens.size(), 1u);
    EXPECT_EQ(openedScreens[0].first, Screen::packagePage);
    EXPECT_EQ(openedScreens[0].second.packageIdentifier, "com.sample.theme");
    EXPECT_EQ(openedScreens[0].second.title, "Night Sky Theme");
    EXPECT_EQ(navigation->topViewController(), wishlist->packageDetailsViewController());

    // Taken off the wishlist on its page: gone when the person comes back.
    wish("com.sample.theme", false);
    navigation->pop(false);
    advanceClock(1);
    EXPECT_EQ(wishlist->packages(), (std::vector<std::string>{"com.sample.paid"}));

    ASSERT_TRUE(uikit::hands::swipe(wishlist->view(), uikit::SwipeDirection::right));
    advanceClock(1);
    EXPECT_EQ(navigation->topViewController(), home);
}

TEST_F(PackagesWishlistViewControllerTest, APackageGoneBeforeItsRowIsDrawnLeavesAnEmptyRow) {
    wish("com.sample.paid");
    wish("com.sample.theme");
    auto wishlist = show(std::make_shared<PackagesWishlistViewController>());
    const auto theme = stored("com.sample.theme");
    ASSERT_TRUE(theme);
    auto database = realm();
    database.write([&] { database.deleteObject(*theme); });
    wishlist->wishlistTableView->reloadData();

    auto paid = row(*wishlist, 0);
    ASSERT_TRUE(paid);
    EXPECT_EQ(paid->nameLbl->text(), "Premium Widget");
    auto gone = row(*wishlist, 1);
    ASSERT_TRUE(gone);
    EXPECT_TRUE(gone->contentView()->isHidden());
    EXPECT_TRUE(uikit::hands::selectRow(wishlist->wishlistTableView, {0, 1}));
    // A tap the table hands over for a row the list no longer has finds nothing either.
    wishlist->didSelectRowAtIndexPath(*wishlist->wishlistTableView, uikit::IndexPath::forRow(2, 0));
    advanceClock(1);
    EXPECT_TRUE(openedScreens.empty());
    EXPECT_EQ(navigation->topViewController(), wishlist);
}

}  // namespace
}  // namespace corvane
