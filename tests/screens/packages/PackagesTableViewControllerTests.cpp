// The package lists as a person opens them on a refreshed sample repository: which packages each
// list shows and in which order, what hides packages marked not working, what a row opens, and
// when the list rebuilds itself.
#include "screens/packages/PackagesTableViewController.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/FileManager.h"
#include "framework/storage/KSRPackageIconFetcher.h"
#include "framework/storage/KSRQueueOperation.h"
#include "screens/KSScreens.h"
#include "screens/packages/PackageListFixture.h"
#include "uikit/Hands.h"
#include "uikit/Image.h"
#include "uikit/InterfaceHands.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using testing_support::advanceClock;
using Special = KSPackageListCategory::Special;

class PackagesTableViewControllerTest : public testing::PackageListFixture {
  protected:
    // A package of another source, stored beside the sample repository's.
    static KSRPackage extra(std::string identifier, std::string name,
                            std::optional<std::string> category = std::nullopt) {
        auto record = package(std::move(identifier));
        record.name = std::move(name);
        record.category = std::move(category);
        record.sourceLocation = "https://other.example/";
        return record;
    }

    static void markNotWorking(const std::string& identifier) {
        change(identifier, [](KSRPackage& package) { package.tweakCompatibleStatus = 1; });
    }
};

const Names kAllSampleNames{"Broken Dependency",      "Conflicting Tweak", "Core Library",
                            "Native Depiction Tweak", "Night Sky Theme",   "Premium Widget",
                            "Sample Tweak",           "Versioned Utility", "Web Depiction Tweak"};

TEST_F(PackagesTableViewControllerTest, AllInstalledUpdatedAndSearchListsShowWhatTheyAreFor) {
    markNotWorking("com.sample.tweak");
    change("com.sample.corelib", [](KSRPackage& package) {
        package.isInstalled = true;
        package.installedVersion = "1.0";
        package.isUpdated = true;
    });
    change("com.sample.theme", [](KSRPackage& package) {
        package.isInstalled = true;
        package.isUpdated = true;
        package.isHeld = true;
        package.tweakCompatibleStatus = 1;
    });
    auto ownEntry = extra("org.cy.tool", "CY+Tool");
    ownEntry.isInstalled = true;
    auto staleTool = extra("com.other.stale", "Stale Tool");
    staleTool.isUpdated = true;
    staleTool.tweakCompatibleStatus = 1;
    store({ownEntry, staleTool});

    auto all = openList(kCategorySpecial_AllPackages);
    Names withoutTheBroken{"Broken Dependency", "Conflicting Tweak",      "Core Library",
                           "CY+Tool",           "Native Depiction Tweak", "Premium Widget",
                           "Versioned Utility", "Web Depiction Tweak"};
    EXPECT_EQ(shownNames(*all), withoutTheBroken);
    EXPECT_EQ(sectionTitles(*all), (Names{"B", "C", "N", "P", "V", "W"}));
    setPreference("ShowIncompatiblePackages", true);
    all->rebuildCache();
    EXPECT_EQ(shownNames(*all).size(), kAllSampleNames.size() + 2);
    setPreference("ShowIncompatiblePackages", false);

    // Installed and updated packages show whether they work or not; held ones have no update.
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_InstalledPackages)),
              (Names{"Core Library", "Night Sky Theme"}));
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_UpdatedPackages)),
              (Names{"Core Library", "Stale Tool"}));

    auto search = [&](const std::string& text) {
        return shownNames(
            *openList(kCategorySpecial_Search, [&](auto& list) { list.setSearch(text); }));
    };
    EXPECT_EQ(search("tweak"),
              (Names{"Conflicting Tweak", "Native Depiction Tweak", "Web Depiction Tweak"}));
    EXPECT_EQ(search("cy"), (Names{"Broken Dependency"})) << "never the old manager's entries";
    // No name holds "ada": the maintainers that do give the list.
    EXPECT_EQ(search("ada"), (Names{"Core Library", "Native Depiction Tweak"}));
    setPreference("ShowIncompatiblePackages", true);
    // Every maintainer is a "Sample", but one name matches: only that one shows.
    EXPECT_EQ(search("SAMPLE"), (Names{"Sample Tweak"}));
    EXPECT_EQ(search("ada"), (Names{"Core Library", "Native Depiction Tweak", "Sample Tweak"}));
}

TEST_F(PackagesTableViewControllerTest, SourceCategoryAndPurchasedListsFollowTheirInputs) {
    markNotWorking("com.sample.tweak");
    change("com.sample.paid", [](KSRPackage& package) {
        package.isPaidThroughSileo = true;
        package.tweakCompatibleStatus = 1;
    });
    auto bought = extra("com.other.bought", "Bought Elsewhere");
    bought.isPaidThroughSileo = true;
    auto addon = extra("com.other.addon", "Clock Addon", "Addons");
    addon.subcategory = "Widgets";
    auto brokenAddon = extra("com.other.brokenaddon", "Broken Addon", "Addons");
    brokenAddon.subcategory = "Widgets";
    brokenAddon.tweakCompatibleStatus = 1;
    auto oddlyNamed = extra("com.other.odd", "Oddly Filed", "__SOURCE_PACKAGES__");
    oddlyNamed.subcategory = "All Packages";
    store({bought, addon, brokenAddon, oddlyNamed});

    auto sourceList = [&](KSPackageListCategory category, std::optional<std::string> sub) {
        return shownNames(*openList(category, [&](auto& list) {
            list.setSourceLocation(location);
            list.setSubcategory(sub);
        }));
    };
    auto wholeSource = kAllSampleNames;
    std::erase(wholeSource, "Sample Tweak");
    std::erase(wholeSource, "Premium Widget");
    EXPECT_EQ(sourceList(kCategorySpecial_SourcePackages, "All Packages"), wholeSource);
    EXPECT_EQ(sourceList(kCategorySpecial_SourcePackages, "Tweaks"),
              (Names{"Conflicting Tweak", "Native Depiction Tweak", "Web Depiction Tweak"}));
    EXPECT_EQ(sourceList(kCategorySpecial_SourcePackages, std::nullopt), Names{});
    // A repository category that reads like the source list's name is a category like any other.
    EXPECT_EQ(sourceList(KSPackageListCategory::named("__SOURCE_PACKAGES__"), "All Packages"),
              (Names{"Oddly Filed"}));
    EXPECT_EQ(sourceList(KSPackageListCategory::named("Addons"), "Widgets"),
              (Names{"Clock Addon"}));
    // A special list with a subcategory is a category list of that name.
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_Search,
                                   [](auto& list) {
                                       list.setSearch("Tweak");
                                       list.setSubcategory("Widgets");
                                   })),
              Names{});

    EXPECT_EQ(shownNames(*openList(kCategorySpecial_SileoPackages,
                                   [&](auto& list) { list.setSourceLocation(location); })),
              (Names{"Premium Widget"}));
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_SileoPackages)),
              (Names{"Bought Elsewhere", "Premium Widget"}));

    // A category without a subcategory, or none at all, lists the queue.
    change("com.sample.versioned", [](KSRPackage& package) { package.isInTheQueue = true; });
    EXPECT_EQ(shownNames(*openList(KSPackageListCategory::named("Tweaks"))),
              (Names{"Versioned Utility"}));
    EXPECT_EQ(shownNames(*openList({})), (Names{"Versioned Utility"}));
}

TEST_F(PackagesTableViewControllerTest, IdentifierListsMatchTheirIdentifiersWhateverTheyHold) {
    markNotWorking("com.sample.theme");
    store({extra("com.o'brien.tool%", "Quoted Tool")});
    const std::vector<std::string> hostile{"COM.SAMPLE.THEME", "com.o'brien.tool%",
                                           "x' OR identifier != '", "%", "com.sample.gone"};

    KSRDeveloper developer{.name = "bo sample"};
    developer.developerNewPackagesIdentifiers = hostile;
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_NewPackagesFromFollowedDeveloper,
                                   [&](auto& list) { list.setFollowedDeveloper(developer); })),
              (Names{"Night Sky Theme", "Quoted Tool"}));
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_NewPackagesFromFollowedSource,
                                   [&](auto& list) { list.setNewsSourcePackagesToShow(hostile); })),
              (Names{"Night Sky Theme", "Quoted Tool"}));
    EXPECT_EQ(
        shownNames(*openList(kCategorySpecial_DownloadsHistory,
                             [&](auto& list) { list.setDownloadsHistory({"com.sample.paid"}); })),
        (Names{"Premium Widget"}));
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_DownloadsHistory)), Names{});
    EXPECT_EQ(shownNames(*openList(kCategorySpecial_NewPackagesFromFollowedDeveloper)), Names{});

    // Opened as the application's notices open them: through the screen factory.
    registerScreens();
    auto fromFactory = [&](KSScreenFactory::Request request) {
        request.title = "From a notice";
        auto list = std::dynamic_pointer_cast<PackagesTableViewController>(
            KSScreenFactory::make(Screen::packageList, request));
        EXPECT_TRUE(list);
        if (!list)
            return Names{};
        EXPECT_EQ(show(list)->title(), "From a notice");
        return shownNames(*list);
    };
    EXPECT_EQ(fromFactory({.category = kCategorySpecial_NewPackagesFromFollowedSource,
                           .newsSourcePackagesToShow = hostile}),
              (Names{"Night Sky Theme", "Quoted Tool"}));
    EXPECT_EQ(fromFactory({.category = kCategorySpecial_DownloadsHistory,
                           .downloadsHistory = {"com.sample.paid"}}),
              (Names{"Premium Widget"}));
    EXPECT_EQ(fromFactory({.category = kCategorySpecial_NewPackagesFromFollowedDeveloper,
                           .followedDeveloper = developer}),
              (Names{"Night Sky Theme", "Quoted Tool"}));
}

TEST_F(PackagesTableViewControllerTest, ARowOpensThePageOrTheWebDepictionItsSourceAsksFor) {
    auto all = openList(kCategorySpecial_AllPackages);
    auto openRow = [&](const uikit::IndexPath& row) {
        openedScreens.clear();
        cellInSight(*all, row);
        EXPECT_TRUE(uikit::hands::selectRow(all->packagesTableView, row));
        advanceClock(1);
        EXPECT_EQ(openedScreens.size(), 1u);
        return openedScreens.empty() ? std::pair<Screen, KSScreenFactory::Request>{}
                                     : openedScreens[0];
    };
    auto open = [&](const std::string& name) { return openRow(indexPathOf(*all, name)); };

    auto [screen, request] = open("Sample Tweak");
    EXPECT_EQ(screen, Screen::packagePage);
    EXPECT_EQ(request.packageIdentifier, "com.sample.tweak");
    EXPECT_EQ(request.title, "Sample Tweak");
    EXPECT_EQ(navigation->topViewController(), all->packageViewController());
    EXPECT_FALSE(all->packagesTableView->indexPathForSelectedRow());
    navigation->pop(false);
    advanceClock(1);

    {
        auto database = realm();
        database.write([&] {
            auto source = database.objectForPrimaryKey<KSRSource>(location).value();
            source.seeOriginalDepictions = true;
            database.addOrUpdateObject(source);
        });
    }
    change("com.sample.theme",
           [](KSRPackage& package) { package.website = "https://depictions.example/theme"; });
    change("com.sample.paid", [](KSRPackage& package) { package.website = "javascript:alert(1)"; });
    std::tie(screen, request) = open("Night Sky Theme");
    EXPECT_EQ(screen, Screen::webDepiction);
    EXPECT_EQ(request.packageIdentifier, "com.sample.theme");
    ASSERT_TRUE(request.websiteURL);
    EXPECT_EQ(request.websiteURL->absoluteString(), "https://depictions.example/theme");
    navigation->pop(false);
    advanceClock(1);
    // Only a web address is shown as a web depiction.
    std::tie(screen, request) = open("Premium Widget");
    EXPECT_EQ(screen, Screen::packagePage);
    navigation->pop(false);
    advanceClock(1);

    // A package gone since the list was built opens its page by identifier, untitled.
    const auto goneRow = indexPathOf(*all, "Versioned Utility");
    const auto versioned = stored("com.sample.versioned");
    ASSERT_TRUE(versioned);
    auto database = realm();
    database.write([&] { database.deleteObject(*versioned); });
    std::tie(screen, request) = openRow(goneRow);
    EXPECT_EQ(screen, Screen::packagePage);
    EXPECT_EQ(request.packageIdentifier, "com.sample.versioned");
    EXPECT_EQ(request.title, std::nullopt);
}

// Only asks: a download never starts, so the rows keep their category icons.
class RecordingIconFetcher : public KSRPackageIconFetcher {
  public:
    void fetchIcon(const std::string& identifier, const std::string&, const std::string&) override {
        asked.push_back(identifier);
    }
    std::vector<std::string> asked;
};

TEST_F(PackagesTableViewControllerTest, RebuildsAndIconDownloadsWaitUntilScrollingComesToRest) {
    std::vector<KSRPackage> many;
    for (int i = 10; i < 50; ++i) {
        auto record = extra("com.other.zed" + std::to_string(i), "Zed " + std::to_string(i));
        record.iconURL = "https://other.example/icons/" + std::to_string(i) + ".png";
        many.push_back(record);
    }
    {
        auto database = realm();
        database.write([&] {
            for (const auto& record : many)
                database.addOrUpdateObject(record);
        });
    }
    auto fetcher = std::make_shared<RecordingIconFetcher>();
    KSRPackageManager::sharedPackageManager().packages().setIconFetcher(fetcher);
    auto all = openList(kCategorySpecial_AllPackages);
    auto& table = *all->packagesTableView;
    auto aardvark = extra("com.other.aardvark", "Aardvark");
    auto startsWithA = [&] { return all->sections().titleForSection(0) == "A"; };

    // A drag let go without a fling: the list is at rest again and catches up at once.
    fetcher->asked.clear();
    table.beginDragging();
    table.dragTo({0, 1500});
    table.layoutIfNeeded();
    EXPECT_TRUE(all->isScrolling());
    EXPECT_TRUE(fetcher->asked.empty()) << "rows drawn while scrolling start no downloads";
    store({aardvark});
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, location);
    EXPECT_FALSE(startsWithA());
    EXPECT_TRUE(all->needCacheRebuild());
    table.endDragging();
    EXPECT_FALSE(all->isScrolling());
    EXPECT_FALSE(all->needCacheRebuild());
    EXPECT_TRUE(startsWithA());
    EXPECT_FALSE(fetcher->asked.empty()) << "the rows in sight get their own icons at rest";

    // A fling: the rebuild asked for while the list glides runs when it stops.
    table.beginDragging();
    table.dragTo({0, 600});
    table.endDragging({0, -2});
    EXPECT_TRUE(table.isDecelerating());
    auto database = realm();
    database.write([&] { database.deleteObject(aardvark); });
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, location);
    EXPECT_TRUE(startsWithA());
    advanceClock(uikit::ScrollView::kScrollAnimationDuration);
    EXPECT_FALSE(all->isScrolling());
    EXPECT_FALSE(startsWithA());

    // Back at the very top, below the navigation bar, rows drawn as a drag begins still ask for
    // their own icons.
    table.setContentOffset(table.minimumContentOffset());
    ASSERT_LT(table.contentOffset().y, 0) << "the top of the list rests below the bar";
    table.beginDragging();
    fetcher->asked.clear();
    table.reloadData();
    table.layoutIfNeeded();
    EXPECT_TRUE(all->isScrolling());
    EXPECT_NE(std::find(fetcher->asked.begin(), fetcher->asked.end(), "com.sample.corelib"),
              fetcher->asked.end());
    table.endDragging();
}

TEST_F(PackagesTableViewControllerTest, EveryRowKeepsItsTextWithinItsSeventyPoints) {
    // A description of several lines shows what its row has room for, never over the next row.
    change("com.sample.corelib", [](KSRPackage& package) {
        package.Description =
            "Shared code that the sample tweaks load\nA small library package "
            "that other packages depend on, described at some length";
    });
    auto all = openList(kCategorySpecial_AllPackages);
    for (const auto& name : kAllSampleNames) {
        auto row = cellInSight(*all, indexPathOf(*all, name));
        ASSERT_TRUE(row) << name;
        row->layoutIfNeeded();
        EXPECT_DOUBLE_EQ(row->bounds().height(), PackageCell::kRowHeight);
        for (const auto& label : {row->nameLbl, row->subinfoLbl, row->descriptionLbl})
            EXPECT_LE(label->frame().maxY(), row->contentView()->bounds().height())
                << name << ": " << label->text().value_or("");
    }
}

TEST_F(PackagesTableViewControllerTest, OnlyAListOnScreenFollowsSourceChangesAndIcons) {
    auto all = openList(kCategorySpecial_AllPackages);
    auto cover = show(std::make_shared<uikit::ViewController>());
    store({extra("com.other.aardvark", "Aardvark")});
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, location);
    EXPECT_EQ(all->sections().titleForSection(0), "B") << "a covered list does not rebuild";
    navigation->pop(false);
    advanceClock(1);
    EXPECT_EQ(shownNames(*all).front(), "Aardvark") << "it does when it shows again";

    // A fetched icon reaches the row of its package.
    change("com.sample.theme",
           [](KSRPackage& package) { package.iconURL = "https://other.example/theme.png"; });
    auto theme = stored("com.sample.theme");
    ASSERT_TRUE(theme);
    std::filesystem::create_directories(std::filesystem::path(theme->iconPath()).parent_path());
    auto icon = uikit::Image::withColor(uikit::Color::systemPurple(), {40, 40})->pngData();
    ASSERT_TRUE(icon);
    ASSERT_TRUE(foundation::FileManager::writeAtomically(theme->iconPath(), *icon));
    auto row = cellInSight(*all, indexPathOf(*all, "Night Sky Theme"));
    ASSERT_TRUE(row);
    auto shownWidth = [&] {
        auto image = row->iconView->image();
        return image ? image->size().width : 0.0;
    };
    const double iconWidth = uikit::Image::fromFile(theme->iconPath())->size().width;
    EXPECT_NE(shownWidth(), iconWidth);
    foundation::NotificationCenter::defaultCenter().post(KSRPackageInfoIconChangedNotification,
                                                         std::string("com.sample.theme"));
    EXPECT_EQ(shownWidth(), iconWidth);
}

TEST_F(PackagesTableViewControllerTest, BarAndNavigationActionsOfAList) {
    // Opened from the featured screen, whose bar is hidden: the list shows it while it is up.
    navigation->setNavigationBarHidden(true);
    auto featured = openList(kCategorySpecial_UpdatedPackages,
                             [](auto& list) { list.setIsComingFromFeatured(true); });
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_TRUE(featured->tasksProgressBar->isHidden());
    ASSERT_TRUE(uikit::hands::swipe(featured->view(), uikit::SwipeDirection::right));
    advanceClock(1);
    EXPECT_EQ(navigation->topViewController(), home);
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    navigation->setNavigationBarHidden(false);

    auto source = openList(kCategorySpecial_SourcePackages, [&](auto& list) {
        list.setSourceLocation(location);
        list.setSubcategory("All Packages");
    });
    source->sourceInfo();
    advanceClock(1);
    ASSERT_EQ(openedScreens.size(), 1u);
    EXPECT_EQ(openedScreens[0].first, Screen::sourcePage);
    EXPECT_EQ(openedScreens[0].second.sourceLocation, location);
    EXPECT_TRUE(openedScreens[0].second.isPresented);
    auto presented = std::dynamic_pointer_cast<uikit::NavigationController>(
        navigation->presentedViewController());
    ASSERT_TRUE(presented);
    presented->dismiss(false);
    advanceClock(1);

    change("com.sample.paid", [](KSRPackage& package) { package.isPaidThroughSileo = true; });
    source->seeSileoPurchasedPackages();
    advanceClock(1);
    auto purchased =
        std::dynamic_pointer_cast<PackagesTableViewController>(navigation->topViewController());
    ASSERT_TRUE(purchased);
    EXPECT_EQ(purchased->title(), "Purchased Packages");
    EXPECT_TRUE(purchased->inputs().category.is(Special::sileoPackages));
    EXPECT_EQ(purchased->inputs().sourceLocation, location);
    EXPECT_EQ(shownNames(*purchased), (Names{"Premium Widget"}));

    // The queue changed elsewhere: the rows stay where they are, with fresh queue icons.
    const auto sections = purchased->sections().sections();
    change("com.sample.paid", [](KSRPackage& package) {
        package.isInTheQueue = true;
        package.queueOperation = KSRQueueOperationInstall;
    });
    purchased->updateUI();
    EXPECT_EQ(purchased->sections().sections(), sections);
    auto row = cellInSight(*purchased, {0, 0});
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->installOrQueueStatusImageView->isHidden());
}

}  // namespace
}  // namespace corvane
