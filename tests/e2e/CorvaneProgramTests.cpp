// The corvane program as a person starts it from a terminal, on a fresh device root.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/PropertyList.h"
#include "framework/misc/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "support/HostDpkgLog.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"
#include "uikit/Image.h"

extern char** environ;

namespace corvane::testing {
namespace {

struct ProgramRun {
    int exitStatus = -1;
    std::string output;
    // What it printed on its standard error before that went to the log.
    std::string errors;
};

// Built beside this test program: <build>/src/corvane next to <build>/tests/e2e_tests.
std::string programPath() {
    auto self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "src" / "corvane").string();
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the program with the arguments and extra environment entries ("NAME=value", before the
// inherited ones, so they win), and gives what it printed.
ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment = {}) {
    std::string errorsFile =
        (std::filesystem::temp_directory_path() / "corvane-stderr-XXXXXX").string();
    close(mkstemp(errorsFile.data()));
    std::vector<std::string> words = {programPath()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> entries(extraEnvironment);
    for (char** entry = environ; *entry; ++entry)
        entries.emplace_back(*entry);
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t pid = 0;
    ProgramRun run;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    EXPECT_EQ(spawned, 0) << argv[0];
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.errors = readWhole(errorsFile);
    std::filesystem::remove(errorsFile);
    return run;
}

std::size_t packagesInIndex(const testing_support::SampleRepository& repository) {
    std::ifstream index(repository.folder() / "Packages");
    std::set<std::string> names;
    for (std::string line; std::getline(index, line);)
        if (line.rfind("Package: ", 0) == 0)
            names.insert(line.substr(9));
    return names.size();
}

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
    EXPECT_EQ(KSDatabase::realm().allObjects<KSRPackage>().count(), packagesInIndex(repository));
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
    EXPECT_GE(KSDatabase::realm().allObjects<KSRPackage>().count(), packagesInIndex(repository));
    const auto deviceLog = readWhole(root.resolve("/var/log/dpkg.log"));
    EXPECT_NE(deviceLog.find("status installed " + pending + ":"), std::string::npos) << deviceLog;
    EXPECT_EQ(hostLog.linesNaming(pending), std::vector<std::string>{});
    EXPECT_EQ(fileDigest("/var/lib/dpkg/status"), hostStatus);
}

TEST(CorvaneProgramTests, TheAddShortcutLeavesTheSourcesTabOnScreen) {
    testing_support::TempDeviceRoot root;
    auto run = runProgram({"--root", root.path(), "--shortcut", "me_kestrune_corvane_shortcuts_add",
                           "--until-idle", "--describe"},
                          {"CORVANE_DEFAULT_SOURCES="});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("Label \"Sources\""), std::string::npos) << run.output;
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

    // A device whose log folder cannot be made is refused the same way.
    const auto blocked = scratch.path() + "/blocked";
    std::filesystem::create_directories(blocked + "/var");
    std::ofstream(blocked + "/var/mobile") << "not a folder";
    auto run = runProgram({"--root", blocked, "--until-idle"}, {"CORVANE_DEFAULT_SOURCES="});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("Logs/me.kestrune.corvane"), std::string::npos) << run.errors;
}

// An empty --root counts as none: without CORVANE_ROOT the device lives under the user's data
// folder.
TEST(CorvaneProgramTests, AnEmptyRootFallsBackToTheDefaultDevice) {
    testing_support::TempDeviceRoot home;
    auto run = runProgram({"--root", "", "--until-idle"},
                          {"HOME=" + home.path(), "CORVANE_ROOT=", "CORVANE_DEFAULT_SOURCES="});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const auto device = home.path() + "/.local/share/corvane/device";
    EXPECT_NE(readWhole(device + "/var/mobile/Library/Logs/me.kestrune.corvane/corvane.log")
                  .find("- Corvane 5 is up and running\n"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
