#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/StorageFixture.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "support/Gate.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "support/SampleRepository.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane::testing {

// A device root on which the real package engine refreshes sources: the sample repository, and
// held repositories that answer nothing until the test opens the gate, then 404. A window shows
// a navigation controller; the package pages and web depictions a screen opens are recorded
// rather than built.
class SourcesFixture : public StorageFixture {
  protected:
    static void SetUpTestSuite() { repository_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete repository_;
        repository_ = nullptr;
    }

    void SetUp() override {
        StorageFixture::SetUp();
        KSPipelinePackageEngine::registerEngine();
        location = repository_->location();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        KSScreenFactory::registerScreen(KSScreenFactory::Screen::packagePage,
                                        [this](const KSScreenFactory::Request& request) {
                                            openedPackages.push_back(request.packageIdentifier);
                                            return std::make_shared<uikit::ViewController>();
                                        });
        KSScreenFactory::registerScreen(
            KSScreenFactory::Screen::webDepiction, [this](const KSScreenFactory::Request& request) {
                openedWebDepictions.push_back(
                    request.websiteURL ? request.websiteURL->absoluteString() : "(none)");
                return std::make_shared<uikit::ViewController>();
            });
    }

    // Whatever a test held goes on, and ends, before the device root goes.
    void TearDown() override {
        gate.open();
        waitUntilAtRest();
        window->setRootViewController(nullptr);
        testing_support::advanceClock(1);
    }

    static bool isAtRest() {
        auto& pipeline = KSPipelineManager::sharedManager();
        return pipeline.tasksArray().empty() &&
               pipeline.pipelineOperationQueue()->operationCount() == 0;
    }
    static void waitUntilAtRest() { ASSERT_TRUE(testing_support::pumpUntil(isAtRest, 60)); }

    // Stores the source and has the package engine refresh it, without waiting.
    static void storeAndRefresh(const std::string& location) {
        KSRSource source;
        source.location = location;
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
        KSPackageEngineHooks::refreshSources({location});
    }

    // A repository at the loopback server that keeps every request waiting at the gate.
    std::string heldLocation(const std::string& name) {
        if (!heldServer_) {
            heldServer_ = std::make_unique<testing_support::HttpServer>();
            heldServer_->setFallback([this](const testing_support::CapturedRequest&) {
                gate.pass();
                return testing_support::CannedResponse{.status = 404};
            });
            heldServer_->start();
        }
        return heldServer_->url("/" + name + "/");
    }

    // Pushed as a screen that opens it does, and on screen.
    template <typename Screen>
    std::shared_ptr<Screen> show(std::shared_ptr<Screen> screen) {
        navigation->push(screen, false);
        testing_support::advanceClock(1);
        screen->view()->layoutIfNeeded();
        return screen;
    }

    std::string location;
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::NavigationController> navigation =
        uikit::NavigationController::create(std::make_shared<uikit::ViewController>());
    std::vector<std::string> openedPackages;
    // The address of each web depiction opened.
    std::vector<std::string> openedWebDepictions;
    testing_support::Gate gate;
    std::unique_ptr<testing_support::HttpServer> heldServer_;

    static inline testing_support::SampleRepository* repository_ = nullptr;
};

}  // namespace corvane::testing
