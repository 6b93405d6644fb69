// A person's main roads through Corvane, each walked with the journey tool on a fresh device root
// against real apt-get and dpkg: what the person taps is in the steps, and what dpkg ends up
// holding is read back from the device root with dpkg-query.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/SampleRepository.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::DebianArchive;

const std::vector<std::string> kNoSources = {"CORVANE_DEFAULT_SOURCES="};

// The link adds the repository once both questions are answered (the second warns of plain
// http), and the walk goes on once its refresh has ended.
std::string addSource(const std::string& location) {
    return "open corvane://add/" + location +
           "\n"
           "expect Would you like to add repository\n"
           "tap Yes\n"
           "tap Add\n";
}

// A share link opens the page over everything, the tab bar and its panel included.
std::string openSharedPage(const std::string& identifier, const std::string& location) {
    return "open corvane://show/shared=Corvane&name=Shared&bundleid=" + identifier +
           "&repo=" + location + "\n";
}

// From the floating panel to dpkg: the queue confirmation, Confirm, then the console that
// follows the operation, read and closed once the operation has ended.
std::string confirmTheQueue(const std::string& consoleReads = "Setting up") {
    return "tap Queue\n"
           "expect Main Packages to Proceed\n"
           "tap Confirm\n"
           "expect " +
           consoleReads +
           "\n"
           "tap Done\n";
}

// The repository added, the package got from its shared page, and the page open again.
std::string installFromItsPage(const std::string& identifier, const std::string& location) {
    const auto page = openSharedPage(identifier, location);
    return addSource(location) + page + "tap GET\ntap Close\n" + confirmTheQueue() + page;
}

std::string hostStatusDigest() {
    const auto bytes = foundation::FileManager::readFile("/var/lib/dpkg/status");
    return bytes ? foundation::sha256Hex(*bytes) : "missing";
}

class UserJourneyTests : public ::testing::Test {
  protected:
    // Plays the steps on the device root; the tool's words tell which step could not be done.
    void walk(const std::string& steps) {
        const auto path = root_.path() + "/steps";
        std::ofstream(path) << steps;
        const auto run =
            runProgram({"--root", device(), "--steps", path}, kNoSources, journeyPath());
        EXPECT_EQ(run.exitStatus, 0) << run.output << run.errors;
    }

    std::string device() const { return root_.path() + "/device"; }

    // "install ok installed 1.2" as dpkg's status on the device root tells it, or dpkg-query's
    // complaint about a package it does not know.
    std::string dpkgState(const std::string& package) const {
        const auto run = runProgram(
            {"--admindir=" + device() + "/var/lib/dpkg", "-W", "-f=${Status} ${Version}", package},
            {}, "/usr/bin/dpkg-query");
        return run.exitStatus == 0 ? run.output : run.errors;
    }

    bool isInstalled(const std::string& package) const {
        return dpkgState(package).starts_with("install ok installed");
    }

    testing_support::TempDeviceRoot root_;
};

// The source's page lists its packages by name; the package's page opens inside the Sources
// tab, so the floating panel over the tab bar stays in sight.
TEST_F(UserJourneyTests, APackageFoundOnItsSourcesPageIsInstalled) {
    testing_support::SampleRepository repository;
    walk(addSource(repository.location()) +
         "tap Sources\n"
         "tap Sample Repository\n"
         "expect 9 Packages\n"
         "tap Core Library\n"
         "tap GET\n"
         "expect QUEUED\n"
         "expect 1 Package\n" +
         confirmTheQueue("Setting up Core Library (1.0.2)") + "expect UNINSTALL\n");

    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
}

// The newer version is served only after the first refresh; a person refreshes through the
// application's home-screen shortcut and finds the page offering the update.
TEST_F(UserJourneyTests, AnUpdateServedAfterARefreshIsInstalledFromThePage) {
    testing_support::ArchiveRepository repository;
    const std::string name = "com.example.journey.update";
    repository.add(DebianArchive(name, "1.0").field("Name", "Journey Update"));
    walk(installFromItsPage(name, repository.location()));
    ASSERT_EQ(dpkgState(name), "install ok installed 1.0");

    repository.add(DebianArchive(name, "2.0").field("Name", "Journey Update"));
    walk("shortcut Refresh Sources\n" + openSharedPage(name, repository.location()) +
         "expect UPDATE\n"
         "tap UPDATE\n"
         "expect QUEUED\n"
         "tap Close\n" +
         confirmTheQueue("Unpacking Journey Update (2.0) over (1.0)"));
    EXPECT_EQ(dpkgState(name), "install ok installed 2.0");
}

TEST_F(UserJourneyTests, AnInstalledPackageIsRemovedThroughItsOptions) {
    testing_support::SampleRepository repository;
    const auto page = openSharedPage("com.sample.theme", repository.location());
    walk(installFromItsPage("com.sample.theme", repository.location()) +
         "expect UNINSTALL\n"
         "press UNINSTALL\n"
         "expect What would you like to do?\n"
         "tap Uninstall\n"
         "expect Main Packages to Proceed\n"
         "tap Confirm\n"
         "tap Done\n" +
         page + "expect GET\n");

    EXPECT_FALSE(isInstalled("com.sample.theme")) << dpkgState("com.sample.theme");
}

TEST_F(UserJourneyTests, AnOlderVersionPickedFromTheVersionMenuReplacesTheInstalledOne) {
    testing_support::SampleRepository repository;
    walk(installFromItsPage("com.sample.versioned", repository.location()) +
         "press UNINSTALL\n"
         "tap Select Version\n"
         "expect Select the version of Versioned Utility you would like to install.\n"
         "tap 1.0\n"
         "expect QUEUED\n"
         "tap Close\n" +
         confirmTheQueue("Unpacking Versioned Utility (1.0) over (2.0)"));

    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0");
}

// Another application hands over an archive of a package the person's repository also offers;
// once installed from the file, its page there knows it is installed.
TEST_F(UserJourneyTests, AHandedOverArchiveIsInstalledAndItsPageKnowsIt) {
    testing_support::SampleRepository repository;
    const auto handed = root_.scratchPath("Documents/Night Sky.deb");
    fs::create_directories(fs::path(handed).parent_path());
    fs::copy_file(repository.folder() / "debs" / "theme.deb", handed);
    walk(addSource(repository.location()) + "open file://" + root_.scratchPath("Documents") +
         "/Night%20Sky.deb\n"
         "expect Raw Info\n"
         "expect com.sample.theme\n"
         "tap Install\n"
         "expect Setting up com.sample.theme:iphoneos-arm (3.1)\n"
         "tap Done\n" +
         openSharedPage("com.sample.theme", repository.location()) + "expect UNINSTALL\n");

    EXPECT_EQ(dpkgState("com.sample.theme"), "install ok installed 3.1");
    EXPECT_TRUE(fs::exists(handed)) << "the handed-over file stays where it was";
}

// Stanzas whose names and versions carry shell commands are never stored (the source's page
// lists only the two other packages), and an archive whose path climbs out of the repository is
// never asked for, even as the dependency of a package a person asks for: the queue's
// confirmation sets that package apart, in APT's words, Confirm starts no download, and nothing
// lands outside the device root.
TEST_F(UserJourneyTests, AHostileRepositoryInstallsNothingOfItsStanzasAndWritesOnlyTheDevice) {
    const auto hostStatus = hostStatusDigest();
    const fs::path outside = root_.path() + "/outside";
    fs::create_directories(outside);
    const auto touch = "touch${IFS}" + (outside / "touched").string();
    testing_support::ArchiveRepository repository;
    repository.add(DebianArchive("com.hostile.lure")
                       .field("Name", "Hostile Lure")
                       .field("Depends", "com.hostile.path"));
    const auto archive = "debs/com.hostile.lure_1.0.deb";
    repository.addStanza("Package: com.hostile.name;" + touch +
                         "\nVersion: 1.0\nArchitecture: iphoneos-arm\nFilename: " + archive);
    repository.addStanza("Package: com.hostile.dollar$(" + touch +
                         ")\nVersion: 1.0\nArchitecture: iphoneos-arm\nFilename: " + archive);
    repository.addStanza("Package: com.hostile.version\nVersion: 1.0`" + touch +
                         "`\nArchitecture: iphoneos-arm\nFilename: " + archive);
    repository.addStanza(
        "Package: com.hostile.path\nVersion: 1.0\nArchitecture: iphoneos-arm\n"
        "Filename: ../../../../../../../../.." +
        (outside / "escaped.deb").string());

    walk(addSource(repository.location()) +
         "tap Sources\n"
         "tap Test\n"
         "expect 2 Packages\n"
         "expect Hostile Lure\n" +
         openSharedPage("com.hostile.lure", repository.location()) +
         "tap GET\n"
         "tap Close\n"
         "tap Queue\n"
         "expect Packages that cannot be processed\n"
         "expect E: Can't find a source to download version '1.0' of "
         "'com.hostile.path:iphoneos-arm'\n"
         "tap Confirm\n"
         "expect Packages that cannot be processed\n");

    for (const auto* package : {"com.hostile.lure", "com.hostile.path", "com.hostile.version"})
        EXPECT_FALSE(isInstalled(package)) << package << ": " << dpkgState(package);
    const auto status =
        foundation::FileManager::readText(device() + "/var/lib/dpkg/status").valueOr("");
    EXPECT_EQ(status.find("com.hostile.name"), std::string::npos);
    EXPECT_EQ(status.find("com.hostile.dollar"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(outside));
    for (const auto& request : repository.server().requests())
        EXPECT_EQ(request.path.find(".deb"), std::string::npos) << request.path;
    EXPECT_EQ(hostStatusDigest(), hostStatus);
}

}  // namespace
}  // namespace corvane::testing
