#include "framework/apt/KSRootCommandRunner.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "foundation/FileManager.h"
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

TEST_F(KSRootCommandRunnerTests, InstallsTheRunnerIntoTheDeviceRootAndReplacesAStaleOne) {
    const auto runner = root_.resolve(std::string(KSRootCommandRunner::kRunnerPath));
    EXPECT_FALSE(FileManager::fileExists(runner));
    ASSERT_TRUE(KSRootCommandRunner::run("true").succeeded());
    ASSERT_TRUE(FileManager::fileExists(runner));
    EXPECT_EQ(access(runner.c_str(), X_OK), 0);

    ASSERT_TRUE(FileManager::writeAtomically(runner, std::string_view("#!/bin/sh\nexit 9\n")));
    chmod(runner.c_str(), 0755);
    EXPECT_TRUE(KSRootCommandRunner::run("true").succeeded());
    EXPECT_GT(FileManager::fileSize(runner).value_or(0), 100u);
}

TEST_F(KSRootCommandRunnerTests, RunnerRefusesASecondCommandWhileOneRuns) {
    ASSERT_TRUE(KSRootCommandRunner::installRunnerIfNeeded());
    HeldLock lock(KSRootCommandRunner::lockPath());
    const auto marker = root_.path() + "/ran";
    const auto refused =
        testing::runCommand({KSRootCommandRunner::runnerPath(), "touch '" + marker + "'"});
    EXPECT_EQ(refused.exitStatus, KSRootCommandRunner::kBusyStatus);
    EXPECT_EQ(refused.output, KSRootCommandRunner::kBusyMessage);
    EXPECT_FALSE(FileManager::fileExists(marker));
}

// The launch-time repair and a user's queue both go through run(): the second waits for the
// first instead of failing or running beside it.
TEST_F(KSRootCommandRunnerTests, ASecondCommandWaitsItsTurn) {
    ASSERT_TRUE(KSRootCommandRunner::installRunnerIfNeeded());
    const auto marker = root_.path() + "/ran";
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

}  // namespace
}  // namespace corvane
