// Every command line the program hands to the root command runner, whichever task built it, is
// recorded by a runner that writes each line down before it runs it: a line that reaches the
// device root starts inside the sandbox.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/apt/KSAPTCommandLine.h"
#include "framework/apt/KSArchiveReader.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/debian/ShellQuote.h"
#include "framework/tasks/KSInformationCacheTask.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPackageDPKGInstallTask.h"
#include "support/DebianArchive.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;

class RecordedCommandsTests : public AptSandboxFixture {
  protected:
    void SetUp() override {
        AptSandboxFixture::SetUp();
        const auto runner = KSRootCommandRunner::runnerPath();
        ASSERT_TRUE(runner);
        recorder_ = root_.scratchPath("recording-groot");
        record_ = root_.scratchPath("recorded-lines");
        ASSERT_TRUE(FileManager::writeAtomically(
            recorder_, "#!/bin/sh\nprintf '%s\\0' \"$1\" >> " + ShellQuote::quote(record_) +
                           "\nexec " + ShellQuote::quote(*runner) + " \"$@\"\n"));
        std::filesystem::permissions(recorder_, std::filesystem::perms(0755));
        setenv("CORVANE_GROOT", recorder_.c_str(), 1);
    }

    std::vector<std::string> recordedLines() const {
        std::vector<std::string> lines;
        const auto text = FileManager::readText(record_).valueOr("");
        for (std::size_t start = 0, end; (end = text.find('\0', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    // The runner's shell gives way to the sandbox program at once, and its options end before
    // the command.
    static bool startsInsideTheSandbox(const std::string& line) {
        return line.starts_with("exec " + ShellQuote::quote("/usr/bin/bwrap") + " ") &&
               line.find(" '--remount-ro' '/' '--' ") != std::string::npos;
    }

    static void run(const std::shared_ptr<KSTask>& task) {
        task->start();
        EXPECT_TRUE(task->outcome().success)
            << (task->outcome().error ? task->outcome().error->localizedDescription() : "");
    }

    std::string recorder_;
    std::string record_;
};

TEST_F(RecordedCommandsTests, EveryLineThatReachesTheDeviceRootStartsInsideTheSandbox) {
    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    run(std::make_shared<KSInformationCacheTask>());
    EXPECT_TRUE(KSAPTManager::unmetDependenciesForPackages("com.sample.tweak").failure.empty());
    downloadArchives("com.sample.versioned");
    run(std::make_shared<KSPackageAPTOperationTask>("com.sample.versioned"));
    EXPECT_TRUE(KSAPTManager::hold("com.sample.versioned").succeeded());
    EXPECT_TRUE(KSAPTManager::unhold("com.sample.versioned").succeeded());
    const auto outside = repository_ + "/debs/core-lib.deb";
    EXPECT_TRUE(KSArchiveReader::readControl(outside));
    run(std::make_shared<KSPackageDPKGInstallTask>(outside, "com.sample.corelib"));
    const auto unpack = KSAPTCommandLine::dpkg({"--unpack", archive("tweak")});
    ASSERT_TRUE(unpack);
    ASSERT_TRUE(KSRootCommandRunner::run(*unpack).succeeded());
    EXPECT_TRUE(KSAPTManager::fixPartiallyInstalledPackages().succeeded());
    KSAPTManager::cleanUpArchivesIfNeeded();
    const auto launched = runProgram({"--root", root_.path(), "--until-idle"},
                                     {"CORVANE_DEFAULT_SOURCES=" + location_});
    EXPECT_EQ(launched.exitStatus, 0) << launched.errors;

    std::string commandsRun;
    for (const auto& line : recordedLines()) {
        EXPECT_TRUE(KSBubblewrap::namesDeviceRoot(line)) << "a line not for the device: " << line;
        EXPECT_TRUE(startsInsideTheSandbox(line)) << line;
        commandsRun += KSBubblewrap::commandInside(line) + "\n";
    }
    // Each kind of command was among them.
    for (const std::string command : std::vector<std::string>{
             "'apt-cache' 'gencaches'", "'apt-get' '-s'", "'apt-mark' 'hold'",
             "'apt-mark' 'unhold'", "'dpkg-deb' '--info'", "'-i' '" + outside + "'",
             "'--allow-downgrades' 'install'", "'--configure' '--' 'com.sample.tweak'",
             "'--download-only' 'install' '-f'", "'sh' '-c' 'set -e"})
        EXPECT_NE(commandsRun.find(command), std::string::npos) << command << "\n" << commandsRun;
}

}  // namespace
}  // namespace corvane::testing
