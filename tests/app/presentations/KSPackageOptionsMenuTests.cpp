// Holding and unholding a package from its options menu on a device root with the package
// installed by APT: apt-mark waits its turn for the root command runner without stopping the
// screen, and the menu offers the other choice once dpkg's status has been read again.
#include "app/presentations/KSPackageOptionsMenu.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/presentations/DelegatePartsFixture.h"
#include "app/presentations/KSPresentations.h"
#include "foundation/Dispatch.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "uikit/AlertController.h"
#include "uikit/InterfaceHands.h"
#include "uikit/Window.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

constexpr const char* kPackage = "com.sample.versioned";

// Another program holding the root command runner until released, or for ten seconds at most,
// so that a command run on the main thread ends the test instead of hanging it.
class RunnerHeldElsewhere {
  public:
    RunnerHeldElsewhere() {
        const auto path = KSRootCommandRunner::lockPath();
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        EXPECT_EQ(flock(descriptor_, LOCK_EX | LOCK_NB), 0);
        watchdog_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            released_.wait_for(lock, std::chrono::seconds(10), [this] { return descriptor_ < 0; });
            closeLocked();
        });
    }
    ~RunnerHeldElsewhere() {
        release();
        watchdog_.join();
    }
    RunnerHeldElsewhere(const RunnerHeldElsewhere&) = delete;
    RunnerHeldElsewhere& operator=(const RunnerHeldElsewhere&) = delete;

    void release() {
        {
            std::lock_guard lock(mutex_);
            closeLocked();
        }
        released_.notify_all();
    }

  private:
    void closeLocked() {
        if (descriptor_ >= 0)
            close(descriptor_);
        descriptor_ = -1;
    }

    std::mutex mutex_;
    std::condition_variable released_;
    int descriptor_ = -1;
    std::thread watchdog_;
};

// Counts the work the menu starts, as the application delegate does to know when it is at rest.
class CountingServices : public ForwardingServices {
  public:
    using ForwardingServices::ForwardingServices;
    std::function<void()> beginBackgroundWork() override {
        ++running;
        return [this] { --running; };
    }
    int running = 0;
};

class KSPackageOptionsMenuTest : public AptSandboxFixture {
  protected:
    void SetUp() override {
        AptSandboxFixture::SetUp();
        window_->setRootViewController(std::make_shared<uikit::ViewController>());
        window_->makeKeyAndVisible();
        KSApplicationServices::registerServices(services_);
        downloadArchives(std::string(kPackage) + "=1.0");
        auto task = std::make_shared<KSPackageAPTOperationTask>(std::string(kPackage) + "=1.0");
        task->start();
        ASSERT_TRUE(task->outcome().success);
        KSStatusFileSync::synchronise();
    }

    std::shared_ptr<uikit::AlertController> openMenu() {
        presentations_->presentOptions(kPackage);
        advanceClock(1);
        return std::dynamic_pointer_cast<uikit::AlertController>(
            window_->topmostPresentedViewController());
    }
    // The menu's hold or unhold choice, read as a person reads the menu and closes it.
    std::string holdChoice() {
        auto menu = openMenu();
        if (!menu)
            return "(no menu)";
        std::string choice = "(none)";
        for (const auto& action : menu->actions())
            if (action->title() == "Ignore Updates" || action->title() == "Show Updates")
                choice = action->title();
        uikit::hands::pickAlertAction(menu, "Cancel");
        advanceClock(1);
        return choice;
    }
    bool isHeld() const {
        const auto record = stored(kPackage);
        return record && record->isHeld;
    }

    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<KSPresentations> presentations_ = std::make_shared<KSPresentations>(
        std::make_shared<KSPresenter>([window = window_] { return window; }),
        std::make_shared<KSDelegateState>(), [] { return nullptr; });
    std::shared_ptr<CountingServices> services_ = std::make_shared<CountingServices>(
        std::make_shared<KSPackageQueuer>(presentations_), presentations_);
};

TEST_F(KSPackageOptionsMenuTest, HoldAndUnholdLeaveTheScreenTurningAndTheMenuFollowsTheStatus) {
    ASSERT_TRUE(stored(kPackage) && stored(kPackage)->isInstalled);
    EXPECT_EQ(holdChoice(), "Ignore Updates");

    RunnerHeldElsewhere runner;
    ASSERT_TRUE(uikit::hands::pickAlertAction(openMenu(), "Ignore Updates"));
    advanceClock(1);
    EXPECT_EQ(services_->running, 1) << "not at rest while apt-mark waits for the runner";
    std::optional<std::string> stateWhileWaiting;
    foundation::runOnMainAfter(0.5, [&] {
        stateWhileWaiting = dpkgState(kPackage);
        runner.release();
    });
    advanceClock(0.5);
    EXPECT_EQ(stateWhileWaiting, "install ok installed 1.0")
        << "the timer fired while the command was waiting";
    ASSERT_TRUE(pumpUntil([&] { return isHeld(); }, 60)) << "the status is read again";
    EXPECT_EQ(dpkgState(kPackage), "hold ok installed 1.0");
    ASSERT_TRUE(pumpUntil([&] { return services_->running == 0; }));
    EXPECT_EQ(holdChoice(), "Show Updates");

    ASSERT_TRUE(uikit::hands::pickAlertAction(openMenu(), "Show Updates"));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil([&] { return !isHeld(); }, 60));
    EXPECT_EQ(dpkgState(kPackage), "install ok installed 1.0");
    EXPECT_EQ(holdChoice(), "Ignore Updates");
}

}  // namespace
}  // namespace corvane::testing
