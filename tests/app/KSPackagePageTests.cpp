// A package opened in the launched application, as a person sees it in a terminal with
// --describe: the page that every caller gets from the screen factory.
#include <gtest/gtest.h>

#include "LaunchFixture.h"
#include "framework/storage/KSRSource.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"
#include "uikit/TabBarController.h"

namespace corvane::testing {
namespace {

class KSPackagePageTests : public LaunchFixture {};

TEST_F(KSPackagePageTests, AnOpenedPackageIsWhatTheScreenDescribes) {
    launch();
    waitUntilAtRest();
    KSRSource source;
    source.location = "https://repo.example.org/";
    source.name = "Example Repository";
    KSRPackage package;
    package.identifier = "com.example.cool";
    package.name = "Cool Tweak";
    package.version = "1.4";
    package.maintainer = "Ann Example";
    package.category = "Tweaks";
    package.sourceLocation = source.location;
    auto realm = KSDatabase::realm();
    realm.write([&] {
        realm.addOrUpdateObject(source);
        realm.addOrUpdateObject(package);
    });

    KSScreenFactory::Request request;
    request.packageIdentifier = package.identifier;
    auto page = KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
    ASSERT_TRUE(page) << "the application registered the package page";
    auto tabs = std::dynamic_pointer_cast<uikit::TabBarController>(window_->rootViewController());
    ASSERT_TRUE(tabs);
    auto navigation =
        std::dynamic_pointer_cast<uikit::NavigationController>(tabs->selectedViewController());
    ASSERT_TRUE(navigation);
    navigation->push(page, false);
    testing_support::advanceClock(1);

    const std::string screen = window_->describe();
    for (const char* shown : {"Cool Tweak", "Ann Example", "1.4", "Tweaks", "GET",
                              "Example Repository", "More by Ann Example"})
        EXPECT_NE(screen.find(shown), std::string::npos) << shown << "\n" << screen;
    EXPECT_EQ(screen.find("Screenshots"), std::string::npos) << "nothing to show there";
    navigation->pop(false);
    testing_support::advanceClock(1);
}

}  // namespace
}  // namespace corvane::testing
