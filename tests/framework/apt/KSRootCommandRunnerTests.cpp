#include "framework/apt/KSRootCommandRunner.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/RunCommand.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;

// Holds the runner's lock the way a running command does.
class HeldLock {
  public:
    explicit HeldLock(const std::string& path) {
        EXPECT_TRUE(
            FileManager::createDirectory(std::filesystem::path(path).parent_path().string()));
        descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        EXPECT_EQ(flock(descriptor_, LOCK_EX | LOCK_NB), 0);
    }
    ~HeldLock() { release(); }
    void release() {
        if (descriptor_ >= 0)
            close(descriptor_);
        descriptor_ = -1;
    }

  private:
    int descriptor_ = -1;
};

class KSRootCommandRunnerTests : public ::testing::Test {
  protected:
    testing_support::TempDeviceRoot root_;
};

TEST_F(KSRootCommandRunnerTests, StreamsMergedOutputAndPassesTheStatusOn) {
    std::vector<std::string> chunks;
    bool finishedLast = false;
    int finalStatus = -2;
    const auto result = KSRootCommandRunner::run(
        "echo out; echo err >&2; echo again; exit 3",
        [&](const std::string& chunk, const std::string& output, bool finished, int status) {
            if (finished) {
                finishedLast = true;
                finalStatus = status;
                EXPECT_EQ(output, "out\nerr\nagain\n");
                return;
            }
            EXPECT_FALSE(finishedLast) << "output after the last call";
            chunks.push_back(chunk);
        });
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.output, "out\nerr\nagain\n");
    EXPECT_TRUE(finishedLast);
    EXPECT_EQ(finalStatus, 3);
    std::string joined;
    for (const auto& chunk : chunks)
        joined += chunk;
    EXPECT_EQ(joined, result.output);

    EXPECT_EQ(KSRootCommandRunner::run("kill -9 $$").status, 128 + 9);
    EXPECT_EQ(KSRootCommandRunner::run(std::string("echo a\0b", 8)).status,
              KSRootCommandRunner::kNotStartedStatus);
}

// A descriptor the program holds without close-on-exec would hand a command, and a package's
// script under it, a host file to write through.
TEST_F(KSRootCommandRunnerTests, ACommandInheritsNoDescriptorBeyondItsOutput) {
    const auto held = root_.path() + "/held-open";
    const int descriptor = open(held.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(descriptor, 3);
    const auto result = KSRootCommandRunner::run("ls /proc/$$/fd");
    close(descriptor);
    EXPECT_EQ(result.output, "0\n1\n2\n");
}

// A package can write anything in the device root, so nothing there is run or locked: the runner
// comes from the installation and its lock from the data folder, and a line that would act on the
// device root outside the sandbox is refused unrun.
TEST_F(KSRootCommandRunnerTests, NothingOfTheDeviceRootIsRunOrLockedOutsideTheSandbox) {
    const auto planted = root_.resolve("/usr/libexec/corvane/groot");
    ASSERT_TRUE(FileManager::createDirectory(std::filesystem::path(planted).parent_path()));
    const auto marker = root_.path() + "/planted-ran";
    ASSERT_TRUE(
        FileManager::writeAtomically(planted, "#!/bin/sh\ntouch '" + marker + "'\nexit 0\n"));
    std::filesystem::permissions(planted, std::filesystem::perms(0755));

    ASSERT_TRUE(KSRootCommandRunner::run("true").succeeded());
    EXPECT_FALSE(FileManager::fileExists(marker));
    const auto runner = KSRootCommandRunner::runnerPath();
    ASSERT_TRUE(runner);
    EXPECT_FALSE(runner->starts_with(root_.path())) << *runner;
    EXPECT_TRUE(KSRootCommandRunner::lockPath().starts_with(root_.dataPath()));
    EXPECT_FALSE(FileManager::fileExists(root_.resolve("/var/run")));

    const auto outside = KSRootCommandRunner::run("touch '" + root_.path() + "/outside'");
    EXPECT_EQ(outside.status, KSRootCommandRunner::kNotStartedStatus);
    EXPECT_NE(outside.output.find("runs only inside the sandbox"), std::string::npos)
        << outside.output;
    EXPECT_FALSE(FileManager::fileExists(root_.path() + "/outside"));
}

TEST_F(KSRootCommandRunnerTests, RunnerRefusesASecondCommandWhileOneRunsAndRunsNoneWithoutALock) {
    HeldLock lock(KSRootCommandRunner::lockPath());
    const auto marker = root_.dataPath() + "/ran";
    const auto runner = KSRootCommandRunner::runnerPath();
    ASSERT_TRUE(runner);
    const auto refused =
        testing::runCommand({"sh", "-c", "exec \"$0\" \"$1\" 3<\"$2\"", *runner,
                             "touch '" + marker + "'", KSRootCommandRunner::lockPath()});
    EXPECT_EQ(refused.exitStatus, KSRootCommandRunner::kBusyStatus);
    EXPECT_EQ(refused.output, KSRootCommandRunner::kBusyMessage);

    const auto unlocked = testing::runCommand(
        {"sh", "-c", "exec 3<&-; exec \"$0\" \"$1\"", *runner, "touch '" + marker + "'"});
    EXPECT_NE(unlocked.exitStatus, 0);
    EXPECT_NE(unlocked.output.find("no lock file"), std::string::npos) << unlocked.output;
    EXPECT_FALSE(FileManager::fileExists(marker));
}

// The launch-time repair and a user's queue both go through run(): the second waits for the
// first instead of failing or running beside it.
TEST_F(KSRootCommandRunnerTests, ASecondCommandWaitsItsTurn) {
    ASSERT_TRUE(FileManager::createDirectory(root_.dataPath()));
    const auto marker = root_.dataPath() + "/ran";
    HeldLock lock(KSRootCommandRunner::lockPath());
    const auto refusalsBefore = KSRootCommandRunner::busyRefusalCount();
    std::atomic<bool> done = false;
    KSRootCommandRunner::CommandResult result;
    std::thread waiting([&] {
        result = KSRootCommandRunner::run("test ! -e '" + marker + "' && touch '" + marker + "'");
        done = true;
    });
    const bool refused = testing_support::pumpUntil(
        [&] { return KSRootCommandRunner::busyRefusalCount() > refusalsBefore; }, 60);
    const bool ranMeanwhile = done || FileManager::fileExists(marker);
    lock.release();
    waiting.join();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(ranMeanwhile);
    EXPECT_TRUE(result.succeeded()) << result.output;
    EXPECT_EQ(result.output, "");
    EXPECT_TRUE(FileManager::fileExists(marker));
}

// A command that writes nothing for the time limit is stopped with everything it started, and
// so is every command whose runner is killed: nothing of it lives on to hold the device.
TEST_F(KSRootCommandRunnerTests, ACommandEndsWithItsRunnerOrItsTimeLimit) {
    ASSERT_TRUE(FileManager::createDirectory(root_.dataPath()));
    const auto pids = root_.dataPath() + "/pids";
    const auto started = std::chrono::steady_clock::now();
    setenv(KSRootCommandRunner::kTimeLimitVariable, "1", 1);
    const auto stopped =
        KSRootCommandRunner::run("echo waiting; sleep 300 & echo $! >> '" + pids + "'; wait");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.succeeded());
    EXPECT_NE(stopped.output.find("waiting\n\nNothing was heard from the command for 1 s"),
              std::string::npos)
        << stopped.output;

    unsetenv(KSRootCommandRunner::kTimeLimitVariable);
    const auto morePids = root_.dataPath() + "/more-pids";
    std::thread killing([&] {
        testing_support::pumpUntil([&] { return FileManager::fileExists(morePids); }, 30);
        const auto ownRunner = "pkill -KILL -x -P " + std::to_string(getpid()) + " groot";
        EXPECT_EQ(std::system(ownRunner.c_str()), 0);
    });
    const auto killed = KSRootCommandRunner::run("sleep 300 & echo $! >> '" + morePids + "'; wait");
    killing.join();
    EXPECT_FALSE(killed.succeeded());
    for (const auto& file : {pids, morePids})
        for (const auto& pid : foundation::split(FileManager::readText(file).valueOr(""), "\n")) {
            if (pid.empty())
                continue;
            EXPECT_TRUE(
                testing_support::pumpUntil([&] { return kill(std::stoi(pid), 0) != 0; }, 10))
                << "process " << pid << " lives on";
        }
}
}  // namespace
}  // namespace corvane
