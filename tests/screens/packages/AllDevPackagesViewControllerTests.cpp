// A maintainer's packages as the package page and the developer page open them, over the sample
// repository's stored packages.
#include "screens/packages/AllDevPackagesViewController.h"

#include <gtest/gtest.h>

#include "framework/preferences/CorvanePersistentPreferences.h"
#include "screens/PageScreenFixture.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using uikit::IndexPath;

class AllDevPackagesTest : public PageScreenFixture {
  protected:
    void SetUp() override {
        PageScreenFixture::SetUp();
        KSScreenFactory::registerScreen(Screen::packagePage, [this](const auto& request) {
            openedPages.push_back(request);
            return std::make_shared<uikit::ViewController>();
        });
    }

    std::shared_ptr<AllDevPackagesViewController> open(const std::string& maintainer) {
        KSScreenFactory::Request request;
        request.maintainer = maintainer;
        request.title = maintainer + "'s Packages";
        return push<AllDevPackagesViewController>(Screen::developerPackages, request);
    }

    static std::shared_ptr<GetPackageCell> row(AllDevPackagesViewController& screen, int index) {
        auto& table = *screen.devPackagesTableView;
        const auto indexPath = IndexPath::forRow(index, 0);
        table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<GetPackageCell>(table.cellForRowAtIndexPath(indexPath));
    }

    static void markNotWorking(const std::string& identifier) {
        change(identifier, [](KSRPackage& package) { package.tweakCompatibleStatus = 1; });
    }

    std::vector<KSScreenFactory::Request> openedPages;
};

TEST_F(AllDevPackagesTest, ListsTheMaintainersPackagesByNameWithTheirGetButtons) {
    auto screen = open("Ada Sample");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "Ada Sample's Packages");
    ASSERT_EQ(screen->packages(),
              (std::vector<std::string>{"com.sample.corelib", "com.sample.nativedepiction",
                                        "com.sample.tweak"}));
    auto first = row(*screen, 0);
    ASSERT_TRUE(first && screen->palette());
    EXPECT_EQ(first->nameLbl->text(), "Core Library");
    EXPECT_EQ(first->packageIdentifier(), "com.sample.corelib");
    EXPECT_EQ(first->getBtn->currentTitle(), "GET");
    EXPECT_EQ(first->getBtn->backgroundColor(), screen->palette()->getButtonBackgoundColor());
    EXPECT_EQ(first->nameLbl->textColor(), screen->palette()->primaryTextColor());
    EXPECT_FALSE(first->separator->isHidden());
    EXPECT_TRUE(row(*screen, 2)->separator->isHidden());
    snapshot("developer-packages");

    ASSERT_TRUE(uikit::hands::selectRow(screen->devPackagesTableView, IndexPath::forRow(2, 0)));
    advanceClock(1);
    ASSERT_EQ(openedPages.size(), 1u);
    EXPECT_EQ(openedPages[0].packageIdentifier, "com.sample.tweak");
    EXPECT_EQ(openedPages[0].title, "Sample Tweak");
    EXPECT_EQ(navigation->topViewController(), screen->packageDetailsViewController());
}

TEST_F(AllDevPackagesTest, IncompatiblePackagesShowOnlyWhenTheUserAsksForThem) {
    markNotWorking("com.sample.tweak");
    change("com.sample.corelib", [](KSRPackage& package) { package.tweakCompatibleStatus = 0; });
    EXPECT_EQ(open("Ada Sample")->packages(),
              (std::vector<std::string>{"com.sample.corelib", "com.sample.nativedepiction"}));

    CorvanePersistentPreferences::sharedInstance().setValue(true, "ShowIncompatiblePackages");
    EXPECT_EQ(open("Ada Sample")->packages(),
              (std::vector<std::string>{"com.sample.corelib", "com.sample.nativedepiction",
                                        "com.sample.tweak"}));
}

TEST_F(AllDevPackagesTest, TheMaintainerMustMatchExactly) {
    change("com.sample.theme",
           [](KSRPackage& package) { package.maintainer = "Ada Sample <ada@sample.test>"; });
    change("com.sample.paid", [](KSRPackage& package) { package.maintainer = "ada sample"; });
    EXPECT_EQ(open("Ada Sample")->packages().size(), 3u);
    EXPECT_EQ(open("Cy Sample")->packages(), std::vector<std::string>{});
    EXPECT_EQ(open("Ada")->packages(), std::vector<std::string>{});
}

TEST_F(AllDevPackagesTest, APackageGoneSinceLoadingLeavesAnEmptyRowThatOpensNothing) {
    auto screen = open("Bo Sample");
    ASSERT_TRUE(screen);
    const auto shown = screen->packages();
    ASSERT_GE(shown.size(), 2u);
    {
        auto database = realm();
        auto gone = database.objectForPrimaryKey<KSRPackage>(shown[0]);
        ASSERT_TRUE(gone);
        database.write([&] { database.deleteObject(*gone); });
    }
    screen->devPackagesTableView->reloadData();
    auto empty = row(*screen, 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->contentView()->isHidden());
    auto next = row(*screen, 1);
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->contentView()->isHidden());
    EXPECT_EQ(next->packageIdentifier(), shown[1]);

    uikit::hands::selectRow(screen->devPackagesTableView, IndexPath::forRow(0, 0));
    advanceClock(1);
    EXPECT_TRUE(openedPages.empty());
    EXPECT_EQ(navigation->topViewController(), screen);
}

TEST_F(AllDevPackagesTest, ARightSwipeGoesBack) {
    auto screen = open("Cy Sample");
    ASSERT_TRUE(screen);
    ASSERT_TRUE(uikit::hands::swipe(screen->view(), uikit::SwipeDirection::right));
    advanceClock(1);
    EXPECT_NE(navigation->topViewController(), screen);
}

}  // namespace
}  // namespace corvane::testing
