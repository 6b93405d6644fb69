#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/storage/KSRPackageIndexImporter.h"
#include "framework/storage/KSRSource.h"
#include "screens/KSScreens.h"
#include "screens/ScreenServices.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "support/MainLoop.h"
#include "support/SampleRepository.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"
#include "uikit/Screen.h"
#include "uikit/Window.h"

namespace corvane::testing {

// A device root whose database holds the sample repository's packages under its source, the
// real screens registered, and a window with a navigation controller to push the page onto.
class PackagePageFixture : public StorageFixture {
  protected:
    static constexpr const char* kSourceName = "Sample Repository";

    // One repository, built once, serves every test of the suite.
    static void SetUpTestSuite() { sample_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete sample_;
        sample_ = nullptr;
    }

    void SetUp() override {
        StorageFixture::SetUp();
        previousScreen_ = uikit::Screen::main().bounds();
        uikit::Screen::main().setBounds({0, 0, 375, 667});
        storeSampleRepository();
        registerScreens();
        KSApplicationServices::registerServices(services);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        window->setRootViewController(nullptr);
        navigation.reset();
        // Replies of the page's service requests hop to the main loop; they find no page.
        testing_support::pumpFor(0.3);
        testing_support::advanceClock(1);
        uikit::Screen::main().setBounds(previousScreen_);
        StorageFixture::TearDown();
    }

    void storeSampleRepository() {
        location = sample_->location();
        KSRSource source;
        source.location = location;
        source.name = kSourceName;
        source.Description = "Packages to try the program with";
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
        const auto index =
            foundation::FileManager::readText((sample_->folder() / "Packages").string());
        ASSERT_TRUE(index);
        KSRPackageIndexImporter::importPackages(
            location, KSParsingUtility::arrayFromPackagesFromString(*index), 1.7e9);
    }

    // Changes the stored package in one write.
    static void change(const std::string& identifier,
                       const std::function<void(KSRPackage&)>& edit) {
        auto database = realm();
        database.write([&] {
            auto package = database.objectForPrimaryKey<KSRPackage>(identifier);
            ASSERT_TRUE(package) << identifier;
            edit(*package);
            database.addOrUpdateObject(*package);
        });
    }
    static void changeSource(const std::function<void(KSRSource&)>& edit,
                             const std::string& sourceLocation) {
        auto database = realm();
        database.write([&] {
            auto source = database.objectForPrimaryKey<KSRSource>(sourceLocation);
            ASSERT_TRUE(source);
            edit(*source);
            database.addOrUpdateObject(*source);
        });
    }

    // Opens the page through the screen factory, as every caller does, and lets it appear.
    std::shared_ptr<PackageDetailsViewController> open(const std::string& identifier) {
        KSScreenFactory::Request request;
        request.packageIdentifier = identifier;
        auto page = std::dynamic_pointer_cast<PackageDetailsViewController>(
            KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request));
        EXPECT_TRUE(page) << identifier;
        if (!page)
            return nullptr;
        navigation->push(page, true);
        testing_support::advanceClock(1);
        settle(*page);
        return page;
    }
    // Runs the main loop until the reviews asked for on appearing have answered.
    static void settle(PackageDetailsViewController& page) {
        EXPECT_TRUE(testing_support::pumpUntil([&] { return page.model().reviewsSettled(); }));
        testing_support::advanceClock(1);
    }

    // Runs the main loop until the depiction of this appearance has had its outcome.
    static bool waitForDepiction(PackageDetailsViewController& page) {
        return testing_support::pumpUntil([&] { return page.model().refreshForCydiaPackages(); });
    }

    static inline testing_support::SampleRepository* sample_ = nullptr;
    std::string location;
    std::shared_ptr<ScreenServices> services = std::make_shared<ScreenServices>();
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::NavigationController> navigation =
        uikit::NavigationController::create(std::make_shared<uikit::ViewController>());

  private:
    uikit::Rect previousScreen_;
};

}  // namespace corvane::testing
