#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/DispatchQueue.h"
#include "foundation/NotificationCenter.h"
#include "framework/StorageFixture.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "framework/tasks/KSTask.h"
#include "support/MainLoop.h"
#include "support/SampleRepository.h"

namespace corvane::testing {

// A fresh device root with the real package engine and the sample repository on loopback.
class PipelineFixture : public StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        KSPipelinePackageEngine::registerEngine();
    }
    // The device root goes only once no task, and no build of APT's caches that a refresh
    // started, works on it.
    void TearDown() override {
        EXPECT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 120));
        EXPECT_TRUE(testing_support::pumpUntil(
            [] {
                return foundation::DispatchQueue::global(
                           foundation::DispatchQueue::Priority::Background)
                    .isIdle();
            },
            120));
        StorageFixture::TearDown();
    }

    static bool pipelineIsEmpty() {
        auto& manager = KSPipelineManager::sharedManager();
        return manager.tasksArray().empty() &&
               manager.pipelineOperationQueue()->operationCount() == 0;
    }

    static void storeSource(const std::string& location) {
        KSRSource source;
        source.location = location;
        source.iconURL = location + "CydiaIcon.png";
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
    }

    static std::optional<KSRSource> storedSource(const std::string& location) {
        return realm().objectForPrimaryKey<KSRSource>(location);
    }

    // Queues the task, turns the main loop until it has finished, and gives its outcome.
    static KSTask::Outcome run(const std::shared_ptr<KSTask>& task) {
        bool finished = false;
        auto token = foundation::NotificationCenter::defaultCenter().addObserver(
            KSPipelineTaskFinishedNotification, [&](const foundation::Notification& notification) {
                if (notification.sender == task)
                    finished = true;
            });
        EXPECT_TRUE(KSPipelineManager::sharedManager().queueTask(task));
        EXPECT_TRUE(testing_support::pumpUntil([&] { return finished; }, 60));
        return task->outcome();
    }

    static std::vector<KSRPackage> packagesOf(const std::string& location) {
        std::vector<KSRPackage> packages;
        for (const auto& package : realm()
                                       .objectsWhere<KSRPackage>("sourceLocation = %@", location)
                                       .sortedResultsUsingKeyPath("identifier", true))
            packages.push_back(package);
        return packages;
    }

    testing_support::SampleRepository repository_;
};

}  // namespace corvane::testing
