// The queue confirmation driven as a person drives it, against apt-get and dpkg on a temporary
// device root with the sample repository.
#include <gtest/gtest.h>

#include "foundation/Format.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "screens/queue/ConfirmationFixture.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/Gate.h"
#include "support/HttpServer.h"
#include "uikit/NavigationItem.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;
using Strings = std::vector<std::string>;

constexpr const char* kTweak = "com.sample.tweak";
constexpr const char* kCoreLib = "com.sample.corelib";
constexpr const char* kTheme = "com.sample.theme";

class PackagesConfirmationViewControllerTests : public ConfirmationFixture {};

TEST_F(PackagesConfirmationViewControllerTests, ADependencyIsListedApartAndConfirmInstallsBoth) {
    queue(kTweak);
    CorvanePersistentPreferences::sharedInstance().setValue(true, "AutoVerboseViewForPackageTasks");
    int consoleRequests = 0;
    auto console = foundation::NotificationCenter::defaultCenter().addObserver(
        "ShowVerboseView", [&](const foundation::Notification&) { ++consoleRequests; });
    Strings finished;
    auto finishes = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
            EXPECT_TRUE(notification.userInfo[KSPipelineUserInfoSuccess].boolValue());
            finished.push_back(notification.userInfo[KSPipelineUserInfoTaskID].stringValue());
        });

    auto screen = open();
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Sample Tweak"});
    EXPECT_EQ(names(*screen, Lists::requiredPackages), Strings{"Core Library"});
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), Strings{});
    EXPECT_EQ(headers(*screen), (Strings{"Main Packages to Proceed", "Other Packages", ""}));
    auto& table = *screen->packagesConfirmationTableView;
    EXPECT_EQ(screen->viewForFooterInSection(table, Lists::incompatiblePackages), nullptr);
    EXPECT_EQ(screen->confirmBtn->currentTitle(), "Confirm");
    EXPECT_TRUE(screen->confirmBtn->isEnabled());
    EXPECT_EQ(screen->confirmBtn->alpha(), 1.0);

    ASSERT_TRUE(tapConfirm(*screen));
    advanceClock(1);
    EXPECT_FALSE(isShown(screen));
    EXPECT_EQ(consoleRequests, 1);
    EXPECT_FALSE(isQueued(kTweak));
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 120));
    ASSERT_EQ(finished.size(), 3u);
    std::sort(finished.begin(), finished.begin() + 2);
    EXPECT_EQ(finished, (Strings{"Download-com.sample.corelib", "Download-com.sample.tweak",
                                 "Install-com.sample.tweak"}))
        << "the downloads, then one APT operation";
    EXPECT_TRUE(isInstalled(kTweak));
    EXPECT_TRUE(isInstalled(kCoreLib));
}

TEST_F(PackagesConfirmationViewControllerTests,
       ADeletedRowTakesItsDependenciesAndIsNeverInstalled) {
    queue(kTweak);
    queue(kTheme);
    auto screen = open();
    ASSERT_EQ(names(*screen, Lists::queuedPackages), (Strings{"Night Sky Theme", "Sample Tweak"}));
    ASSERT_EQ(names(*screen, Lists::requiredPackages), Strings{"Core Library"});
    auto canceled = countPosts(kTweak, "Canceled Operation");

    ASSERT_TRUE(swipeAway(*screen, Lists::queuedPackages, 1));
    EXPECT_FALSE(isQueued(kTweak));
    EXPECT_FALSE(isQueued(kCoreLib)) << "a dependency is not queued in its place";
    EXPECT_EQ(names(*screen, Lists::requiredPackages), Strings{});
    EXPECT_FALSE(screen->confirmBtn->isEnabled()) << "the old simulation no longer holds";
    EXPECT_EQ(screen->confirmBtn->alpha(), 0.5);
    tapConfirm(*screen);
    advanceClock(0.5);
    EXPECT_TRUE(isShown(screen));
    EXPECT_EQ(*canceled, 1);

    advanceClock(0.5);
    ASSERT_TRUE(waitForSimulation(*screen));
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Night Sky Theme"});
    EXPECT_EQ(names(*screen, Lists::requiredPackages), Strings{});
    ASSERT_TRUE(screen->confirmBtn->isEnabled());
    ASSERT_TRUE(tapConfirm(*screen));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 120));
    EXPECT_EQ(KSAPTManager::queue(), kTheme) << "the list as it was at Confirm";
    EXPECT_TRUE(isInstalled(kTheme));
    EXPECT_FALSE(isInstalled(kTweak));
    EXPECT_FALSE(isInstalled(kCoreLib));
}

TEST_F(PackagesConfirmationViewControllerTests, DeletingTheLastQueuedRowClosesTheScreenForGood) {
    queue(kTweak);
    auto screen = open();
    ASSERT_EQ(names(*screen, Lists::requiredPackages), Strings{"Core Library"});

    ASSERT_TRUE(swipeAway(*screen, Lists::queuedPackages, 0));
    advanceClock(0.5);
    EXPECT_FALSE(isShown(screen));
    EXPECT_EQ(realm().objectsWhere<KSRPackage>("isInTheQueue = 1").count(), 0u)
        << "the dependency is not queued in its place";
    // Queued elsewhere once the screen has gone; the screen, still held here, reads nothing more.
    queue(kTheme);
    advanceClock(2);
    testing_support::pumpFor(0.5);
    EXPECT_TRUE(screen->dataSource().section(Lists::queuedPackages).empty());
    EXPECT_TRUE(pipelineIsEmpty());
    EXPECT_FALSE(KSAPTManager::queue());
}

TEST_F(PackagesConfirmationViewControllerTests, ARowDeletedJustBeforeClosingStartsNothingLater) {
    queue(kTweak);
    queue(kTheme);
    auto screen = open();
    ASSERT_TRUE(swipeAway(*screen, Lists::queuedPackages, 1));
    ASSERT_TRUE(uikit::hands::tapBarButton(screen->navigationItem()->rightBarButtonItem()));
    advanceClock(0.5);
    EXPECT_FALSE(isShown(screen));
    EXPECT_TRUE(isQueued(kTheme)) << "Add leaves the queue as it is";

    queue("com.sample.versioned");
    advanceClock(2);
    testing_support::pumpFor(0.5);
    EXPECT_EQ(screen->dataSource().section(Lists::queuedPackages).size(), 1u)
        << "the screen, still held here, read the queue again after it had gone";
}

TEST_F(PackagesConfirmationViewControllerTests, CancelInstallsNothingAndTellsEachPackageAfterward) {
    KSAPTManager::setQueue(kTheme);
    queue(kTweak);
    queue("com.sample.versioned", "1.0");
    auto screen = open();
    Strings told;
    for (const char* identifier : {kTweak, "com.sample.versioned"})
        tokens_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
            KSRQueueStateNotificationName(identifier),
            [&, identifier](const foundation::Notification& notification) {
                EXPECT_FALSE(isShown(screen)) << identifier;
                told.push_back(identifier + (" " + notification.userInfo["Message"].stringValue()));
            }));

    ASSERT_TRUE(uikit::hands::tapBarButton(screen->navigationItem()->leftBarButtonItem()));
    EXPECT_EQ(realm().objectsWhere<KSRPackage>("isInTheQueue = 1").count(), 0u);
    EXPECT_FALSE(KSAPTManager::queue()) << "what an earlier screen handed over is gone too";
    EXPECT_TRUE(told.empty());
    advanceClock(1);
    EXPECT_FALSE(isShown(screen));
    std::ranges::sort(told);
    EXPECT_EQ(told, (Strings{"com.sample.tweak Canceled Operation",
                             "com.sample.versioned Canceled Operation"}));
    EXPECT_TRUE(pipelineIsEmpty());
    EXPECT_FALSE(isInstalled(kTweak));
}

TEST_F(PackagesConfirmationViewControllerTests, APackageThatCannotBeProcessedKeepsConfirmDisabled) {
    queue("com.sample.unmet");
    queue(kTheme);
    auto screen = open();
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Night Sky Theme"});
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), Strings{"Broken Dependency"});
    EXPECT_EQ(headers(*screen)[Lists::incompatiblePackages], "Packages that cannot be processed");
    auto& table = *screen->packagesConfirmationTableView;
    auto footer = std::dynamic_pointer_cast<uikit::TableViewCell>(
        screen->viewForFooterInSection(table, Lists::incompatiblePackages));
    ASSERT_TRUE(footer);
    EXPECT_NE(footer->detailTextLabel()->text().value_or("").find("remove the incompatible"),
              std::string::npos);
    auto red = cellAt(*screen, Lists::incompatiblePackages, 0);
    ASSERT_TRUE(red);
    EXPECT_EQ(red->nameLbl->textColor(), uikit::Color::systemRed());
    expectConfirmRefused(screen);

    // Swiped away, it leaves the queue, and the rest can go ahead once simulated again.
    ASSERT_TRUE(swipeAway(*screen, Lists::incompatiblePackages, 0));
    EXPECT_FALSE(isQueued("com.sample.unmet"));
    advanceClock(1);
    ASSERT_TRUE(waitForSimulation(*screen));
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), Strings{});
    EXPECT_TRUE(screen->confirmBtn->isEnabled());
}

TEST_F(PackagesConfirmationViewControllerTests, AQueueEntryAptWouldRefuseIsShownWithItsReason) {
    queue(kTheme, "3.1;reboot", KSRQueueOperationInstall);
    auto screen = open();
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{});
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), Strings{"Night Sky Theme"});
    auto cell = cellAt(*screen, Lists::incompatiblePackages, 0);
    ASSERT_TRUE(cell);
    EXPECT_NE(cell->descriptionLbl->text().value_or("").find("is not a valid Debian version"),
              std::string::npos);
    EXPECT_FALSE(screen->confirmBtn->isEnabled());
    tapConfirm(*screen);
    advanceClock(1);
    EXPECT_TRUE(pipelineIsEmpty());
    EXPECT_FALSE(KSAPTManager::queue());
}

// APT cannot simulate a queue whose dependency names an archive outside its repository, and
// names no queued package: every queued package is set apart in red with APT's words, and once
// the one that needs the dependency is swiped away the rest can go ahead.
TEST_F(PackagesConfirmationViewControllerTests, AFailedSimulationIsShownInAptsWords) {
    testing_support::ArchiveRepository astray;
    astray.add(testing_support::DebianArchive("com.example.lure")
                   .field("Name", "Lure")
                   .field("Depends", "com.example.astray"));
    astray.addStanza(
        "Package: com.example.astray\nVersion: 1.0\nArchitecture: iphoneos-arm\n"
        "Filename: ../../../../outside.deb");
    addSource(astray.location());
    queue("com.example.lure");
    queue(kTheme);
    setPreference("HidePackageDescription", true);
    auto screen = open();
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{});
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), (Strings{"Lure", "Night Sky Theme"}));
    EXPECT_EQ(headers(*screen)[Lists::incompatiblePackages], "Packages that cannot be processed");
    auto red = cellAt(*screen, Lists::incompatiblePackages, 0);
    ASSERT_TRUE(red);
    EXPECT_EQ(red->nameLbl->textColor(), uikit::Color::systemRed());
    EXPECT_EQ(red->descriptionLbl->text(),
              "E: Can't find a source to download version '1.0' of "
              "'com.example.astray:iphoneos-arm'");
    EXPECT_FALSE(red->descriptionLbl->isHidden()) << "the reason shows where descriptions do not";
    EXPECT_EQ(screen->confirmBtn->alpha(), 0.5);
    expectConfirmRefused(screen);

    ASSERT_TRUE(swipeAway(*screen, Lists::incompatiblePackages, 0));
    EXPECT_FALSE(isQueued("com.example.lure"));
    advanceClock(1);
    EXPECT_TRUE(isShown(screen)) << "a package that cannot be processed is left to simulate";
    ASSERT_TRUE(waitForSimulation(*screen));
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Night Sky Theme"});
    EXPECT_EQ(names(*screen, Lists::incompatiblePackages), Strings{});
    EXPECT_TRUE(screen->confirmBtn->isEnabled());
    for (const auto& request : astray.server().requests())
        EXPECT_EQ(request.path.find(".deb"), std::string::npos) << request.path;
}

TEST_F(PackagesConfirmationViewControllerTests, OnlyTheNewestSimulationIsApplied) {
    queue(kTweak);
    auto screen = open();
    screen->refreshQueue();
    KSRPackageManager::sharedPackageManager().packages().setPackage(kTweak, false, std::nullopt,
                                                                    KSRQueueOperationNone);
    queue(kTheme);
    screen->refreshQueue();
    ASSERT_TRUE(waitForSimulation(*screen));
    testing_support::pumpFor(1);
    EXPECT_EQ(screen->dependsTree().installs, Strings{kTheme});
    EXPECT_EQ(screen->dependsTree().depends, Strings{});
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Night Sky Theme"});
    EXPECT_EQ(names(*screen, Lists::requiredPackages), Strings{});
}

TEST_F(PackagesConfirmationViewControllerTests, ASourceChangeWaitsUntilTheUserStopsDragging) {
    queue(kTweak);
    auto screen = open();
    auto& table = *screen->packagesConfirmationTableView;
    screen->scrollViewWillBeginDragging(table);
    queue(kTheme);
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification,
                                                         foundation::Value(location));
    EXPECT_EQ(names(*screen, Lists::queuedPackages), Strings{"Sample Tweak"});

    screen->scrollViewDidEndDragging(table, false);
    ASSERT_TRUE(waitForSimulation(*screen));
    EXPECT_EQ(names(*screen, Lists::queuedPackages), (Strings{"Night Sky Theme", "Sample Tweak"}));
}

// Opens its door on each request once the test lets it; it has no repository to offer.
class HeldRepository {
  public:
    HeldRepository() {
        server.setFallback([this](const testing_support::CapturedRequest&) {
            gate.pass();
            return testing_support::CannedResponse{.status = 404};
        });
        server.start();
    }
    ~HeldRepository() { gate.open(); }

    testing_support::Gate gate;
    testing_support::HttpServer server;
};

TEST_F(PackagesConfirmationViewControllerTests, ConfirmWaitsForARefreshAndTheQueueIsReadAfterIt) {
    HeldRepository held;
    const auto location = held.server.url("/held/");
    {
        KSRSource source;
        source.location = location;
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
    }
    queue(kTweak);
    ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(
        std::make_shared<KSSourceRefreshTask>(location)));
    auto screen = open();
    EXPECT_EQ(screen->confirmBtn->currentTitle(), "Waiting On (1) Tasks");
    EXPECT_FALSE(screen->confirmBtn->isEnabled());
    tapConfirm(*screen);
    queue(kTheme);

    held.gate.open();
    ASSERT_TRUE(pumpUntil([&] { return screen->confirmBtn->currentTitle() == "Confirm"; }));
    ASSERT_TRUE(waitForSimulation(*screen));
    EXPECT_EQ(names(*screen, Lists::queuedPackages), (Strings{"Night Sky Theme", "Sample Tweak"}))
        << "the queue is read again once the refresh has ended";
    EXPECT_TRUE(screen->confirmBtn->isEnabled());
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 120));
    EXPECT_TRUE(isShown(screen)) << "Confirm did nothing while the refresh ran";
    ASSERT_TRUE(tapConfirm(*screen));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil(pipelineIsEmpty, 120));
    EXPECT_TRUE(isInstalled(kTheme));
    EXPECT_TRUE(isInstalled(kTweak));
}

}  // namespace
}  // namespace corvane::testing
