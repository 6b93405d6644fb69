// The corvane program as a person starts it from a terminal, on a fresh device root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/PropertyList.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "support/HostDpkgLog.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"
#include "uikit/Image.h"

namespace corvane::testing {
namespace {

TEST(CorvaneProgramTests, AFreshDeviceRefreshesItsDefaultSourceAndShowsTheScreen) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;

    auto run = runProgram({"--root", root.path(), "--until-idle", "--describe"},
                          {"CORVANE_DEFAULT_SOURCES=" + repository.location()});

    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output.rfind("Window\n", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("Label \"Featured\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Button \"Featured\" selected"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Button \"Sources\""), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("up and running"), std::string::npos) << run.output;

    auto log = readWhole(KSPaths::logFile());
    EXPECT_NE(log.find("- Corvane 5 is up and running\n"), std::string::npos) << log;
    auto preferences = foundation::PropertyList::readFile(KSPaths::preferenceFile());
    ASSERT_TRUE(preferences);
    EXPECT_FALSE((*preferences)["LastVisitDate"].isNil());
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRPackage>().count(), repository.packageCount());
}

std::string fileDigest(const std::string& path) {
    const auto bytes = foundation::FileManager::readFile(path);
    return bytes ? foundation::sha256Hex(*bytes) : "missing";
}

// A package left unpacked by an interrupted run is configured by the launch's repair; dpkg tells
// of it in the device root's log, and neither the host's log nor its database hear of it.
TEST(CorvaneProgramTests, ALaunchAndARefreshLeaveTheHostsDpkgFilesAlone) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    const testing_support::HostDpkgLog hostLog;
    const auto hostStatus = fileDigest("/var/lib/dpkg/status");
    const auto pending = testing_support::HostDpkgLog::uniquePackageName("pending");
    std::filesystem::create_directories(root.resolve("/var/lib/dpkg"));
    std::ofstream(root.resolve("/var/lib/dpkg/status"))
        << "Package: " << pending << "\nStatus: install ok unpacked\nArchitecture: iphoneos-arm\n"
        << "Version: 1.0\nMaintainer: Example <example@example.com>\nDescription: Pending\n\n";

    auto run = runProgram({"--root", root.path(), "--until-idle"},
                          {"CORVANE_DEFAULT_SOURCES=" + repository.location()});

    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_GE(KSDatabase::realm().allObjects<KSRPackage>().count(), repository.packageCount());
    const auto deviceLog = readWhole(root.resolve("/var/log/dpkg.log"));
    EXPECT_NE(deviceLog.find("status installed " + pending + ":"), std::string::npos) << deviceLog;
    EXPECT_EQ(hostLog.linesNaming(pending), std::vector<std::string>{});
    EXPECT_EQ(fileDigest("/var/lib/dpkg/status"), hostStatus);
}

// A device root made by an earlier version held the database and preferences: the first launch
// moves them into the data folder, and nothing they held is lost.
TEST(CorvaneProgramTests, AnEarlierVersionsDatabaseAndPreferencesMoveIntoTheDataFolder) {
    testing_support::SampleRepository repository;
    testing_support::TempDeviceRoot root;
    const auto earlier = root.scratchPath("earlier");
    auto first = runProgram({"--root", root.path(), "--data", earlier, "--until-idle"},
                            {"CORVANE_DEFAULT_SOURCES=" + repository.location()});
    ASSERT_EQ(first.exitStatus, 0) << first.errors;
    const auto oldFolder = root.resolve(std::string(KSPaths::kDataDirectory));
    std::filesystem::create_directories(oldFolder);
    const std::string database(KSPaths::kDatabaseFileName);
    for (const auto& name :
         {database, database + "-wal", std::string(KSPaths::kPreferenceFileName)}) {
        const auto file = std::string(KSPaths::kDataDirectory) + "/" + name;
        if (std::filesystem::exists(earlier + file))
            std::filesystem::copy_file(earlier + file, root.resolve(file));
    }

    auto run = runProgram({"--root", root.path(), "--until-idle"}, {"CORVANE_DEFAULT_SOURCES="});

    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRPackage>().count(), repository.packageCount());
    EXPECT_FALSE(
        (*foundation::PropertyList::readFile(KSPaths::preferenceFile()))["LastVisitDate"].isNil());
    EXPECT_TRUE(std::filesystem::is_empty(oldFolder)) << "moved, not copied";
    EXPECT_NE(readWhole(KSPaths::logFile()).find("from the device root into the data folder"),
              std::string::npos);
}

TEST(CorvaneProgramTests, TheAddShortcutLeavesThePageThatAddsASourceOnScreen) {
    testing_support::TempDeviceRoot root;
    auto run = runProgram({"--root", root.path(), "--shortcut", "me_kestrune_corvane_shortcuts_add",
                           "--until-idle", "--describe"},
                          {"CORVANE_DEFAULT_SOURCES="});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Label \"Add Source\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("TextField placeholder \"Source address\""), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Button \"Sources\" selected"), std::string::npos) << run.output;
}

TEST(CorvaneProgramTests, TheSnapshotIsThePictureOfTheScreenLeftOnDisplay) {
    testing_support::TempDeviceRoot root;
    std::string path = root.path() + "/screen.png";
    auto run = runProgram({"--root", root.path(), "--until-idle", "--snapshot", path},
                          {"CORVANE_DEFAULT_SOURCES="});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output, "") << "the picture goes to the file only";
    auto image = uikit::Image::fromFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 750);
    EXPECT_EQ(image->pixelHeight(), 1334);
    EXPECT_EQ(image->pixelAt(375, 667), uikit::Color::white()) << "the Light palette's screen";

    std::string nowhere = root.path() + "/no/such/folder/screen.png";
    auto failed = runProgram({"--root", root.path(), "--until-idle", "--snapshot", nowhere},
                             {"CORVANE_DEFAULT_SOURCES="});
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(CorvaneProgramTests, HelpAndWrongArgumentsNeverStartTheApplication) {
    testing_support::TempDeviceRoot root;
    auto help = runProgram({"--root", root.path(), "--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("--until-idle"), std::string::npos) << help.output;

    auto wrong = runProgram({"--root", root.path(), "--frobnicate"});
    EXPECT_EQ(wrong.exitStatus, 2);
    EXPECT_FALSE(std::filesystem::exists(KSPaths::logDirectory()));
}

// A device root that cannot hold a device stops the program before it starts, with the path and
// the reason on the terminal, since the log that would say it lives below that root.
TEST(CorvaneProgramTests, ADeviceRootThatCannotBeUsedIsNamedAndRefused) {
    testing_support::TempDeviceRoot scratch;
    const auto file = scratch.path() + "/device";
    std::ofstream(file) << "not a folder";
    const std::vector<std::string> unusable = {file, file + "/inside", "/proc"};
    for (const auto& root : unusable) {
        auto run = runProgram({"--root", root, "--until-idle"}, {"CORVANE_DEFAULT_SOURCES="});
        EXPECT_EQ(run.exitStatus, 1) << root;
        EXPECT_NE(run.errors.find("The device root \u201C" + root + "\u201D cannot be used: "),
                  std::string::npos)
            << run.errors;
    }
    EXPECT_NE(runProgram({"--root", file}).errors.find("it is a file, not a folder."),
              std::string::npos);

    // A data folder whose log folder cannot be made is refused the same way, and so is one
    // that packages could write, inside the device root.
    const auto blocked = scratch.scratchPath("blocked");
    std::filesystem::create_directories(blocked + "/var");
    std::ofstream(blocked + "/var/mobile") << "not a folder";
    const auto device = scratch.scratchPath("device");
    for (const auto& [data, reason] :
         {std::pair{blocked, std::string("Logs/me.kestrune.corvane")},
          std::pair{device + "/data", std::string("it lies inside the device root")}}) {
        auto run = runProgram({"--root", device, "--data", data, "--until-idle"},
                              {"CORVANE_DEFAULT_SOURCES="});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.errors.find("The data folder \u201C" + data + "\u201D cannot be used: "),
                  std::string::npos)
            << run.errors;
        EXPECT_NE(run.errors.find(reason), std::string::npos) << run.errors;
    }
}

// An empty --root counts as none: without CORVANE_ROOT the device lives under the user's data
// folder, and the program's own data beside it.
TEST(CorvaneProgramTests, AnEmptyRootFallsBackToTheDefaultDevice) {
    testing_support::TempDeviceRoot home;
    auto run = runProgram({"--root", "", "--until-idle"},
                          {"HOME=" + home.path(), "CORVANE_ROOT=", "CORVANE_DEFAULT_SOURCES="});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const auto data = home.path() + "/.local/share/corvane/device-data";
    EXPECT_NE(readWhole(data + "/var/mobile/Library/Logs/me.kestrune.corvane/corvane.log")
                  .find("- Corvane 5 is up and running\n"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(home.path() + "/.local/share/corvane/device/var"));
}

}  // namespace
}  // namespace corvane::testing
