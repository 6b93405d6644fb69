// The sections a person sees in the package lists: their titles, their order, the index beside
// the table, and the rows of each, for every order the sort preference offers and for the lists
// of new packages by date.
#include "screens/packages/KSPackageListSections.h"

#include <gtest/gtest.h>

#include "foundation/DateFormatter.h"
#include "screens/packages/KSPackageListSort.h"
#include "screens/packages/PackageListFixture.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kFruitSource = "https://fruit.example/";

class KSPackageListSectionsTest : public testing::PackageListFixture {
  protected:
    static KSRPackage fruit(std::string identifier, std::optional<std::string> name) {
        auto record = package(std::move(identifier));
        record.name = std::move(name);
        record.sourceLocation = kFruitSource;
        return record;
    }

    std::shared_ptr<PackagesTableViewController> fruitList() {
        return openList(kCategorySpecial_SourcePackages, [](auto& list) {
            list.setSourceLocation(kFruitSource);
            list.setSubcategory("All Packages");
        });
    }

    static int rowsIn(PackagesTableViewController& list, int section) {
        return list.numberOfRowsInSection(*list.packagesTableView, section);
    }
    static std::vector<std::string> indexOf(PackagesTableViewController& list) {
        list.packagesTableView->layoutIfNeeded();
        return list.packagesTableView->sectionIndexTitles();
    }
    static void sortBy(const char* order) {
        setPreference(KSPackageListSort::kPreferenceKey, order);
    }
};

TEST_F(KSPackageListSectionsTest, NamesGroupUnderTheirFirstCharacterCapitalisedWithAnIndex) {
    store({fruit("f.apple", "apple"), fruit("f.banana", "Banana"), fruit("f.avocado", "avocado"),
           fruit("f.42", "42 things"), fruit("f.unnamed", std::nullopt),
           fruit("f.empty", std::string())});
    auto list = fruitList();
    EXPECT_EQ(sectionTitles(*list), (Names{"4", "A", "B"}));
    EXPECT_EQ(indexOf(*list), (Names{"4", "A", "B"}));
    EXPECT_EQ(shownNames(*list), (Names{"42 things", "apple", "avocado", "Banana"}))
        << "a package without a name has no row";
    EXPECT_EQ(rowsIn(*list, 1), 2);

    // Letters that take more than one code point stay whole; accents keep their own section.
    store({fruit("f.smile", "😀 Smile"), fruit("f.thumb", "👍🏽 Thumbs"),
           fruit("f.flag", "🇫🇷 Flag"), fruit("f.eclair", "éclair"), fruit("f.eagle", "Eagle"),
           fruit("f.e", "e\u0301tude")});
    list->rebuildCache();
    EXPECT_EQ(sectionTitles(*list),
              (Names{"4", "A", "B", "E", "É", "E\u0301", "🇫🇷", "👍🏽", "😀"}));
    EXPECT_EQ(indexOf(*list), sectionTitles(*list));
}

TEST_F(KSPackageListSectionsTest, OtherOrdersGroupByTheirPropertyAndDropTheIndex) {
    change("com.sample.unmet", [](KSRPackage& package) { package.category.reset(); });
    auto all = openList(kCategorySpecial_AllPackages);
    EXPECT_FALSE(indexOf(*all).empty());

    sortBy("Category");
    all->rebuildCache();
    EXPECT_EQ(sectionTitles(*all),
              (Names{"Development", "Themes", "Tweaks", "Utilities", "Widgets"}));
    EXPECT_TRUE(indexOf(*all).empty());
    // Within a category the packages keep the order the repository gave them.
    EXPECT_EQ(shownNames(*all), (Names{"Core Library", "Night Sky Theme", "Conflicting Tweak",
                                       "Web Depiction Tweak", "Native Depiction Tweak",
                                       "Sample Tweak", "Versioned Utility", "Premium Widget"}))
        << "a package without a category is not listed";

    sortBy("Maintainer");
    all->rebuildCache();
    EXPECT_EQ(sectionTitles(*all), (Names{"Ada Sample", "Bo Sample", "Cy Sample"}));

    store({fruit("f.apple", "apple")});
    sortBy("Source");
    all->rebuildCache();
    EXPECT_EQ(sectionTitles(*all), (Names{location, kFruitSource}));
}

TEST_F(KSPackageListSectionsTest, TheInstalledListGroupsByInstallDateNewestFirst) {
    auto install = [](const std::string& identifier, std::optional<double> date) {
        change(identifier, [&](KSRPackage& package) {
            package.isInstalled = true;
            package.installDate = date;
        });
    };
    install("com.sample.corelib", 1.7e9 + 0.2);
    install("com.sample.tweak", 1.7e9 + 0.7);
    install("com.sample.theme", 1.8e9);
    install("com.sample.paid", std::nullopt);
    install("com.sample.unmet", std::nullopt);

    sortBy("InstallDate");
    auto installed = openList(kCategorySpecial_InstalledPackages);
    const auto title = [](double date) {
        return foundation::DateFormatter::withFormat("dd-MM-yyyy HH:mm:ss").stringFromDate(date);
    };
    EXPECT_EQ(sectionTitles(*installed), (Names{title(1.8e9), title(1.7e9), title(0)}));
    EXPECT_EQ(shownNames(*installed), (Names{"Night Sky Theme", "Core Library", "Sample Tweak",
                                             "Premium Widget", "Broken Dependency"}))
        << "within one second the earlier install comes first";
    EXPECT_TRUE(indexOf(*installed).empty());

    // Every other list keeps to names.
    auto all = openList(kCategorySpecial_AllPackages);
    EXPECT_EQ(sectionTitles(*all), (Names{"B", "C", "N", "P", "S", "V", "W"}));
}

TEST_F(KSPackageListSectionsTest, AnEmptyListHasNoSectionsAndNoRowsPastItsEnd) {
    auto nothing = openList(kCategorySpecial_Search, [](auto& list) { list.setSearch("zzz"); });
    EXPECT_EQ(nothing->packagesTableView->numberOfSections(), 0);
    EXPECT_EQ(rowsIn(*nothing, 0), 0);
    EXPECT_EQ(rowsIn(*nothing, 3), 0);
    EXPECT_EQ(nothing->titleForHeaderInSection(*nothing->packagesTableView, 3), std::nullopt);

    auto news = openList(kCategorySpecial_NewPackagesVersions);
    EXPECT_EQ(news->packagesTableView->numberOfSections(), 0);
    EXPECT_EQ(rowsIn(*news, 2), 0);

    // A tap or a swipe that reaches the list for a row a section no longer has (the table asks
    // with an index path of before a rebuild) finds no package.
    store({fruit("f.apple", "apple"), fruit("f.avocado", "avocado"), fruit("f.banana", "Banana")});
    auto fruits = fruitList();
    auto& table = *fruits->packagesTableView;
    ASSERT_EQ(sectionTitles(*fruits), (Names{"A", "B"}));
    for (int section = 0; section < 2; ++section) {
        const auto pastTheEnd = uikit::IndexPath::forRow(rowsIn(*fruits, section), section);
        EXPECT_FALSE(fruits->trailingSwipeActionsConfigurationForRowAtIndexPath(table, pastTheEnd))
            << section;
        fruits->didSelectRowAtIndexPath(table, pastTheEnd);
    }
    EXPECT_TRUE(openedScreens.empty());
}

TEST_F(KSPackageListSectionsTest, NewPackageListsShowTheirOwnDatesWhateverTheOtherListDoes) {
    auto date = [](const std::string& identifier, const std::string& text, bool newVersion) {
        change(identifier, [&](KSRPackage& package) {
            package.updatedDateStr = text;
            package.hasNewVersion = newVersion;
        });
    };
    // The refresh dated every package; these few are told apart.
    auto database = realm();
    database.write([&] {
        for (auto package : database.allObjects<KSRPackage>()) {
            package.updatedDateStr.reset();
            database.addOrUpdateObject(package);
        }
    });
    date("com.sample.corelib", "2024-03-01 10:00", false);
    date("com.sample.theme", "2024-03-02 09:30", true);
    date("com.sample.paid", "2024-03-02 09:30", false);
    date("com.sample.tweak", "a day to remember", false);

    auto newPackages = openList(kCategorySpecial_NewPackages);
    EXPECT_EQ(newPackages->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_EQ(sectionTitles(*newPackages), (Names{"a day to remember", "March 2, 2024 at 9:30 AM",
                                                  "March 1, 2024 at 10:00 AM"}));
    EXPECT_EQ(shownNames(*newPackages),
              (Names{"Sample Tweak", "Premium Widget", "Night Sky Theme", "Core Library"}));
    EXPECT_TRUE(indexOf(*newPackages).empty());
    EXPECT_EQ(rowsIn(*newPackages, 7), 1) << "past the end reads the last date";

    // The refresh's cache task rebuilds the other list meanwhile: this one keeps what it shows.
    KSRPackageManager::sharedPackageManager().packages().rebuildDictOfNewPackagesVersions();
    EXPECT_EQ(sectionTitles(*newPackages).size(), 3u);
    EXPECT_EQ(shownNames(*newPackages).size(), 4u);

    auto newVersions = openList(kCategorySpecial_NewPackagesVersions);
    EXPECT_EQ(newVersions->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_EQ(sectionTitles(*newVersions), (Names{"March 2, 2024 at 9:30 AM"}));
    EXPECT_EQ(shownNames(*newVersions), (Names{"Night Sky Theme"}));
    EXPECT_NE(openList(kCategorySpecial_AllPackages)->navigationItem()->rightBarButtonItem(),
              nullptr);
}

}  // namespace
}  // namespace corvane
