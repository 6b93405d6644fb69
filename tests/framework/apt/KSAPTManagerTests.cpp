#include "framework/apt/KSAPTManager.h"

#include <gtest/gtest.h>

#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/apt/AptSandboxFixture.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"

namespace corvane {
namespace {

using foundation::FileManager;
using List = std::vector<std::string>;

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
    bool runnerWasUsed() const {
        return FileManager::fileExists(KSRootCommandRunner::runnerPath());
    }
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
    EXPECT_EQ(task->outcome().error->userInfo["package"].optionalString(), hostile);

    EXPECT_FALSE(KSAPTManager::hold("a b").succeeded());
    EXPECT_FALSE(KSAPTManager::unhold("-a").succeeded());
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive("relative/path.deb"));
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive(root_.path() + "/missing.deb"));
    EXPECT_FALSE(KSAPTManager::dpkgInstallCommandForArchive(root_.path()));
    EXPECT_FALSE(runnerWasUsed());
}

class KSAPTManagerTests : public testing::AptSandboxFixture {
  protected:
    void install(const std::string& queue) {
        auto task = std::make_shared<KSPackageAPTOperationTask>(queue);
        task->start();
        ASSERT_TRUE(task->outcome().success) << task->outcome().error->localizedDescription();
    }
};

TEST_F(KSAPTManagerTests, SandboxPointsEveryToolAtTheDeviceRoot) {
    const auto configuration = FileManager::readText(KSAPTManager::configurationFile());
    ASSERT_TRUE(configuration);
    const auto root = root_.path();
    for (const auto& line :
         {"Dir \"" + root + "/\";", "Dir::State::status \"" + root + "/var/lib/dpkg/status\";",
          "Dir::Etc::SourceList \"" + KSAPTManager::sourceListFile() + "\";",
          std::string("APT::Architecture \"iphoneos-arm\";"),
          std::string("APT::Architectures { \"iphoneos-arm\"; \"iphoneos-arm64\"; };"),
          "DPkg::Options { \"--root=" + root + "\"; \"--admindir=" + root +
              "/var/lib/dpkg\"; \"--force-script-chrootless\"; \"--force-not-root\"; };"})
        EXPECT_NE(configuration->find(line), std::string::npos) << line;
    EXPECT_EQ(configuration->find("\"/var/"), std::string::npos) << "a host path";

    EXPECT_EQ(FileManager::readText(root_.resolve("/var/lib/dpkg/arch")).valueOr(""),
              "amd64\niphoneos-arm\niphoneos-arm64\n");
    for (const char* folder : {"info", "updates", "triggers"})
        EXPECT_TRUE(
            FileManager::isDirectory(root_.resolve(std::string("/var/lib/dpkg/") + folder)));
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
                install.incompatible.empty());

    const auto unmet = KSAPTManager::unmetDependenciesForPackages("com.sample.unmet");
    EXPECT_EQ(unmet.incompatible, (List{"com.sample.unmet"}));
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
    EXPECT_TRUE(stored("com.sample.versioned")->isHeld);

    ASSERT_TRUE(KSAPTManager::unhold("com.sample.versioned").succeeded());
    EXPECT_EQ(dpkgState("com.sample.versioned"), "install ok installed 1.0");
}

TEST_F(KSAPTManagerTests, RepairConfiguresWhatAnInterruptedRunLeft) {
    // Unpacked without its dependency, as a run cut short would leave it.
    const auto unpack =
        KSRootCommandRunner::run(KSAPTCommandLine::dpkg({"--unpack", archive("tweak")}));
    ASSERT_TRUE(unpack.succeeded()) << unpack.output;
    ASSERT_EQ(dpkgState("com.sample.tweak"), "install ok unpacked 1.2");

    const auto repaired = KSAPTManager::fixPartiallyInstalledPackages();
    EXPECT_TRUE(repaired.succeeded()) << repaired.output;
    EXPECT_EQ(dpkgState("com.sample.tweak"), "install ok installed 1.2");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
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
