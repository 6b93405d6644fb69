#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/ProcessState.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {
namespace {

// A task that takes a moment.
class SlowTask : public KSTask {
  public:
    explicit SlowTask(std::string id) : id_(std::move(id)) {}
    std::string taskID() const override { return id_; }
    std::string pipelineID() const override { return KSPipelinePackageOperation; }
    std::string taskDescription() const override { return id_; }

    std::atomic<bool> ran = false;

  protected:
    void main() override {
        ran = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        setOutcome(true);
    }

  private:
    std::string id_;
};

class ProcessResetTest : public testing::StorageFixture {};

TEST_F(ProcessResetTest, OneResetPutsTheEngineBackAsALaunchFindsIt) {
    KSAPTManager::setQueue("com.example.app com.example.gone-");
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    const auto preferenceFile = preferences.path();
    preferences.setValue(true, "DarkMode");
    auto& pipeline = KSPipelineManager::sharedManager();
    auto running = std::make_shared<SlowTask>("Slow-1");
    ASSERT_TRUE(pipeline.queueTask(running));
    while (!running->ran)
        std::this_thread::yield();

    ASSERT_TRUE(foundation::ProcessState::reset());
    EXPECT_TRUE(running->isFinished()) << "the reset waits for the task under way";
    EXPECT_TRUE(KSPipelineManager::sharedManager().tasksArray().empty());
    EXPECT_EQ(KSAPTManager::queue(), std::nullopt);
    EXPECT_TRUE(KSAPTManager::queueArray().empty());
    EXPECT_FALSE(foundation::FileManager::fileExists(preferenceFile))
        << "a save still pending is not made: its device root may be gone";

    KSPackageEngineHooks::refreshSources({"https://repo.example.org/"});
    EXPECT_EQ(KSPackageEngineHooks::pendingRequests().size(), 1u) << "no engine is registered";

    foundation::DeviceRoot::set(root_.path());
    EXPECT_FALSE(CorvanePersistentPreferences::sharedInstance().boolForKey("DarkMode"));
}

}  // namespace
}  // namespace corvane
