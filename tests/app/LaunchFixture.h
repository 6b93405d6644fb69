#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "app/KSCorvane.h"
#include "app/tabs/KSMainStoryboard.h"
#include "foundation/DataFolder.h"
#include "foundation/PropertyList.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/tasks/KSPipelineManager.h"
#include "reachability/Reachability.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/Application.h"
#include "uikit/Window.h"

namespace corvane::testing {

// A fresh device root, without default sources unless a test names some, on which the
// application is launched the way the platform launches it.
class LaunchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("CORVANE_DEFAULT_SOURCES", "", 1);
        uikit::Application::shared().setDelegate(delegate_);
        delegate_->setWindow(window_);
    }

    // The launch's background work and the tasks it started end before the device root goes.
    void TearDown() override {
        EXPECT_TRUE(testing_support::pumpUntil([this] { return isAtRest(); }, 120));
    }

    // As the platform does it: the main interface in the window, the launch, then the window on
    // screen and the application active.
    void launch() {
        finishLaunching();
        showWindow();
    }
    void finishLaunching() {
        window_->setRootViewController(KSMainStoryboard::instantiateInitialViewController());
        EXPECT_TRUE(uikit::Application::shared().finishLaunching());
    }
    void showWindow() {
        window_->makeKeyAndVisible();
        uikit::Application::shared().becomeActive();
    }

    bool isAtRest() const {
        auto& pipeline = KSPipelineManager::sharedManager();
        return !delegate_->hasPendingWork() && pipeline.tasksArray().empty() &&
               pipeline.pipelineOperationQueue()->operationCount() == 0;
    }
    void waitUntilAtRest() {
        ASSERT_TRUE(testing_support::pumpUntil([this] { return isAtRest(); }, 120));
    }

    void writeDeviceFile(const std::string& devicePath, const std::string& text) const {
        writeFile(root_.resolve(devicePath), text);
    }
    // A file of the program's own, at the path the device would keep it.
    static void writeDataFile(const std::string& devicePath, const std::string& text) {
        writeFile(foundation::DataFolder::resolve(devicePath), text);
    }
    static void writeFile(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // A preference file from an earlier run.
    static void writePreferences(const foundation::Dictionary& values) {
        std::filesystem::create_directories(KSPaths::dataDirectory());
        ASSERT_TRUE(foundation::PropertyList::writeFile(KSPaths::preferenceFile(), values,
                                                        foundation::PropertyList::Format::XML));
    }

    // The preference file as it is on disk.
    static foundation::Value preferencesOnDisk() {
        auto read = foundation::PropertyList::readFile(KSPaths::preferenceFile());
        return read ? *read : foundation::Value();
    }

    static std::optional<KSRPackage> storedPackage(const std::string& identifier) {
        return KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    }

    static std::string installedStanza(const std::string& identifier, const std::string& version) {
        std::ostringstream stanza;
        stanza << "Package: " << identifier << "\n"
               << "Status: install ok installed\n"
               << "Priority: optional\n"
               << "Section: Tweaks\n"
               << "Maintainer: Example <example@example.com>\n"
               << "Architecture: iphoneos-arm\n"
               << "Version: " << version << "\n"
               << "Description: An installed package\n\n";
        return stanza.str();
    }

    testing_support::TempDeviceRoot root_;
    std::shared_ptr<KSCorvane> delegate_ = std::make_shared<KSCorvane>();
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
};

}  // namespace corvane::testing
