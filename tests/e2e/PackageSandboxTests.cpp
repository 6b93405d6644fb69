// What a package brings stays on the device root: real dpkg and apt-get, run by the package
// tasks, against packages whose scripts and links reach for the host.
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "app/LaunchFixture.h"
#include "e2e/HostFolder.h"
#include "e2e/ProgramRun.h"
#include "foundation/FileManager.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPackageDPKGInstallTask.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/HostDpkgLog.h"
#include "ui/error/ErrorViewController.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using foundation::FileManager;
using testing_support::DebianArchive;

// A name under the host's /tmp that only this run uses.
std::string uniqueTmpName() {
    static std::atomic<unsigned> count{0};
    return "corvane-sandbox-" + std::to_string(getpid()) + "-" + std::to_string(count++);
}

bool tmpHoldsNameStartingWith(const std::string& prefix) {
    for (const auto& entry : fs::directory_iterator("/tmp"))
        if (entry.path().filename().string().starts_with(prefix))
            return true;
    return false;
}

class PackageSandboxTests : public AptSandboxFixture {
  protected:
    // A postinst that tries ways out of a sandbox that would do the host no harm if they worked
    // (a writable remount, another process's root through /proc), then writes into both host
    // folders and fails where it cannot.
    DebianArchive escaping(const std::string& name) const {
        const auto folders = "'" + host_.path() + "' '" + otherHost_.path() + "'";
        return DebianArchive(name).script("postinst", R"(status=0
mount -o remount,rw / 2>/dev/null || true
for folder in )" + folders + R"(; do
    for root in /proc/[0-9]*/root; do
        echo planted > "$root$folder/through-proc" 2>/dev/null || true
    done
    echo planted > "$folder/planted.txt" || status=1
done
exit $status)");
    }

    bool hostIsUntouched() const { return host_.isEmpty() && otherHost_.isEmpty(); }

    std::string inDevice(const DebianArchive& archive) const {
        return archive.build(root_.resolve("/var/mobile/Archives"));
    }

    static KSTask::Outcome installArchive(const std::string& path, const std::string& identifier) {
        auto task = std::make_shared<KSPackageDPKGInstallTask>(path, identifier);
        task->start();
        return task->outcome();
    }

    static KSTask::Outcome installQueue(const std::string& queue) {
        downloadArchives(queue);
        auto task = std::make_shared<KSPackageAPTOperationTask>(queue);
        task->start();
        return task->outcome();
    }

    static std::string outputOf(const KSTask::Outcome& outcome) {
        return outcome.error ? outcome.error->userInfo["output"].optionalString().value_or("") : "";
    }

    // Beside the device root, and outside the private /tmp, where the host is not there at all.
    const HostFolder host_{fs::temp_directory_path()};
    const HostFolder otherHost_{"/var/tmp"};
};

TEST_F(PackageSandboxTests, ScriptsWriteTheDeviceRootAndAPrivateTmpOnly) {
    const auto onHost = uniqueTmpName();
    const auto name = testing_support::HostDpkgLog::uniquePackageName("scripted");
    const auto archive = inDevice(DebianArchive(name).script(
        "postinst", "echo host > /tmp/" + onHost + "\nmktemp /tmp/" + onHost +
                        ".XXXXXX\nmkdir -p \"$DPKG_ROOT/var/mobile\"\n"
                        "echo device > \"$DPKG_ROOT/var/mobile/" +
                        name + "\""));

    const auto outcome = installArchive(archive, name);
    ASSERT_TRUE(outcome.success) << outputOf(outcome);
    EXPECT_EQ(dpkgState(name), "install ok installed 1.0");
    EXPECT_EQ(deviceFile("/var/mobile/" + name), "device\n");
    EXPECT_FALSE(tmpHoldsNameStartingWith(onHost));
}

// dpkg's status stays as dpkg left it, and the repair at the next launch configures in the
// sandbox too.
TEST_F(PackageSandboxTests, AScriptReachingForTheHostFailsWithDpkgsWordsAndStaysHalfConfigured) {
    const auto name = testing_support::HostDpkgLog::uniquePackageName("escaping");
    const auto outcome = installArchive(inDevice(escaping(name)), name);

    ASSERT_FALSE(outcome.success);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, KSAPTManager::kCommandFailed);
    EXPECT_NE(outcome.error->localizedDescription().find("dpkg: error processing package " + name),
              std::string::npos)
        << outcome.error->localizedDescription();
    EXPECT_NE(outputOf(outcome).find("post-installation script subprocess returned error exit"),
              std::string::npos)
        << outputOf(outcome);
    EXPECT_TRUE(hostIsUntouched());
    EXPECT_EQ(dpkgState(name), "install ok half-configured 1.0");

    const auto repair = KSAPTManager::fixPartiallyInstalledPackages();
    EXPECT_FALSE(repair.succeeded());
    EXPECT_TRUE(hostIsUntouched());
    EXPECT_EQ(dpkgState(name), "install ok half-configured 1.0");
}

TEST_F(PackageSandboxTests, ThroughAPTAScriptReachingForTheHostFailsAlike) {
    testing_support::ArchiveRepository repository;
    const auto name = testing_support::HostDpkgLog::uniquePackageName("fetched");
    repository.add(escaping(name));
    addSource(repository.location());

    const auto outcome = installQueue(name);
    ASSERT_FALSE(outcome.success);
    ASSERT_TRUE(outcome.error);
    const auto description = outcome.error->localizedDescription();
    EXPECT_NE(description.find("dpkg: error processing package " + name), std::string::npos)
        << description;
    EXPECT_NE(description.find("E: Sub-process /usr/bin/dpkg returned an error code"),
              std::string::npos)
        << description;
    EXPECT_TRUE(hostIsUntouched());
    EXPECT_EQ(dpkgState(name), "install ok half-configured 1.0");
}

// Unsandboxed, dpkg would follow the link the device root already holds and write into the host
// folder; inside the sandbox that folder is either not there or read-only.
TEST_F(PackageSandboxTests, ALinkToAHostFolderLeadsNowhere) {
    for (const auto* folder : {&host_, &otherHost_}) {
        SCOPED_TRACE(folder->path());
        const auto link = testing_support::HostDpkgLog::uniquePackageName("link");
        const auto through = testing_support::HostDpkgLog::uniquePackageName("through");
        const auto linked = installArchive(
            inDevice(DebianArchive(link).link("/var/" + link, folder->path())), link);
        ASSERT_TRUE(linked.success) << outputOf(linked);

        const auto outcome = installArchive(
            inDevice(DebianArchive(through).file("/var/" + link + "/planted.txt", "planted")),
            through);
        ASSERT_FALSE(outcome.success);
        ASSERT_TRUE(outcome.error);
        EXPECT_NE(outcome.error->localizedDescription().find("dpkg: error processing archive"),
                  std::string::npos)
            << outcome.error->localizedDescription();
        EXPECT_FALSE(dpkgState(through).starts_with("install ok installed")) << dpkgState(through);
    }
    EXPECT_TRUE(hostIsUntouched());
}

TEST_F(PackageSandboxTests, WithoutTheSandboxProgramNothingRunsOnTheDeviceButRefreshesWork) {
    setenv(KSBubblewrap::kProgramVariable, "/nonexistent/bwrap", 1);
    const auto statusBefore = fileDigest(root_.resolve("/var/lib/dpkg/status"));

    for (const auto& outcome : {installArchive(archive("core-lib"), "com.sample.corelib"),
                                installQueue("com.sample.theme")}) {
        ASSERT_FALSE(outcome.success);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, KSAPTManager::kSandboxUnavailable);
        EXPECT_NE(outcome.error->localizedDescription().find(
                      "\u201C/nonexistent/bwrap\u201D (CORVANE_BWRAP) cannot be run"),
                  std::string::npos)
            << outcome.error->localizedDescription();
    }
    EXPECT_EQ(fileDigest(root_.resolve("/var/lib/dpkg/status")), statusBefore);
    EXPECT_FALSE(FileManager::fileExists(root_.resolve("/usr/lib/sample/libcore.txt")));

    testing_support::ArchiveRepository repository;
    const auto name = testing_support::HostDpkgLog::uniquePackageName("offered");
    repository.add(DebianArchive(name));
    addSource(repository.location());
    EXPECT_TRUE(stored(name));
    const auto simulation = KSAPTManager::unmetDependenciesForPackages("com.sample.tweak");
    EXPECT_TRUE(simulation.installs.empty());
    ASSERT_EQ(simulation.failure.size(), 1u);
    EXPECT_NE(simulation.failure[0].find("(CORVANE_BWRAP) cannot be run"), std::string::npos);
}

// Where no sandbox can be made, a person who asked for error alerts learns why from the error
// panel, as from any failed task.
class PackageSandboxLaunchTests : public LaunchFixture {};

TEST_F(PackageSandboxLaunchTests, ARefusedInstallShowsTheReasonInTheErrorPanel) {
    setenv(KSBubblewrap::kProgramVariable, "/nonexistent/bwrap", 1);
    launch();
    waitUntilAtRest();
    CorvanePersistentPreferences::sharedInstance().setValue(
        false, "ShowNotificationsInsteadOfErrorAlerts");
    const auto name = testing_support::HostDpkgLog::uniquePackageName("refused");
    const auto archive = DebianArchive(name).build(root_.resolve("/var/mobile/Archives"));
    ASSERT_TRUE(KSPipelineManager::sharedManager().queueTask(
        std::make_shared<KSPackageDPKGInstallTask>(archive, name)));

    std::shared_ptr<ErrorViewController> panel;
    ASSERT_TRUE(testing_support::pumpUntil([&] {
        panel = std::dynamic_pointer_cast<ErrorViewController>(
            window_->topmostPresentedViewController());
        return panel != nullptr;
    }));
    ASSERT_TRUE(panel->errorTxt());
    EXPECT_NE(panel->errorTxt()->find("No sandbox can be made for the scripts of packages"),
              std::string::npos)
        << *panel->errorTxt();
    EXPECT_NE(panel->errorTxt()->find("(CORVANE_BWRAP) cannot be run"), std::string::npos);
    EXPECT_FALSE(FileManager::fileExists(root_.resolve("/var/lib/dpkg/info/" + name + ".list")));
}

// The program as a person starts it: the launch's repair is refused and the log says why, the
// package it would have configured stays as dpkg left it, and the refresh goes on.
TEST(PackageSandboxProgramTests, WithoutTheSandboxProgramTheLaunchRepairsNothingButRefreshes) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    const auto pending = testing_support::HostDpkgLog::uniquePackageName("pending");
    const auto stanza = "Package: " + pending +
                        "\nStatus: install ok unpacked\nArchitecture: iphoneos-arm\nVersion: "
                        "1.0\nMaintainer: Example <example@example.com>\nDescription: Pending\n\n";
    fs::create_directories(root.resolve("/var/lib/dpkg"));
    ASSERT_TRUE(FileManager::writeAtomically(root.resolve("/var/lib/dpkg/status"), stanza));

    const auto run =
        runProgram({"--root", root.path(), "--until-idle"},
                   {"CORVANE_DEFAULT_SOURCES=" + repository.location(),
                    std::string(KSBubblewrap::kProgramVariable) + "=/nonexistent/bwrap"});

    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_GE(KSDatabase::realm().allObjects<KSRPackage>().count(), repository.packageCount());
    const auto log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("Repair refused: No sandbox can be made for the scripts of packages, so "
                       "nothing is installed, removed or configured: the sandbox program "
                       "\u201C/nonexistent/bwrap\u201D (CORVANE_BWRAP) cannot be run."),
              std::string::npos)
        << log;
    EXPECT_NE(readWhole(root.resolve("/var/lib/dpkg/status")).find("Status: install ok unpacked"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
