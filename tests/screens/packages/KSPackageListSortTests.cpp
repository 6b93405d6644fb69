// The sort button of the package lists: the choices its sheet offers in each list, and how a
// choice made in one list orders every list.
#include "screens/packages/KSPackageListSort.h"

#include <gtest/gtest.h>

#include "screens/packages/PackageListFixture.h"
#include "uikit/AlertController.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using testing_support::advanceClock;

class KSPackageListSortTest : public testing::PackageListFixture {
  protected:
    // Taps the list's sort button and gives the sheet it shows.
    std::shared_ptr<uikit::AlertController> openSortSheet(PackagesTableViewController& list) {
        auto button = list.navigationItem()->rightBarButtonItem();
        EXPECT_TRUE(uikit::hands::tapBarButton(button));
        advanceClock(1);
        EXPECT_EQ(services->senders, std::vector{button}) << "the sheet points at the button";
        services->senders.clear();
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window->topmostPresentedViewController());
    }
    static Names actionTitles(const uikit::AlertController& sheet) {
        Names titles;
        for (const auto& action : sheet.actions())
            titles.push_back(action->title());
        return titles;
    }
    static std::optional<std::string> storedOrder() {
        return CorvanePersistentPreferences::sharedInstance().stringForKey(
            KSPackageListSort::kPreferenceKey);
    }
};

TEST_F(KSPackageListSortTest, AChoiceInTheInstalledListOrdersEveryListFromItsNextRebuild) {
    for (const auto* identifier : {"com.sample.theme", "com.sample.corelib"})
        change(identifier, [&](KSRPackage& package) {
            package.isInstalled = true;
            package.installDate = identifier == std::string("com.sample.theme") ? 1.8e9 : 1.7e9;
        });
    auto installed = openList(kCategorySpecial_InstalledPackages);
    EXPECT_EQ(shownNames(*installed), (Names{"Core Library", "Night Sky Theme"}));
    auto sheet = openSortSheet(*installed);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->preferredStyle(), uikit::AlertController::Style::actionSheet);
    EXPECT_EQ(sheet->title(), "Sort Installed Packages");
    EXPECT_EQ(sheet->message(), "How do you want to sort your installed packages:");
    EXPECT_EQ(actionTitles(*sheet),
              (Names{"Category", "Install date", "Maintainer", "Name", "Source", "Cancel"}));
    ASSERT_TRUE(uikit::hands::pickAlertAction(sheet, "Install date"));
    advanceClock(1);
    EXPECT_EQ(storedOrder(), "InstallDate");
    EXPECT_EQ(shownNames(*installed), (Names{"Night Sky Theme", "Core Library"}))
        << "newest install first";
    EXPECT_EQ(installed->sortPropertyForPrefs(), "installDate");

    auto all = openList(kCategorySpecial_AllPackages);
    EXPECT_EQ(all->sortPropertyForPrefs(), "name");
    EXPECT_EQ(shownNames(*all).front(), "Broken Dependency");
    sheet = openSortSheet(*all);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(actionTitles(*sheet), (Names{"Category", "Maintainer", "Name", "Source", "Cancel"}));

    // Cancel stores nothing and leaves the list as it was, even what changed meanwhile.
    auto newcomer = package("com.example.newcomer");
    newcomer.name = "Aardvark";
    store({newcomer});
    ASSERT_TRUE(uikit::hands::pickAlertAction(sheet, "Cancel"));
    advanceClock(1);
    EXPECT_EQ(storedOrder(), "InstallDate");
    EXPECT_EQ(shownNames(*all).front(), "Broken Dependency");

    sheet = openSortSheet(*all);
    ASSERT_TRUE(uikit::hands::pickAlertAction(sheet, "Maintainer"));
    advanceClock(1);
    EXPECT_EQ(sectionTitles(*all), (Names{"Ada Sample", "Bo Sample", "Cy Sample"}));
    EXPECT_EQ(installed->sortPropertyForPrefs(), "maintainer");
}

}  // namespace
}  // namespace corvane
