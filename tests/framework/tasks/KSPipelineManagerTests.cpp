#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "framework/StorageFixture.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPostInstallActionPerformer.h"
#include "framework/tasks/KSTaskError.h"
#include "support/Gate.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using testing_support::pumpUntil;

using testing_support::Gate;

// A task that waits at its gate, reports a status and a progress, and ends as told.
class GatedTask : public KSTask {
  public:
    GatedTask(std::string id, std::string pipeline = KSPipelinePackageOperation,
              bool succeeds = true)
        : id_(std::move(id)), pipeline_(std::move(pipeline)), succeeds_(succeeds) {}

    std::string taskID() const override { return id_; }
    std::string pipelineID() const override { return pipeline_; }
    std::string taskDescription() const override { return "Gated " + id_; }
    bool storedNewIndex() const override { return storesNewIndex; }

    Gate gate;
    bool storesNewIndex = false;
    std::atomic<bool> started = false;
    std::function<void()> whileRunning;

  protected:
    void main() override {
        started = true;
        setTaskStatus("Running");
        setTaskProgress(0.5);
        if (whileRunning)
            whileRunning();
        gate.pass();
        if (succeeds_)
            setOutcome(true);
        else
            setOutcome(false, KSTaskError::make(KSTaskError::kNetwork, "went wrong"));
    }

  private:
    std::string id_;
    std::string pipeline_;
    bool succeeds_;
};

struct Seen {
    std::string name;
    foundation::Value userInfo;
    std::shared_ptr<void> sender;
    bool onMain = false;
    bool taskStillQueued = false;
};

class PipelineRecorder {
  public:
    PipelineRecorder() {
        for (const auto* name :
             {KSPipelineTaskQueuedNotification, KSPipelineTaskFinishedNotification,
              KSPipelineTaskStatusNotification, KSPipelineTaskProgressNotification,
              KSPipelineSourcesRefreshCompletedNotification})
            tokens_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
                name,
                [this](const foundation::Notification& notification) { record(notification); }));
    }
    std::vector<Seen> named(const std::string& name) const {
        std::lock_guard lock(mutex_);
        std::vector<Seen> matching;
        std::ranges::copy_if(seen_, std::back_inserter(matching),
                             [&](const Seen& seen) { return seen.name == name; });
        return matching;
    }

  private:
    void record(const foundation::Notification& notification) {
        Seen seen{notification.name, notification.userInfo, notification.sender,
                  foundation::isMainThread()};
        const auto operations =
            KSPipelineManager::sharedManager().pipelineOperationQueue()->operations();
        seen.taskStillQueued = std::ranges::any_of(
            operations, [&](const auto& operation) { return operation == notification.sender; });
        std::lock_guard lock(mutex_);
        seen_.push_back(std::move(seen));
    }

    mutable std::mutex mutex_;
    std::vector<Seen> seen_;
    std::vector<foundation::ObservationToken> tokens_;
};

bool pipelineEmpty() {
    return KSPipelineManager::sharedManager().tasksArray().empty() &&
           KSPipelineManager::sharedManager().pipelineOperationQueue()->operationCount() == 0;
}

// A device root of its own: the information-cache task that follows refreshes reads and
// writes it.
class KSPipelineManagerTests : public testing::StorageFixture {
  protected:
    void TearDown() override {
        EXPECT_TRUE(pumpUntil(pipelineEmpty, 60));
        StorageFixture::TearDown();
    }
};

TEST_F(KSPipelineManagerTests, DropsATaskWhoseIDIsLiveAndTakesItAgainOnceFinished) {
    auto& manager = KSPipelineManager::sharedManager();
    PipelineRecorder recorder;
    auto first = std::make_shared<GatedTask>("Install-a");
    auto duplicate = std::make_shared<GatedTask>("Install-a");
    auto other = std::make_shared<GatedTask>("Install-b");

    EXPECT_TRUE(manager.queueTask(first));
    EXPECT_FALSE(manager.queueTask(duplicate));
    EXPECT_FALSE(manager.queueTask(first));
    EXPECT_TRUE(manager.queueTask(other));
    EXPECT_EQ(manager.tasksArray(), (KSPipelineManager::TaskList{first, other}));
    // Only the accepted ones were announced, on the queuing thread.
    EXPECT_EQ(recorder.named(KSPipelineTaskQueuedNotification).size(), 2u);

    first->gate.open();
    other->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    EXPECT_FALSE(duplicate->started);

    auto again = std::make_shared<GatedTask>("Install-a");
    EXPECT_TRUE(manager.queueTask(again));
    again->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    EXPECT_TRUE(again->started);
}

TEST_F(KSPipelineManagerTests, FinishedArrivesOnMainWithItsKeysWhileTheTaskStillHoldsItsSlot) {
    auto& manager = KSPipelineManager::sharedManager();
    PipelineRecorder recorder;
    auto good = std::make_shared<GatedTask>("Good", KSPipelinePackageOperation, true);
    auto bad = std::make_shared<GatedTask>("Bad", KSPipelinePackageDownload, false);
    manager.queueTask(good);
    manager.queueTask(bad);
    good->gate.open();
    bad->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    ASSERT_TRUE(
        pumpUntil([&] { return recorder.named(KSPipelineTaskFinishedNotification).size() == 2; }));

    for (const auto& finished : recorder.named(KSPipelineTaskFinishedNotification)) {
        EXPECT_TRUE(finished.onMain);
        // Posted while the finishing thread waited: the queue had not let go of the task.
        EXPECT_TRUE(finished.taskStillQueued);
        const auto& info = finished.userInfo;
        if (finished.sender == good) {
            EXPECT_EQ(info[KSPipelineUserInfoTaskID], foundation::Value("Good"));
            EXPECT_EQ(info[KSPipelineUserInfoPipelineID], foundation::Value("package.ops"));
            EXPECT_EQ(info[KSPipelineUserInfoSuccess], foundation::Value(true));
            EXPECT_TRUE(info[KSPipelineUserInfoError].isNull());
        } else {
            ASSERT_EQ(finished.sender, bad);
            EXPECT_EQ(info[KSPipelineUserInfoSuccess], foundation::Value(false));
            auto error = KSPipelineManager::errorFromValue(info[KSPipelineUserInfoError]);
            ASSERT_TRUE(error);
            EXPECT_EQ(error->domain, KSTaskError::kDomain);
            EXPECT_EQ(error->code, KSTaskError::kNetwork);
            EXPECT_EQ(error->localizedDescription(), "went wrong");
        }
    }
    for (const auto& name :
         {KSPipelineTaskStatusNotification, KSPipelineTaskProgressNotification}) {
        auto updates = recorder.named(name);
        ASSERT_FALSE(updates.empty()) << name;
        EXPECT_TRUE(std::ranges::all_of(updates, &Seen::onMain)) << name;
    }
    auto progress = recorder.named(KSPipelineTaskProgressNotification).front();
    EXPECT_EQ(progress.userInfo[KSPipelineUserInfoProgress], foundation::Value(0.5));
}

TEST_F(KSPipelineManagerTests, ATaskCancelledBeforeItRanIsReportedAsFailed) {
    auto& manager = KSPipelineManager::sharedManager();
    PipelineRecorder recorder;
    auto blocker = std::make_shared<GatedTask>("Blocker");
    manager.pipelineOperationQueue()->setMaxConcurrentOperationCount(1);
    manager.queueTask(blocker);
    auto cancelled = std::make_shared<GatedTask>("Cancelled");
    manager.queueTask(cancelled);
    cancelled->cancel();
    blocker->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    manager.pipelineOperationQueue()->setMaxConcurrentOperationCount(
        KSPipelineManager::kMaxConcurrentTasks);

    EXPECT_FALSE(cancelled->started);
    auto finished = recorder.named(KSPipelineTaskFinishedNotification);
    auto it = std::ranges::find(finished, std::shared_ptr<void>(cancelled), &Seen::sender);
    ASSERT_NE(it, finished.end());
    EXPECT_EQ(it->userInfo[KSPipelineUserInfoSuccess], foundation::Value(false));
    EXPECT_EQ(KSPipelineManager::errorFromValue(it->userInfo[KSPipelineUserInfoError])->code,
              KSTaskError::kCancelled);
}

TEST_F(KSPipelineManagerTests, RefreshCountFallsToZeroAndCompletionIsPostedOnce) {
    auto& manager = KSPipelineManager::sharedManager();
    PipelineRecorder recorder;
    std::mutex mutex;
    std::vector<std::uint64_t> counts;
    auto observation = manager.observableSourceRefreshCount().observe([&](std::uint64_t count) {
        std::lock_guard lock(mutex);
        counts.push_back(count);
    });
    auto first = std::make_shared<GatedTask>("Refresh-1", KSPipelineSourceRefresh);
    auto second = std::make_shared<GatedTask>("Refresh-2", KSPipelineSourceRefresh);
    second->storesNewIndex = true;
    auto unrelated = std::make_shared<GatedTask>("Other");
    manager.queueTask(first);
    manager.queueTask(second);
    manager.queueTask(unrelated);
    EXPECT_EQ(manager.sourceRefreshCount(), 2u);

    first->gate.open();
    ASSERT_TRUE(pumpUntil([&] { return manager.sourceRefreshCount() == 1; }));
    EXPECT_TRUE(recorder.named(KSPipelineSourcesRefreshCompletedNotification).empty());
    second->gate.open();
    unrelated->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    testing_support::pumpFor(0.05);

    EXPECT_EQ(manager.sourceRefreshCount(), 0u);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(counts, (std::vector<std::uint64_t>{1, 2, 1, 0}));
    }
    EXPECT_EQ(recorder.named(KSPipelineSourcesRefreshCompletedNotification).size(), 1u);
    // The information cache was rebuilt after the last refresh, as one of them stored a new
    // index.
    const auto rebuilds = [&] {
        return std::ranges::count_if(recorder.named(KSPipelineTaskFinishedNotification),
                                     [](const Seen& seen) {
                                         return seen.userInfo[KSPipelineUserInfoPipelineID] ==
                                                foundation::Value(KSPipelineInformationCache);
                                     });
    };
    EXPECT_EQ(rebuilds(), 1);

    // A round in which every repository answered that nothing changed rebuilds nothing.
    auto unchanged = std::make_shared<GatedTask>("Refresh-3", KSPipelineSourceRefresh);
    manager.queueTask(unchanged);
    unchanged->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    testing_support::pumpFor(0.05);
    EXPECT_EQ(recorder.named(KSPipelineSourcesRefreshCompletedNotification).size(), 2u);
    EXPECT_EQ(rebuilds(), 1);
}

TEST_F(KSPipelineManagerTests, PostInstallActionsWaitForAnEmptyPipelineAndRunOnce) {
    auto& manager = KSPipelineManager::sharedManager();
    auto installer = std::make_shared<GatedTask>("Install-x");
    installer->whileRunning = [&] {
        KSPipelineManager::sharedManager().addPostInstallAction(
            {KSPostInstallAction::Kind::respring});
        KSPipelineManager::sharedManager().addPostInstallAction(
            {KSPostInstallAction::Kind::iconCacheRefresh});
        KSPipelineManager::sharedManager().addPostInstallAction(
            {KSPostInstallAction::Kind::respring});
    };
    auto other = std::make_shared<GatedTask>("Other");
    manager.queueTask(installer);
    manager.queueTask(other);
    installer->gate.open();
    ASSERT_TRUE(pumpUntil([&] { return manager.tasksArray().size() == 1; }));
    EXPECT_EQ(manager.pendingPostInstallActions(),
              (std::vector<KSPostInstallAction>{{KSPostInstallAction::Kind::respring},
                                                {KSPostInstallAction::Kind::iconCacheRefresh}}));
    other->gate.open();
    ASSERT_TRUE(pumpUntil(pipelineEmpty));
    EXPECT_TRUE(pumpUntil([&] { return manager.pendingPostInstallActions().empty(); }));
    // They are carried out (logged) on the thread that emptied the pipeline.
    testing_support::pumpFor(0.1);
}

TEST_F(KSPipelineManagerTests, PostInstallCommandLinesNeverCarryAHostileProcessName) {
    using Kind = KSPostInstallAction::Kind;
    EXPECT_EQ(
        KSPostInstallActionPerformer::commandLineForAction({Kind::processKill, "Preferences"}),
        "killall -9 'Preferences'");
    for (const auto* hostile : {"", "-9 1", "a;reboot", "$(id)", "a b", "../x"})
        EXPECT_EQ(KSPostInstallActionPerformer::commandLineForAction({Kind::processKill, hostile}),
                  std::nullopt)
            << hostile;
}

}  // namespace
}  // namespace corvane
