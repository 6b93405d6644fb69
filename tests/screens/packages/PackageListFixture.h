#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "framework/StorageFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "screens/ScreenServices.h"
#include "screens/packages/PackagesTableViewController.h"
#include "support/MainLoop.h"
#include "support/SampleRepository.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane::testing {

// A device root whose one source is the sample repository, refreshed by the real package engine,
// and a window showing a navigation controller. The screens a list opens are recorded rather
// than built; the application services are ScreenServices.
class PackageListFixture : public StorageFixture {
  protected:
    using Screen = KSScreenFactory::Screen;

    static void SetUpTestSuite() { repository_ = new testing_support::SampleRepository(); }
    static void TearDownTestSuite() {
        delete repository_;
        repository_ = nullptr;
    }

    void SetUp() override {
        StorageFixture::SetUp();
        location = repository_->location();
        refreshSource(location);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        KSApplicationServices::registerServices(services);
        for (auto screen : {Screen::packagePage, Screen::webDepiction, Screen::sourcePage})
            KSScreenFactory::registerScreen(screen, [this, screen](const auto& request) {
                openedScreens.emplace_back(screen, request);
                return std::make_shared<uikit::ViewController>();
            });
    }

    void TearDown() override {
        window->setRootViewController(nullptr);
        testing_support::advanceClock(1);
        StorageFixture::TearDown();
    }

    // Stores the source and refreshes it. Only the refresh runs on the real engine; whatever a
    // test asks of the engine later is merely recorded.
    void refreshSource(const std::string& sourceLocation) {
        KSRSource source;
        source.location = sourceLocation;
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
        KSPipelinePackageEngine::registerEngine();
        bool finished = false;
        auto task = std::make_shared<KSSourceRefreshTask>(sourceLocation);
        auto token = foundation::NotificationCenter::defaultCenter().addObserver(
            KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
                if (notification.sender == task)
                    finished = true;
            });
        ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(task));
        ASSERT_TRUE(testing_support::pumpUntil([&] { return finished; }, 60));
        ASSERT_TRUE(task->outcome().success);
        ASSERT_TRUE(testing_support::pumpUntil(
            [] {
                auto& manager = KSPipelineManager::sharedManager();
                return manager.tasksArray().empty() &&
                       manager.pipelineOperationQueue()->operationCount() == 0;
            },
            60));
        KSPackageEngineHooks::registerEngine(engine_);
    }

    // Changes stored packages the way the rest of the application would.
    static void change(const std::string& identifier,
                       const std::function<void(KSRPackage&)>& edit) {
        auto database = realm();
        database.write([&] {
            auto record = database.objectForPrimaryKey<KSRPackage>(identifier);
            ASSERT_TRUE(record) << identifier;
            edit(*record);
            database.addOrUpdateObject(*record);
        });
    }

    // Pushes the list as a screen that opens it does and lets the push finish.
    template <typename Screen>
    std::shared_ptr<Screen> show(std::shared_ptr<Screen> screen) {
        navigation->push(screen, false);
        testing_support::advanceClock(1);
        screen->view()->layoutIfNeeded();
        return screen;
    }

    // A list of the category as a screen opens it: inputs set, pushed, shown.
    std::shared_ptr<PackagesTableViewController> openList(
        KSPackageListCategory category,
        const std::function<void(PackagesTableViewController&)>& inputs = {}) {
        auto list = std::make_shared<PackagesTableViewController>();
        list->setCategory(std::move(category));
        if (inputs)
            inputs(*list);
        return show(list);
    }

    // The names a person reads scrolling through the list from top to bottom.
    static std::vector<std::string> shownNames(PackagesTableViewController& list) {
        auto& table = *list.packagesTableView;
        std::vector<std::string> names;
        for (int section = 0; section < table.numberOfSections(); ++section)
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                const auto indexPath = uikit::IndexPath::forRow(row, section);
                table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none,
                                             false);
                auto cell =
                    std::dynamic_pointer_cast<PackageCell>(table.cellForRowAtIndexPath(indexPath));
                EXPECT_TRUE(cell) << section << "/" << row;
                if (cell)
                    names.push_back(cell->nameLbl->text().value_or(""));
            }
        table.setContentOffset({0, 0});
        return names;
    }

    // Where the row showing the name is.
    static uikit::IndexPath indexPathOf(PackagesTableViewController& list,
                                        const std::string& name) {
        const auto names = shownNames(list);
        int index = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
        EXPECT_LT(index, static_cast<int>(names.size())) << name;
        auto& table = *list.packagesTableView;
        int section = 0;
        for (; section < table.numberOfSections(); ++section) {
            const int rows = table.numberOfRowsInSection(section);
            if (index < rows)
                break;
            index -= rows;
        }
        return uikit::IndexPath::forRow(index, section);
    }
    // The row's cell, scrolled into full sight as a person would before touching it.
    static std::shared_ptr<PackageCell> cellInSight(PackagesTableViewController& list,
                                                    const uikit::IndexPath& indexPath) {
        auto& table = *list.packagesTableView;
        table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<PackageCell>(table.cellForRowAtIndexPath(indexPath));
    }

    static std::vector<std::string> sectionTitles(PackagesTableViewController& list) {
        auto& table = *list.packagesTableView;
        std::vector<std::string> titles;
        for (int section = 0; section < table.numberOfSections(); ++section)
            titles.push_back(list.titleForHeaderInSection(table, section).value_or(""));
        return titles;
    }

    static void setPreference(const std::string& key, foundation::Value value) {
        CorvanePersistentPreferences::sharedInstance().setValue(std::move(value), key);
    }

    std::string location;
    std::shared_ptr<uikit::Window> window = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> home = std::make_shared<uikit::ViewController>();
    std::shared_ptr<uikit::NavigationController> navigation =
        uikit::NavigationController::create(home);
    std::shared_ptr<ScreenServices> services = std::make_shared<ScreenServices>(window);
    std::vector<std::pair<Screen, KSScreenFactory::Request>> openedScreens;

    static inline testing_support::SampleRepository* repository_ = nullptr;
};

}  // namespace corvane::testing
