// URLs of the application's own scheme, handed to the launched application the way the platform
// hands them over, answered as a person answers the alerts, against a loopback repository.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/LaunchFixture.h"
#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "framework/storage/KSRSources.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "support/HttpServer.h"
#include "support/SampleRepository.h"
#include "uikit/AlertController.h"
#include "uikit/InterfaceHands.h"
#include "uikit/NavigationController.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using Screen = KSScreenFactory::Screen;

class KSURLSchemeTaskTests : public LaunchFixture {
  protected:
    // The screens that other areas add, recorded as they are asked for.
    void launchWithRecordedScreens() {
        launch();
        waitUntilAtRest();
        for (auto screen : {Screen::sourcePage, Screen::developerDetails}) {
            KSScreenFactory::registerScreen(screen, [this, screen](const auto& request) {
                requested_.emplace_back(screen, request);
                return std::make_shared<uikit::ViewController>();
            });
        }
    }

    static void open(const std::string& text) {
        auto url = foundation::URL::withString(text);
        ASSERT_TRUE(url) << text;
        EXPECT_TRUE(uikit::Application::shared().handleOpenURL(*url));
    }

    // What is presented once every transition has ended; null when nothing is.
    std::shared_ptr<uikit::ViewController> shown() const {
        advanceClock(1);
        auto top = window_->topmostPresentedViewController();
        return top == window_->rootViewController() ? nullptr : top;
    }
    std::shared_ptr<uikit::AlertController> shownAlert() const {
        return std::dynamic_pointer_cast<uikit::AlertController>(shown());
    }
    template <typename T>
    std::shared_ptr<T> shownScreen() const {
        auto navigation = std::dynamic_pointer_cast<uikit::NavigationController>(shown());
        return navigation ? std::dynamic_pointer_cast<T>(navigation->topViewController()) : nullptr;
    }

    static void answer(const std::shared_ptr<uikit::AlertController>& alert,
                       const std::string& title) {
        ASSERT_TRUE(alert);
        ASSERT_TRUE(uikit::hands::pickAlertAction(alert, title)) << title;
        advanceClock(1);
    }

    static std::vector<std::string> buttons(const std::shared_ptr<uikit::AlertController>& alert) {
        std::vector<std::string> titles;
        for (const auto& action : alert->actions())
            titles.push_back(action->title());
        return titles;
    }

    static bool isStored(const std::string& location) {
        return KSDatabase::realm().objectForPrimaryKey<KSRSource>(location).has_value();
    }

    static void storeSource(const std::string& location) {
        KSRSource source;
        source.location = location;
        auto realm = KSDatabase::realm();
        realm.write([&] { realm.addOrUpdateObject(source); });
    }

    std::shared_ptr<KSURLSchemeTask> task() const { return delegate_->urlSchemeTask(); }

    std::vector<std::pair<Screen, KSScreenFactory::Request>> requested_;
};

TEST_F(KSURLSchemeTaskTests, ARepositoryIsAddedOnlyOnceThePersonAgreesAndThenRefreshed) {
    testing_support::SampleRepository repository;
    launchWithRecordedScreens();
    std::string address = repository.location();
    address.pop_back();

    open("corvane://add/" + address);
    auto question = shownAlert();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->title(), "Add repository");
    EXPECT_EQ(question->message(),
              "Would you like to add repository: " + repository.location() + " to Corvane");
    EXPECT_EQ(buttons(question), (std::vector<std::string>{"No, thanks", "Yes"}));
    answer(question, "Yes");

    // Plain http: the sources collection warns first, and nothing is stored before the answer.
    auto warning = shownAlert();
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->title(), "Add repository");
    EXPECT_NE(warning->message().value_or("").find("insecure"), std::string::npos);
    EXPECT_FALSE(isStored(repository.location()));
    answer(warning, "Add");
    waitUntilAtRest();

    EXPECT_TRUE(isStored(repository.location()));
    EXPECT_TRUE(storedPackage("com.sample.tweak")) << "the new source was refreshed";
    EXPECT_FALSE(shown());

    // Known now, it opens its page without a question, however the address is written.
    open("corvane://url/https://share.example.com/api/share#?source=" + address);
    ASSERT_EQ(requested_.size(), 1u);
    EXPECT_EQ(requested_[0].first, Screen::sourcePage);
    EXPECT_EQ(requested_[0].second.sourceLocation, repository.location());
    EXPECT_TRUE(requested_[0].second.isPresented);
    auto page = std::dynamic_pointer_cast<uikit::NavigationController>(shown());
    ASSERT_TRUE(page) << "presented in a navigation controller of its own";
}

TEST_F(KSURLSchemeTaskTests, DecliningLeavesTheSourcesAsTheyWere) {
    testing_support::SampleRepository repository;
    launchWithRecordedScreens();
    open("corvane://add/" + repository.location());
    answer(shownAlert(), "No, thanks");
    open("corvane://show/shared=Corvane&name=Sample+Tweak&bundleid=com.sample.tweak&repo=" +
         repository.location());
    answer(shownAlert(), "No, thanks");
    open("corvane://add/" + repository.location());
    answer(shownAlert(), "Yes");
    answer(shownAlert(), "Cancel");
    waitUntilAtRest();
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRSource>().count(), 0u);
    EXPECT_FALSE(shown());
}

TEST_F(KSURLSchemeTaskTests, AStoredSourceOpensWhicheverSchemeTheLinkUses) {
    launchWithRecordedScreens();
    storeSource("https://repo.example.org/");
    open("corvane://add/http://Repo.Example.org");
    ASSERT_EQ(requested_.size(), 1u);
    EXPECT_EQ(requested_[0].second.sourceLocation, "https://repo.example.org/");
}

// The share link of a package whose repository is new: the package opens once that source, and
// no other, has been refreshed, and a second later.
TEST_F(KSURLSchemeTaskTests, ASharedPackageOpensAfterItsOwnRepositoryWasRefreshed) {
    testing_support::SampleRepository repository;
    launchWithRecordedScreens();
    open("corvane://show/shared=Corvane&name=Sample+Tweak&bundleid=com.sample.tweak&repo=" +
         repository.location());
    auto question = shownAlert();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->title(), "Show package");
    EXPECT_EQ(question->message(), "Would you like to add repository: " + repository.location() +
                                       " to Corvane, in order to show package: Sample Tweak");
    answer(question, "Yes");
    EXPECT_EQ(task()->bundleID(), "com.sample.tweak");
    auto warning = shownAlert();
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->title(), "Show package");

    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification,
                                                         "https://other.example.org/");
    advanceClock(2);
    EXPECT_EQ(shownAlert().get(), warning.get()) << "another source's news is not this package's";
    EXPECT_EQ(task()->bundleID(), "com.sample.tweak");

    // The repository answers slowly: meanwhile another addition of the same address is refused
    // and the payment client signs in to it. Neither is the refresh the package waits for.
    const auto release =
        foundation::FileManager::readText((repository.folder() / "Release").string());
    ASSERT_TRUE(release);
    repository.server().route("/Release", {.body = *release, .delaySeconds = 1});
    answer(warning, "Add");
    EXPECT_EQ(KSRPackageManager::sharedPackageManager().sources().addSourceWithLocation(
                  repository.location(), true),
              KSRSources::kRefusalDuplicate);
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification,
                                                         repository.location());
    advanceClock(1);
    EXPECT_FALSE(shown()) << "no refusal of another addition is shown";
    EXPECT_EQ(task()->bundleID(), "com.sample.tweak");

    ASSERT_TRUE(testing_support::pumpUntil([this] { return task()->bundleID().empty(); }, 60));
    EXPECT_TRUE(storedPackage("com.sample.tweak"));
    advanceClock(KSURLSchemeTask::kShowPackageDelaySeconds / 2);
    EXPECT_FALSE(window_->rootViewController()->presentedViewController());
    auto page = shownScreen<PackageDetailsViewController>();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->packageIdentifier(), "com.sample.tweak");
    EXPECT_TRUE(page->isComingFromURLScheme());
    page->dismiss(false);
    waitUntilAtRest();
}

// Told to the person, and logged with the link for whoever reads the log afterwards.
TEST_F(KSURLSchemeTaskTests, ARefusedRepositoryIsToldInItsOwnWordsAndLoggedWithTheLink) {
    launchWithRecordedScreens();
    ::testing::internal::CaptureStderr();
    const std::string link =
        "corvane://show/bundleid=com.example.cool&repo=https%3A%2F%2Frepo.example.org%2F%3Fx";
    open(link);
    answer(shownAlert(), "Yes");
    auto refusal = shownAlert();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->title(), "Show package");
    EXPECT_EQ(refusal->message(), "This is not a valid repository address.");
    EXPECT_EQ(buttons(refusal), std::vector<std::string>{"Close"});
    EXPECT_EQ(task()->bundleID(), "");
    answer(refusal, "Close");

    open("corvane://add/javascript:alert(1)");
    answer(shownAlert(), "Yes");
    auto added = shownAlert();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->title(), "Add repository");
    EXPECT_EQ(added->message(), "This is not a valid repository address.");
    answer(added, "Close");
    const auto log = ::testing::internal::GetCapturedStderr();
    for (const auto& refused : {link, std::string("corvane://add/javascript:alert(1)")})
        EXPECT_NE(log.find("Refused the URL \"" + refused +
                           "\": This is not a valid repository address."),
                  std::string::npos)
            << log;
}

// Until every screen is part of the program, the log says which link asked for a missing one.
TEST_F(KSURLSchemeTaskTests, AScreenThatIsNotThereIsLoggedWithTheLinkThatAskedForIt) {
    launchWithRecordedScreens();
    storeSource("https://repo.example.org/");
    KSScreenFactory::registerScreen(Screen::sourcePage, nullptr);
    KSScreenFactory::registerScreen(Screen::importedArchive, nullptr);
    ::testing::internal::CaptureStderr();
    open("corvane://add/repo.example.org");
    open("file:///var/mobile/Documents/a%20b.deb");
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Nothing was shown for the URL \"corvane://add/repo.example.org\""),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Nothing was shown for the archive "
                       "\"file:///var/mobile/Documents/a%20b.deb\""),
              std::string::npos)
        << log;
    EXPECT_FALSE(shown());
}

TEST_F(KSURLSchemeTaskTests, AKnownPackageOpensAtOnceAndAnUnknownOneIsSaidToBeMissing) {
    launchWithRecordedScreens();
    KSRPackage package;
    package.identifier = "com.example.cool";
    package.name = "Cool Tweak";
    auto realm = KSDatabase::realm();
    realm.write([&] { realm.addOrUpdateObject(package); });

    open("corvane://show/com.example.cool");
    auto page = shownScreen<PackageDetailsViewController>();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->packageIdentifier(), "com.example.cool");
    page->dismiss(false);
    advanceClock(1);

    open("corvane://show/bundleid=com.example.gone");
    auto missing = shownAlert();
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->message(), "Package does not exist.");
    EXPECT_EQ(buttons(missing), std::vector<std::string>{"Close"});
    answer(missing, "Close");
    waitUntilAtRest();
}

TEST_F(KSURLSchemeTaskTests, TextFromAURLIsNeverReadAsAFormat) {
    launchWithRecordedScreens();
    open("corvane://add/repo.example.org/%25d%25@");
    auto added = shownAlert();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->message(),
              "Would you like to add repository: https://repo.example.org/%25d%25@/ to Corvane");
    answer(added, "No, thanks");

    open("corvane://show/bundleid=com.example.cool&name=%25@+%2525d&repo=repo.example.org");
    auto shownPackage = shownAlert();
    ASSERT_TRUE(shownPackage);
    EXPECT_EQ(shownPackage->message(),
              "Would you like to add repository: https://repo.example.org/ to Corvane, in order "
              "to show package: %@ %25d");
    answer(shownPackage, "No, thanks");
}

TEST_F(KSURLSchemeTaskTests, AURLThatIsNoneOfTheFormsIsLoggedByName) {
    launchWithRecordedScreens();
    ::testing::internal::CaptureStderr();
    open("corvane://show/%3Brm");
    open("corvane://install/com.example.cool");
    open("file:///tmp/archive.DEB");
    const auto log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Ignored the URL \"corvane://show/%3Brm\": it names no valid package"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\"corvane://install/com.example.cool\": its host is none"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\"file:///tmp/archive.DEB\": it is no URL of this application"),
              std::string::npos)
        << log;
    EXPECT_FALSE(shown());
}

TEST_F(KSURLSchemeTaskTests, ADeveloperIsSearchedForWithBlanksAndShownOrLookedForInSearch) {
    testing_support::HttpServer service;
    service.route("/api/developers", {.body = R"([{"name": "ann", "fullName": "Ann Example"}])",
                                      .contentType = "application/json"});
    service.start();
    launchWithRecordedScreens();
    setenv(KSWebServiceAddress::kEnvironmentVariable, service.url("/api").c_str(), 1);

    open("corvane://developer/developer=Ann+Example");
    ASSERT_TRUE(testing_support::pumpUntil([this] { return !requested_.empty(); }));
    EXPECT_EQ(requested_[0].first, Screen::developerDetails);
    ASSERT_TRUE(requested_[0].second.developerProfile);
    EXPECT_EQ(requested_[0].second.developerProfile->fullName, "Ann Example");
    EXPECT_TRUE(requested_[0].second.isPresented);
    ASSERT_TRUE(shown());
    window_->rootViewController()->dismiss(false);
    advanceClock(1);

    service.route("/api/developers", {.body = "[]", .contentType = "application/json"});
    open("corvane://developer/Bob+Example");
    ASSERT_TRUE(testing_support::pumpUntil([this] { return !delegate_->hasPendingWork(); }));
    EXPECT_EQ(CorvanePersistentPreferences::sharedInstance().stringForKey("SearchDeveloper"),
              "Bob Example");
    EXPECT_EQ(delegate_->tabController()->selectedIndex(), KSTabBarController::kSearchTabIndex);

    std::vector<std::string> queries;
    for (const auto& request : service.requests())
        queries.push_back(request.query);
    EXPECT_EQ(queries, (std::vector<std::string>{"name=Ann%20Example", "name=Bob%20Example"}));
}

}  // namespace
}  // namespace corvane::testing
