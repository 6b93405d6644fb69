#include "framework/apt/KSAPTManager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/apt/DeviceDpkg.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "support/ArchiveRepository.h"
#include "support/DebianArchive.h"
#include "support/HostDpkgLog.h"

namespace corvane {
namespace {

using foundation::FileManager;
using List = std::vector<std::string>;

// Works in another folder for as long as it lives.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

KSRPackage queued(std::string identifier, unsigned operation,
                  std::optional<std::string> version = std::nullopt) {
    KSRPackage package;
    package.identifier = std::move(identifier);
    package.isInTheQueue = true;
    package.queueOperation = operation;
    package.queuedVersion = std::move(version);
    return package;
}

class KSAPTManagerQueueTests : public testing::StorageFixture {
  protected:
    bool runnerWasUsed() const { return FileManager::fileExists(KSRootCommandRunner::lockPath()); }
};

TEST_F(KSAPTManagerQueueTests, QueueStringCarriesEachOperation) {
    const auto queue = KSAPTManager::queueStringForKSRPackageArray(
        {queued("com.sample.tweak", KSRQueueOperationInstall),
         queued("com.sample.versioned", KSRQueueOperationUpgrade, "2.0"),
         queued("com.sample.corelib", KSRQueueOperationRemove, "1.0.2"),
         queued("com.sample.theme", KSRQueueOperationReinstall, "3.1"),
         queued("com.sample.old", KSRQueueOperationDowngrade, "1:0.9~beta-1")});
    ASSERT_TRUE(queue);
    EXPECT_EQ(*queue,
              "com.sample.tweak com.sample.versioned=2.0 com.sample.corelib- "
              "com.sample.theme=3.1+ com.sample.old=1:0.9~beta-1");

    EXPECT_EQ(KSAPTManager::queue(), std::nullopt);
    KSAPTManager::setQueue(*queue);
    EXPECT_EQ(KSAPTManager::queue(), *queue);
    EXPECT_EQ(KSAPTManager::queueArray(),
              (List{"com.sample.tweak", "com.sample.versioned", "com.sample.corelib",
                    "com.sample.theme", "com.sample.old"}));
}

TEST_F(KSAPTManagerQueueTests, RefusedWordsNamePackageAndRunNothing) {
    const std::string hostile = "evil;touch${IFS}/tmp/corvane-evil";
    const auto refused = KSAPTManager::queueStringForKSRPackageArray(
        {queued("com.sample.tweak", KSRQueueOperationInstall),
         queued(hostile, KSRQueueOperationInstall)});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, KSAPTManager::kInvalidPackageName);
    EXPECT_EQ(refused.error().userInfo["package"].optionalString(), hostile);
    EXPECT_NE(refused.error().localizedDescription().find(hostile), std::string::npos);

    const auto badVersion = KSAPTManager::queueStringForKSRPackageArray(
        {queued("com.sample.versioned", KSRQueueOperationUpgrade, "2.0 --allow-unauthenticated")});
    ASSERT_FALSE(badVersion);
    EXPECT_EQ(badVersion.error().code, KSAPTManager::kInvalidVersion);
    EXPECT_EQ(badVersion.error().userInfo["package"].optionalString(), "com.sample.versioned");

    // Strings that never came from queueStringForKSRPackageArray are checked again.
    const auto tree =
        KSAPTManager::unmetDependenciesForPackages("com.sample.tweak $(reboot) -oAPT::x=1");
    EXPECT_EQ(tree.incompatible, (List{"$(reboot)", "-oAPT::x"}));
    EXPECT_TRUE(tree.downloads.empty());
    EXPECT_FALSE(KSAPTManager::installCommandForQueue("ok `id`"));
    EXPECT_FALSE(KSAPTManager::installCommandForQueue("com.sample.corelib=1.0-"));

    auto task = std::make_shared<KSPackageAPTOperationTask>("com.sample.tweak " + hostile);
    task->start();
    ASSERT_FALSE(task->outcome().success);
    ASSERT_TRUE(task->outcome().error);
    EXPECT_EQ(task->outcome().error->userInfo["package"].optionalString(), hostile);

    EXPECT_FALSE(KSAPTManager::hold("a b").succeeded());
    EXPECT_FALSE(KSAPTManager::unhold("-a").succeeded());
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive("relative/path.deb"));
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive(root_.path() + "/missing.deb"));
    EXPECT_FALSE(KSAPTManager::dpkgInstallCommandForArchive(root_.path()));
    EXPECT_FALSE(runnerWasUsed());
}

// A relative path names another file whenever the working folder changes, and one that starts
// with "-" reads as an option to dpkg: neither is an archive, however real the file.
TEST_F(KSAPTManagerQueueTests, OnlyAbsolutePathsOfExistingFilesAreArchives) {
    const auto folder = root_.path() + "/var/mobile/Documents";
    ASSERT_TRUE(FileManager::createDirectory(folder));
    for (const char* name : {"tweak.deb", "-tweak.deb", "--admindir=x.deb"})
        ASSERT_TRUE(
            FileManager::writeAtomically(folder + "/" + name, std::string_view("!<arch>\n")));
    EXPECT_TRUE(KSAPTCommandLine::checkArchivePath(folder + "/tweak.deb"));
    EXPECT_TRUE(KSAPTCommandLine::checkArchivePath(folder + "/-tweak.deb"));

    const WorkingDirectory inFolder(folder);
    for (const char* path :
         {"tweak.deb", "./tweak.deb", "../Documents/tweak.deb", "-tweak.deb", "--admindir=x.deb"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(FileManager::fileExists(path));
        const auto checked = KSAPTCommandLine::checkArchivePath(path);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.error().code, KSAPTManager::kInvalidArchivePath);
        EXPECT_FALSE(KSAPTManager::dpkgInstallCommandForArchive(path));
        EXPECT_FALSE(KSAPTManager::controlFileOfArchive(path));
    }
    EXPECT_FALSE(runnerWasUsed());
}

class KSAPTManagerTests : public testing::AptSandboxFixture {
  protected:
    void install(const std::string& queue) {
        downloadArchives(queue);
        auto task = std::make_shared<KSPackageAPTOperationTask>(queue);
        task->start();
        ASSERT_TRUE(task->outcome().success)
            << (task->outcome().error ? task->outcome().error->localizedDescription() : "no error");
    }
};

TEST_F(KSAPTManagerTests, SandboxPointsEveryToolAtTheDeviceRoot) {
    const auto configuration = FileManager::readText(KSAPTManager::configurationFile());
    ASSERT_TRUE(configuration);
    const auto root = root_.path();
    for (const auto& line :
         {"Dir \"" + KSAPTManager::sandboxDirectory() + "/\";",
          "Dir::State::status \"" + root + "/var/lib/dpkg/status\";",
          "Dir::Etc::SourceList \"" + KSAPTManager::sourceListFile() + "\";",
          std::string("APT::Architecture \"iphoneos-arm\";"),
          std::string("APT::Architectures { \"iphoneos-arm\"; \"iphoneos-arm64\"; };"),
          "DPkg::Options { \"--root=" + root + "\"; \"--admindir=" + root +
              "/var/lib/dpkg\"; \"--log=" + root +
              "/var/log/dpkg.log\"; \"--force-script-chrootless\"; \"--force-not-root\"; };"})
        EXPECT_NE(configuration->find(line), std::string::npos) << line;
    EXPECT_EQ(configuration->find("\"/var/"), std::string::npos) << "a host path";

    EXPECT_EQ(FileManager::readText(root_.resolve("/var/lib/dpkg/arch")).valueOr(""),
              "amd64\niphoneos-arm\niphoneos-arm64\n");
    for (const char* folder : {"info", "updates", "triggers"})
        EXPECT_TRUE(
            FileManager::isDirectory(root_.resolve(std::string("/var/lib/dpkg/") + folder)));
    for (const char* folder : {"/var/log/apt", "/var/lib/apt"})
        EXPECT_TRUE(FileManager::isDirectory(root_.resolve(folder))) << folder;
    EXPECT_TRUE(FileManager::isDirectory(KSAPTManager::listsDirectory() + "/partial"));
    EXPECT_TRUE(FileManager::isDirectory(KSAPTManager::archivesDirectory() + "/partial"));

    KSRSource hostile;
    hostile.location = "http://bad.example/ ./\ndeb [trusted=yes] http://worse.example/";
    auto database = realm();
    database.write([&] { database.addOrUpdateObject(hostile); });
    ASSERT_TRUE(KSAPTManager::writeSourceList());
    EXPECT_EQ(FileManager::readText(KSAPTManager::sourceListFile()).valueOr(""),
              "deb [trusted=yes] " + location_ + " ./\n");

    const auto caches = KSAPTManager::regenerateCaches();
    EXPECT_TRUE(caches.succeeded()) << caches.output;

    // APT takes a newer list for a changed one and builds its caches whole again.
    for (const auto& file : {KSAPTManager::sourceListFile(), KSAPTManager::configurationFile()})
        ASSERT_TRUE(FileManager::setModificationDate(file, 1e9));
    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    ASSERT_TRUE(KSAPTManager::writeSourceList());
    for (const auto& file : {KSAPTManager::sourceListFile(), KSAPTManager::configurationFile()})
        EXPECT_EQ(FileManager::modificationDate(file), 1e9) << file << " is left as it was";
}

TEST_F(KSAPTManagerTests, SimulationGivesTheSixLists) {
    std::optional<APTDependsTree> handed;
    const auto install = KSAPTManager::unmetDependenciesForPackages(
        "com.sample.tweak", [&](const APTDependsTree& tree) { handed = tree; });
    EXPECT_EQ(handed, install);
    EXPECT_EQ(install.downloads, (List{"com.sample.corelib", "com.sample.tweak"}));
    EXPECT_EQ(install.depends, (List{"com.sample.corelib"}));
    EXPECT_EQ(install.installs, (List{"com.sample.corelib", "com.sample.tweak"}));
    EXPECT_TRUE(install.removes.empty() && install.upgrades.empty() &&
                install.incompatible.empty() && install.failure.empty());

    const auto unmet = KSAPTManager::unmetDependenciesForPackages("com.sample.unmet");
    EXPECT_EQ(unmet.incompatible, (List{"com.sample.unmet"}));
    EXPECT_TRUE(unmet.failure.empty());
    EXPECT_TRUE(unmet.downloads.empty() && unmet.installs.empty());
    EXPECT_EQ(KSAPTManager::unmetDependenciesForPackages("com.sample.versioned=9.9").incompatible,
              (List{"com.sample.versioned"}));

    this->install("com.sample.tweak com.sample.versioned=1.0");
    const auto removal = KSAPTManager::unmetDependenciesForPackages("com.sample.corelib-");
    EXPECT_EQ(removal.removes, (List{"com.sample.corelib", "com.sample.tweak"}));
    EXPECT_TRUE(removal.downloads.empty() && removal.installs.empty());

    const auto upgrade = KSAPTManager::unmetDependenciesForPackages("com.sample.versioned=2.0");
    EXPECT_EQ(upgrade.upgrades, (List{"com.sample.versioned"}));
    EXPECT_EQ(upgrade.downloads, (List{"com.sample.versioned"}));
    EXPECT_TRUE(upgrade.installs.empty() && upgrade.removes.empty() && upgrade.depends.empty());
    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0") << "a simulation";
}

// A second repository's dependency names an archive outside it: APT lists what it would
// install, then finds no source to download that archive from.
TEST_F(KSAPTManagerTests, ASimulationThatFailsCarriesAptsWords) {
    testing_support::ArchiveRepository astray;
    astray.add(
        testing_support::DebianArchive("com.example.lure").field("Depends", "com.example.astray"));
    astray.addStanza(
        "Package: com.example.astray\nVersion: 1.0\nArchitecture: iphoneos-arm\n"
        "Filename: ../../../../outside.deb");
    addSource(astray.location());

    const List words = {
        "E: Can't find a source to download version '1.0' of 'com.example.astray:iphoneos-arm'"};
    std::optional<APTDependsTree> handed;
    const auto lure = KSAPTManager::unmetDependenciesForPackages(
        "com.sample.theme com.example.lure", [&](const APTDependsTree& tree) { handed = tree; });
    EXPECT_EQ(handed, lure);
    EXPECT_EQ(lure.failure, words);
    EXPECT_EQ(lure.depends, List{"com.example.astray"});
    EXPECT_TRUE(lure.incompatible.empty());
    EXPECT_EQ(KSAPTManager::unmetDependenciesForPackages("com.example.astray").failure, words);
    EXPECT_TRUE(KSAPTManager::unmetDependenciesForPackages("com.sample.theme").failure.empty());
    for (const auto& request : astray.server().requests())
        EXPECT_EQ(request.path.find(".deb"), std::string::npos) << request.path;
}

TEST_F(KSAPTManagerTests, HoldMarksThePackageInTheDeviceDatabase) {
    install("com.sample.versioned=1.0");
    std::vector<bool> finishedFlags;
    int lastStatus = -2;
    const auto held =
        KSAPTManager::hold("com.sample.versioned",
                           [&](const std::string&, const std::string&, bool finished, int status) {
                               finishedFlags.push_back(finished);
                               lastStatus = status;
                           });
    ASSERT_TRUE(held.succeeded()) << held.output;
    ASSERT_FALSE(finishedFlags.empty());
    EXPECT_TRUE(finishedFlags.back());
    EXPECT_EQ(std::count(finishedFlags.begin(), finishedFlags.end(), true), 1);
    EXPECT_EQ(lastStatus, 0);
    EXPECT_EQ(dpkgState("com.sample.versioned"), "hold ok installed 1.0");
    KSStatusFileSync::synchronise();
    const auto versioned = stored("com.sample.versioned");
    ASSERT_TRUE(versioned);
    EXPECT_TRUE(versioned->isHeld);

    ASSERT_TRUE(KSAPTManager::unhold("com.sample.versioned").succeeded());
    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0");
}

TEST_F(KSAPTManagerTests, RepairConfiguresWhatAnInterruptedRunLeft) {
    // Unpacked without its dependency, as a run cut short would leave it.
    const auto unpack = testing::deviceDpkg({"--unpack", archive("tweak")});
    ASSERT_TRUE(unpack.succeeded()) << unpack.output;
    ASSERT_EQ(dpkgState("com.sample.tweak"), "install ok unpacked 1.2");

    const auto repaired = KSAPTManager::fixPartiallyInstalledPackages();
    EXPECT_TRUE(repaired.succeeded()) << repaired.output;
    EXPECT_EQ(dpkgState("com.sample.tweak"), "install ok installed 1.2");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
}

// Whether dpkg runs on its own, for the repair or under APT, it logs in the device root: the
// host's log never hears of the device's packages.
TEST_F(KSAPTManagerTests, DpkgLogsInsideTheDeviceRootHoweverItRuns) {
    const testing_support::HostDpkgLog hostLog;
    const auto name = testing_support::HostDpkgLog::uniquePackageName("logged");
    const auto archive = testing_support::DebianArchive(name).build(root_.path());

    const auto unpack = testing::deviceDpkg({"--unpack", archive});
    ASSERT_TRUE(unpack.succeeded()) << unpack.output;
    const auto repaired = KSAPTManager::fixPartiallyInstalledPackages();
    ASSERT_TRUE(repaired.succeeded()) << repaired.output;
    const auto removal = KSAPTCommandLine::aptGet({"remove", name});
    ASSERT_TRUE(removal);
    const auto removed = KSRootCommandRunner::run(*removal);
    ASSERT_TRUE(removed.succeeded()) << removed.output;

    const auto deviceLog = deviceFile("/var/log/dpkg.log");
    for (const auto& entry : {"status unpacked " + name + ":", "status installed " + name + ":",
                              "remove " + name + ":"})
        EXPECT_NE(deviceLog.find(entry), std::string::npos) << entry << "\n" << deviceLog;
    EXPECT_EQ(hostLog.linesNaming(name), List{});
}

TEST_F(KSAPTManagerTests, ArchivesAreReadAndCleanedUp) {
    const auto folder = root_.path() + "/var/mobile/Documents/it's here";
    ASSERT_TRUE(FileManager::createDirectory(folder));
    ASSERT_TRUE(FileManager::copyItem(archive("tweak"), folder + "/a b.deb"));
    const auto control = KSAPTManager::controlFileOfArchive(folder + "/a b.deb");
    ASSERT_TRUE(control) << control.error().localizedDescription();
    EXPECT_NE(control->find("Package: com.sample.tweak\n"), std::string::npos);
    EXPECT_NE(control->find("Depends: com.sample.corelib (>= 1.0)\n"), std::string::npos);
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive(repository_ + "/Packages"));

    const auto cached =
        KSAPTManager::archivesDirectory() + "/com.sample.tweak_1.2_iphoneos-arm.deb";
    ASSERT_TRUE(FileManager::copyItem(archive("tweak"), cached));
    KSAPTManager::cleanUpArchivesIfNeeded();
    EXPECT_FALSE(FileManager::fileExists(cached));
    EXPECT_TRUE(FileManager::isDirectory(KSAPTManager::archivesDirectory() + "/partial"));
}

}  // namespace
}  // namespace corvane
