#include <gtest/gtest.h>

#include "app/tabs/KSMainStoryboard.h"
#include "app/tabs/KSTabBarController.h"
#include "screens/sources/ManageViewController.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/NavigationController.h"

namespace corvane::testing {
namespace {

TEST(KSMainStoryboardTests,
     TheTabBarHasFiveNavigationTabsWithTheSourcesScreenAndSearchInTheirPlaces) {
    auto tabs = std::dynamic_pointer_cast<KSTabBarController>(
        KSMainStoryboard::instantiateViewControllerWithIdentifier("TabBarVC"));
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->viewControllers().size(), 5u);
    const std::vector<std::string> titles = {"Featured", "Categories", "Changes", "Sources",
                                             "Search"};
    for (std::size_t index = 0; index < titles.size(); ++index) {
        auto navigation =
            std::dynamic_pointer_cast<uikit::NavigationController>(tabs->viewControllers()[index]);
        ASSERT_TRUE(navigation) << index;
        EXPECT_EQ(navigation->tabBarItem()->title(), titles[index]);
        auto root = std::dynamic_pointer_cast<KSPalettedViewController>(
            navigation->viewControllers().front());
        ASSERT_TRUE(root) << index;
        EXPECT_EQ(root->title(), titles[index]);
    }
    EXPECT_EQ(titles[KSTabBarController::kSourcesTabIndex], "Sources");
    auto sources = std::dynamic_pointer_cast<uikit::NavigationController>(
        tabs->viewControllers()[KSTabBarController::kSourcesTabIndex]);
    EXPECT_TRUE(std::dynamic_pointer_cast<ManageViewController>(sources->topViewController()));
    EXPECT_EQ(titles[KSTabBarController::kSearchTabIndex], "Search");
}

TEST(KSMainStoryboardTests, EachInstantiationIsFreshAndUnknownIdentifiersGiveNothing) {
    EXPECT_NE(KSMainStoryboard::instantiateInitialViewController(),
              KSMainStoryboard::instantiateInitialViewController());
    EXPECT_EQ(KSMainStoryboard::instantiateViewControllerWithIdentifier("Missing"), nullptr);
}

}  // namespace
}  // namespace corvane::testing
