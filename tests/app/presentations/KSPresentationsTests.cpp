// The shared presentations: a package's options and versions, the share sheets, and the screens
// that other areas provide.
#include "app/presentations/KSPresentations.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/presentations/DelegatePartsFixture.h"
#include "app/presentations/KSShareTexts.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/KSScreens.h"
#include "screens/news/NewsViewController.h"
#include "screens/packages/PackagesTableViewController.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "screens/website/WebViewViewController.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Device.h"
#include "uikit/Image.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using Screen = KSScreenFactory::Screen;

class KSPresentationsTest : public DelegatePartsFixture {
  protected:
    static KSRPackageVersion version(const std::string& identifier, const std::string& text,
                                     const std::string& location) {
        return {KSRPackageVersion::makeKey(identifier, text, location), identifier, text, location,
                std::nullopt};
    }
    std::shared_ptr<uikit::ActivityViewController> shownSheet() {
        return std::dynamic_pointer_cast<uikit::ActivityViewController>(shown());
    }
    static std::string textItem(const std::shared_ptr<uikit::ActivityViewController>& sheet) {
        return std::get<foundation::Value>(sheet->activityItems().at(0)).stringValue();
    }
};

TEST_F(KSPresentationsTest, TheOptionsOfferOnlyWhatAppliesToThePackage) {
    auto plain = package("com.example.plain");
    plain.name = "Plain";
    auto held = package("com.example.held");
    held.name = "Held";
    held.isInstalled = true;
    held.isHeld = true;
    held.installedVersion = "1.0";
    held.availableVersions = {version("com.example.held", "1.0", location_)};
    auto unheld = held;
    unheld.identifier = "com.example.unheld";
    unheld.isHeld = false;
    unheld.availableVersions = {};
    store({plain, held, unheld});

    presentations->presentOptions("com.example.plain");
    auto sheet = shownAlert();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "What would you like to do?");
    EXPECT_EQ(sheet->preferredStyle(), uikit::AlertController::Style::actionSheet);
    EXPECT_EQ(actionTitles(sheet), (std::vector<std::string>{"Share Plain", "Cancel"}));
    EXPECT_EQ(sheet->view()->tintColor(), KSPaletteManager::getActivePalette().tintColor());
    ASSERT_TRUE(uikit::hands::pickAlertAction(sheet, "Cancel"));

    presentations->presentOptions("com.example.held");
    EXPECT_EQ(actionTitles(shownAlert()),
              (std::vector<std::string>{"Reinstall", "Uninstall", "Show Updates", "Select Version",
                                        "Share Held", "Cancel"}));
    ASSERT_TRUE(uikit::hands::pickAlertAction(shownAlert(), "Cancel"));
    presentations->presentOptions("com.example.unheld");
    EXPECT_EQ(actionTitles(shownAlert()),
              (std::vector<std::string>{"Reinstall", "Uninstall", "Ignore Updates", "Share Held",
                                        "Cancel"}));
    ASSERT_TRUE(uikit::hands::pickAlertAction(shownAlert(), "Cancel"));

    presentations->presentOptions("com.example.unknown");
    EXPECT_EQ(shown(), nullptr);
}

TEST_F(KSPresentationsTest, ReinstallAndUninstallMarkTheQueueThenShowIt) {
    registerRecordingScreens();
    auto installed = package("com.example.tool");
    installed.isInstalled = true;
    installed.installedVersion = "2.1";
    installed.price = "$3.00";
    store({installed});
    auto posts = countQueueStatePosts("com.example.tool");

    presentations->presentOptions("com.example.tool");
    ASSERT_TRUE(uikit::hands::pickAlertAction(shownAlert(), "Reinstall"));
    advanceClock(1);
    auto record = stored("com.example.tool");
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isInTheQueue);
    EXPECT_EQ(record->queueOperation, KSRQueueOperationReinstall);
    EXPECT_EQ(record->queuedVersion, "2.1");
    EXPECT_EQ(*posts, 1);
    ASSERT_EQ(requestedScreens.size(), 1u);
    EXPECT_EQ(requestedScreens[0].first, Screen::queueConfirmation);
    EXPECT_TRUE(std::dynamic_pointer_cast<uikit::NavigationController>(shown()));
    shown()->dismiss(false);
    advanceClock(1);

    presentations->presentOptions("com.example.tool");
    ASSERT_TRUE(uikit::hands::pickAlertAction(shownAlert(), "Uninstall"));
    advanceClock(1);
    const auto tool = stored("com.example.tool");
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->queueOperation, KSRQueueOperationRemove);
    EXPECT_TRUE(server_.requests().empty()) << "no payment rule for the options";
}

TEST_F(KSPresentationsTest, TheVersionMenuListsVersionsLowestFirstAndQueuesTheChosenOne) {
    auto multi = package("com.example.multi");
    multi.name = "Multi";
    multi.availableVersions = {version("com.example.multi", "1.10", location_),
                               version("com.example.multi", "1.2~beta", location_),
                               version("com.example.multi", "1:0.1", location_),
                               version("com.example.multi", "1.2", location_),
                               version("com.example.multi", "1.10", "https://mirror.example/")};
    store({multi});

    presentations->showVersionSelectionMenuForIdentifier("com.example.multi");
    auto menu = shownAlert();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), "Select Version");
    EXPECT_EQ(menu->message(), "Select the version of Multi you would like to install.");
    EXPECT_EQ(actionTitles(menu),
              (std::vector<std::string>{"1.2~beta", "1.2", "1.10", "1:0.1", "Cancel"}));
    ASSERT_TRUE(uikit::hands::pickAlertAction(menu, "1.2"));
    advanceClock(1);
    auto record = stored("com.example.multi");
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isInTheQueue);
    EXPECT_EQ(record->queuedVersion, "1.2");
}

TEST_F(KSPresentationsTest, APackageIsSharedWithItsLinkAndTheScreenshotsThatDecode) {
    auto png = uikit::Image::withColor(uikit::Color::systemRed(), {4, 4})->pngData();
    ASSERT_TRUE(png);
    server_.route("/shots/1.png",
                  {.body = std::string(png->begin(), png->end()), .contentType = "image/png"});
    server_.route("/shots/2.png", {.body = "not an image", .contentType = "image/png"});
    auto shared = package("com.example.cool");
    shared.name = "Cool Tweak Pro";
    shared.maintainer = "Jane";
    shared.sourceLocation = location_;
    shared.screenshots = {server_.url("/shots/2.png"), "file:///etc/passwd",
                          server_.url("/shots/1.png"), server_.url("/missing.png")};
    auto orphan = package("com.example.orphan");
    orphan.sourceLocation = "https://gone.example/";
    store({shared, orphan});
    {
        auto database = realm();
        database.write([&] {
            auto source = database.objectForPrimaryKey<KSRSource>(location_).value();
            source.name = "Pay Repo";
            database.addOrUpdateObject(source);
        });
    }

    presentations->sharePackage("com.example.cool");
    pumpUntil([this] { return shownSheet() != nullptr; });
    auto sheet = shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "Cool Tweak Pro");
    EXPECT_EQ(textItem(sheet),
              "Check out \"Cool Tweak Pro\" by Jane from the source \"Pay Repo\" on Corvane !\n"
              "(See the package : corvane://show/shared=Corvane&name=Cool+Tweak+Pro&bundleid="
              "com.example.cool&repo=" +
                  location_ + ")");
    std::size_t images = 0;
    for (const auto& item : sheet->activityItems())
        images += std::holds_alternative<std::shared_ptr<uikit::Image>>(item);
    bool hasIcon = KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(
                       "com.example.cool") != nullptr;
    EXPECT_EQ(images, hasIcon + 1u) << "the icon and the one screenshot that decodes";
    EXPECT_FALSE(sheet->view()->hasOwnTintColor()) << "only alerts take the palette's tint";
    ASSERT_TRUE(uikit::hands::completeActivity(sheet, std::nullopt));
    advanceClock(1);

    presentations->sharePackage("com.example.orphan");
    pumpUntil([this] { return shownSheet() != nullptr; });
    EXPECT_NE(textItem(shownSheet()).find("source \"(Removed source)\""), std::string::npos);
    EXPECT_NE(textItem(shownSheet()).find("repo=(Removed source))"), std::string::npos);
}

TEST_F(KSPresentationsTest, ShareSheetsLeaveOutTheExcludedActivities) {
    presentations->shareSourceWithLocation(location_);
    auto sheet = shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "Share " + location_);
    EXPECT_EQ(textItem(sheet), "Check out the source \"" + location_ +
                                   "\" maintained by  on Corvane!\n(Add the source : "
                                   "corvane://add/repo=" +
                                   location_ + ")");
    EXPECT_EQ(sheet->excludedActivityTypes().size(), 6u);
    ASSERT_TRUE(uikit::hands::completeActivity(sheet, std::nullopt));
    advanceClock(1);

    uikit::Device::current().setSystemVersion("10.3");
    addSource("https://second.example/", std::nullopt);
    presentations->shareAllSources();
    sheet = shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "All Sources");
    auto text = textItem(sheet);
    EXPECT_TRUE(text == location_ + "\nhttps://second.example/" ||
                text == "https://second.example/\n" + location_)
        << text;
    auto excluded = sheet->excludedActivityTypes();
    EXPECT_EQ(excluded.size(), 5u);
    EXPECT_EQ(std::ranges::count(excluded, uikit::ActivityViewController::kActivityTypeMarkupAsPDF),
              0);
}

TEST_F(KSPresentationsTest, ScreensOfOtherAreasAreRefusedUntilRegistered) {
    presentations->presentQueue();
    presentations->presentTasks();
    presentations->showNewsVC();
    const auto website = foundation::URL::withString("https://example.org/");
    ASSERT_TRUE(website);
    presentations->openWebsiteAtURL(*website, "X");
    presentations->openURLInSafariVC(foundation::URL::withString("file:///etc/passwd"));
    EXPECT_EQ(shown(), nullptr);

    CorvanePersistentPreferences::sharedInstance().setValue(true, "ShowVerboseUI");
    presentations->presentTasks();
    EXPECT_TRUE(shownScreen<TasksVerboseViewController>());
}

TEST_F(KSPresentationsTest, TheNewsAndTheListsOfNewPackagesAreTheScreensOfTheirAreas) {
    registerScreens();
    setenv(KSWebServiceAddress::kEnvironmentVariable, server_.url("/api").c_str(), 1);
    routeJSON("/api/news", R"([{"id": 1, "title": "Welcome"}])");
    presentations->showNewsVC();
    auto news = std::dynamic_pointer_cast<NewsViewController>(shown());
    ASSERT_TRUE(news);
    pumpUntil([&] { return news->news().size() == 1; });
    unsetenv(KSWebServiceAddress::kEnvironmentVariable);
    news->dismiss(false);
    advanceClock(1);

    {
        auto database = realm();
        database.write([&] {
            database.addOrUpdateObject(
                KSRDeveloper{.name = "jane doe", .developerNewPackagesIdentifiers = {kPaid}});
        });
    }
    state->developerToShow = "Jane Doe";
    presentations->showDeveloperPage();
    auto list = shownScreen<PackagesTableViewController>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "__NEW_PACKAGES__");
    EXPECT_TRUE(list->inputs().category.is(kCategorySpecial_NewPackagesFromFollowedDeveloper));
    EXPECT_EQ(list->sections().identifierAt(0, 0), kPaid);
}

TEST_F(KSPresentationsTest, AWebsiteOpensInTheBrowserWithItsOwnCloseButton) {
    registerScreens();
    const auto website = foundation::URL::withString(server_.url("/jane"));
    ASSERT_TRUE(website);
    presentations->openWebsiteAtURL(*website, "Jane");
    auto browser = shownScreen<WebViewViewController>();
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->title(), "Jane's website");
    EXPECT_EQ(browser->websiteURL(), website);
    auto close = browser->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    EXPECT_EQ(shown(), nullptr);
}

}  // namespace
}  // namespace corvane::testing
