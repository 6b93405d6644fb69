// URLs handed to the corvane program on the command line, as other applications would hand them
// over, on fresh device roots with a loopback repository; --answer taps the alerts' buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/PropertyList.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "support/HttpServer.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

bool isStored(const std::string& location) {
    return KSDatabase::realm().objectForPrimaryKey<KSRSource>(location).has_value();
}

std::string address(const testing_support::SampleRepository& repository) {
    auto location = repository.location();
    location.pop_back();
    return location;
}

TEST(CorvaneURLTests, AnAddLinkAddsTheRepositoryAndRefreshesIt) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    auto run = runProgram({"--root", root.path(), "--open", "corvane://add/" + address(repository),
                           "--answer", "Yes", "--answer", "Add", "--until-idle"},
                          kNoSources);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(isStored(repository.location())) << "\"/\" put behind";
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRPackage>().count(), repository.packageCount());
}

// No http server answers https here: the source is stored under the address it was given.
TEST(CorvaneURLTests, AnAddressWithoutSchemeIsAddedOverHttps) {
    testing_support::TempDeviceRoot root;
    auto run = runProgram({"--root", root.path(), "--open", "corvane://add/127.0.0.1:9/apt",
                           "--answer", "Yes", "--until-idle"},
                          kNoSources);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(isStored("https://127.0.0.1:9/apt/"));
}

TEST(CorvaneURLTests, ASharedPackageOpensOnceItsRepositoryIsAddedAndRefreshed) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    auto run = runProgram(
        {"--root", root.path(), "--open",
         "corvane://show/shared=Corvane&name=Sample+Tweak&bundleid=com.sample.tweak&repo=" +
             repository.location(),
         "--answer", "Yes", "--answer", "Add", "--until-idle", "--describe"},
        kNoSources);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(isStored(repository.location()));
    for (const char* shown : {"Sample Tweak", "Ada Sample", "Close"})
        EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n" << run.output;
    EXPECT_EQ(run.output.find("Package does not exist."), std::string::npos) << run.output;
}

TEST(CorvaneURLTests, ADeveloperLinkSearchesForTheNameWithBlanks) {
    testing_support::HttpServer service;
    service.route("/api/developers", {.body = "[]", .contentType = "application/json"});
    service.start();
    testing_support::TempDeviceRoot root;
    auto run =
        runProgram({"--root", root.path(), "--open", "corvane://developer/developer=Ann+Example",
                    "--until-idle", "--describe"},
                   {"CORVANE_DEFAULT_SOURCES=", "CORVANE_WEB_SERVICE_URL=" + service.url("/api")});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    std::vector<std::string> searches;
    for (const auto& request : service.requests()) {
        if (request.path == "/api/developers")
            searches.push_back(request.query);
    }
    EXPECT_EQ(searches, std::vector<std::string>{"name=Ann%20Example"});
    // Nobody found: the search tab takes the name over.
    EXPECT_NE(run.output.find("Button \"Search\" selected"), std::string::npos) << run.output;
    auto preferences = foundation::PropertyList::readFile(KSPaths::preferenceFile());
    ASSERT_TRUE(preferences);
    EXPECT_EQ((*preferences)["SearchDeveloper"].stringValue(), "Ann Example");
}

TEST(CorvaneURLTests, AURLThatCannotBeUsedIsLoggedAndTheLaunchGoesOn) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    const std::string longURL = "corvane://show/" + std::string(6000, 'a');
    auto run =
        runProgram({"--root", root.path(), "--open", "not a URL", "--open", "corvane://show/%3Brm",
                    "--open", longURL, "--open", "corvane://add/" + repository.location(),
                    "--answer", "Yes", "--answer", "Add", "--until-idle", "--describe"},
                   kNoSources);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const auto log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("Refused the URL \"not a URL\": it cannot be read as a URL"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Ignored the URL \"corvane://show/%3Brm\": it names no valid package"),
              std::string::npos)
        << log;
    const std::string cut = longURL.substr(0, 200) + "…\": the URL is too long";
    EXPECT_NE(log.find(cut), std::string::npos) << log;
    EXPECT_EQ(log.find(longURL.substr(0, 201)), std::string::npos) << "the log line is cut";
    EXPECT_TRUE(isStored(repository.location())) << "the URLs after a bad one are still opened";
    EXPECT_NE(run.output.find("Button \"Featured\" selected"), std::string::npos) << run.output;
}

TEST(CorvaneURLTests, ALinkRefusedAfterThePersonAgreedIsLoggedByName) {
    testing_support::TempDeviceRoot root;
    auto run = runProgram({"--root", root.path(), "--open", "corvane://add/javascript:alert(1)",
                           "--answer", "Yes", "--until-idle", "--describe"},
                          kNoSources);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.output.find("This is not a valid repository address."), std::string::npos)
        << run.output;
    const auto log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("Refused the URL \"corvane://add/javascript:alert(1)\": This is not a "
                       "valid repository address."),
              std::string::npos)
        << log;
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRSource>().count(), 0u);
}

TEST(CorvaneURLTests, APaymentCallbackReachesThePaymentClientOnlyFromTheInAppBrowser) {
    testing_support::TempDeviceRoot root;
    auto elsewhere = runProgram(
        {"--root", root.path(), "--open", "sileo://payment_completed", "--until-idle"}, kNoSources);
    ASSERT_EQ(elsewhere.exitStatus, 0) << elsewhere.errors;
    auto log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("Ignored the payment callback \"sileo://payment_completed\": it did not "
                       "come from the in-app browser"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("no payment is pending"), std::string::npos) << log;

    auto browser =
        runProgram({"--root", root.path(), "--source-application", "com.apple.SafariViewService",
                    "--open", "sileo://payment_completed", "--until-idle"},
                   kNoSources);
    ASSERT_EQ(browser.exitStatus, 0) << browser.errors;
    log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("Ignored a payment callback: no payment is pending"), std::string::npos)
        << log;
}

}  // namespace
}  // namespace corvane::testing
