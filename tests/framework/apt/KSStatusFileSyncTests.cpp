#include "framework/apt/KSStatusFileSync.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "foundation/Strings.h"
#include "framework/StorageFixture.h"
#include "framework/apt/DeviceDpkg.h"
#include "framework/apt/HostSecret.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "support/DebianArchive.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using foundation::FileManager;
using testing::StorageFixture;

const std::string kRepo = "https://repo.example.org/";

std::set<std::string> asSet(const std::vector<std::string>& list) {
    return {list.begin(), list.end()};
}

class KSStatusFileSyncTest : public StorageFixture {
  protected:
    static KSRPackage fromRepo(std::string identifier, std::string version) {
        auto record = package(std::move(identifier), std::move(version));
        record.sourceLocation = kRepo;
        return record;
    }
    static KSRPackage wasInstalled(KSRPackage record) {
        record.isInstalled = true;
        record.installedVersion = "1.0";
        record.installedFiles = {"/old/file"};
        record.installDate = 1000;
        return record;
    }
    static void writeDeviceFile(const std::string& devicePath, const std::string& text) {
        const auto path = foundation::DeviceRoot::resolve(devicePath);
        ASSERT_TRUE(FileManager::createDirectory(foundation::deletingLastPathComponent(path)));
        ASSERT_TRUE(FileManager::writeAtomically(path, text).ok());
    }
    std::set<std::string> installedIdentifiers() const {
        std::set<std::string> identifiers;
        for (const auto& record : realm().objectsWhere<KSRPackage>("isInstalled = YES"))
            identifiers.insert(record.identifier);
        return identifiers;
    }
    static void check() {
        bool done = false;
        KSParsingUtility::checkStatusFileWithCompletion([&] {
            EXPECT_TRUE(foundation::isMainThread());
            done = true;
        });
        testing_support::pumpUntil([&] { return done; });
    }
};

// A package a run cut short left half-installed or unpacked is on the device too: its page must
// offer to reinstall or remove it.
TEST_F(KSStatusFileSyncTest, MarksTheInstalledAndTheUnfinishedPackages) {
    auto heldRecord = fromRepo("com.example.held", "1.0");
    heldRecord.isInWishlist = true;
    store({fromRepo("com.example.updatable", "2.0"), heldRecord,
           wasInstalled(fromRepo("com.example.half", "1.1")),
           wasInstalled(fromRepo("com.example.removed", "1.0")),
           wasInstalled(package("com.example.localonly")), fromRepo("com.Example.Mixed", "1.0"),
           fromRepo("com.example.untouched", "1.0")});
    writeDeviceFile(
        "/var/lib/dpkg/status",
        "Package: com.example.updatable\nStatus: install ok installed\nArchitecture: "
        "iphoneos-arm\nVersion: 1.0\n\n"
        "Package: com.example.held\nStatus: hold ok installed\nVersion: 1.0\n\n"
        "Package: com.example.half\nStatus: install reinstreq half-installed\nVersion: 1.1\n\n"
        "Package: com.example.unpacked\nStatus: install ok unpacked\nVersion: 0.5\n\n"
        "Package: com.example.mixed\nStatus: install ok installed\nVersion: 1.0\n\n"
        "Package: com.example.missing\nStatus: install ok installed\nName: Missing\n"
        "Version: 3.0\nSection: Tweaks\nDescription: only dpkg knows me\n\n"
        "Package: com.example.triggers\nStatus: install ok triggers-pending\nVersion: 0.1\n\n"
        "Package: com.example.configfiles\nStatus: deinstall ok config-files\nVersion: 1.0\n\n"
        "Package: bad;name\nStatus: install ok installed\nVersion: 1.0\n");
    writeDeviceFile("/var/lib/dpkg/info/com.example.updatable:iphoneos-arm.list",
                    "/.\n/Library\n/Library/updatable.dylib\n");
    writeDeviceFile("/var/lib/dpkg/info/com.example.held.list", "/.\n/usr/bin/held\n");

    check();

    EXPECT_EQ(
        installedIdentifiers(),
        (std::set<std::string>{"com.example.updatable", "com.example.held", "com.Example.Mixed",
                               "com.example.missing", "com.example.triggers", "com.example.half",
                               "com.example.unpacked"}));
    auto updatable = stored("com.example.updatable");
    ASSERT_TRUE(updatable);
    EXPECT_EQ(updatable->installedVersion, "1.0");
    EXPECT_EQ(updatable->version, "2.0");
    EXPECT_TRUE(updatable->isUpdated);
    EXPECT_FALSE(updatable->isHeld);
    EXPECT_EQ(updatable->installedFiles,
              (std::vector<std::string>{"/Library", "/Library/updatable.dylib"}));
    EXPECT_TRUE(updatable->installDate);

    auto held = stored("com.example.held");
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->isHeld);
    EXPECT_FALSE(held->isUpdated);
    EXPECT_TRUE(held->isInWishlist);
    EXPECT_EQ(held->installedFiles, std::vector<std::string>{"/usr/bin/held"});

    auto half = stored("com.example.half");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->installedVersion, "1.1");
    EXPECT_TRUE(half->installedFiles.empty()) << "dpkg lists no files for it";
    const auto unpacked = stored("com.example.unpacked");
    ASSERT_TRUE(unpacked) << "offered by no source, yet on the device";
    EXPECT_EQ(unpacked->installedVersion, "0.5");

    auto missing = stored("com.example.missing");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->sourceLocation);
    EXPECT_EQ(missing->name, "Missing");
    EXPECT_EQ(missing->version, "3.0");
    EXPECT_EQ(missing->installedVersion, "3.0");
    EXPECT_EQ(missing->category, "Tweaks");
    EXPECT_FALSE(missing->isUpdated);

    const auto removed = stored("com.example.removed");
    ASSERT_TRUE(removed);
    EXPECT_FALSE(removed->isInstalled);
    EXPECT_FALSE(removed->installedVersion);
    EXPECT_FALSE(stored("com.example.localonly")) << "nothing offers it any more";
    EXPECT_FALSE(stored("com.example.configfiles"));
    const auto untouched = stored("com.example.untouched");
    ASSERT_TRUE(untouched);
    EXPECT_FALSE(untouched->isInstalled);

    auto report = KSStatusFileSync::lastReport();
    EXPECT_EQ(asSet(report.partiallyInstalled),
              (std::set<std::string>{"com.example.half", "com.example.unpacked"}));
    EXPECT_EQ(asSet(report.added),
              (std::set<std::string>{"com.example.missing", "com.example.triggers",
                                     "com.example.unpacked"}));
    EXPECT_EQ(asSet(report.unmarked),
              (std::set<std::string>{"com.example.removed", "com.example.localonly"}));
}

TEST_F(KSStatusFileSyncTest, AnUnreadableStatusFileChangesNothing) {
    store({wasInstalled(fromRepo("com.example.tweak", "1.0"))});
    const auto status = foundation::DeviceRoot::resolve("/var/lib/dpkg/status");
    ASSERT_TRUE(FileManager::createDirectory(status));
    KSStatusFileSync::synchronise();
    const auto tweak = stored("com.example.tweak");
    ASSERT_TRUE(tweak);
    EXPECT_TRUE(tweak->isInstalled);

    ASSERT_TRUE(FileManager::removeItem(status));
    KSStatusFileSync::synchronise();
    const auto unlisted = stored("com.example.tweak");
    ASSERT_TRUE(unlisted);
    EXPECT_FALSE(unlisted->isInstalled) << "no status file: nothing installed";
}

TEST_F(KSStatusFileSyncTest, WhatAPackageLeftInPlaceOfDpkgsFilesIsNeitherWaitedForNorRead) {
    store({wasInstalled(fromRepo("com.example.tweak", "1.0"))});
    const auto unchanged = [] {
        const auto tweak = stored("com.example.tweak");
        return tweak && tweak->isInstalled && tweak->installedVersion == "1.0" &&
               tweak->installedFiles == std::vector<std::string>{"/old/file"} &&
               tweak->installDate == 1000;
    };
    const auto status = foundation::DeviceRoot::resolve("/var/lib/dpkg/status");
    ASSERT_TRUE(FileManager::createDirectory(foundation::deletingLastPathComponent(status)));
    ASSERT_EQ(mkfifo(status.c_str(), 0600), 0);
    KSStatusFileSync::synchronise();
    EXPECT_TRUE(unchanged()) << "a FIFO";
    ASSERT_TRUE(FileManager::removeItem(status));
    std::filesystem::create_symlink("/dev/zero", status);
    KSStatusFileSync::synchronise();
    EXPECT_TRUE(unchanged()) << "a link to an endless file";

    ASSERT_TRUE(FileManager::removeItem(status));
    writeDeviceFile("/var/lib/dpkg/status",
                    "Package: com.example.tweak\nStatus: install ok installed\nVersion: 1.1\n");
    const testing::HostSecret secret;
    const auto info = foundation::DeviceRoot::resolve("/var/lib/dpkg/info");
    ASSERT_TRUE(FileManager::createDirectory(info));
    std::filesystem::create_symlink(secret.file(), info + "/com.example.tweak.list");
    check();
    const auto tweak = stored("com.example.tweak");
    ASSERT_TRUE(tweak);
    EXPECT_EQ(tweak->installedVersion, "1.1");
    EXPECT_TRUE(tweak->installedFiles.empty());
    for (const auto& file : {KSDatabase::path(), KSDatabase::path() + "-wal"})
        EXPECT_EQ(FileManager::readText(file).valueOr("").find(testing::HostSecret::kText),
                  std::string::npos)
            << file;
}

// Real dpkg on the device root: its status file and file lists, including a list named with the
// architecture.
class KSStatusFileSyncDpkgTest : public KSStatusFileSyncTest {
  protected:
    void SetUp() override {
        KSStatusFileSyncTest::SetUp();
        ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    }

    static void dpkg(const std::vector<std::string>& arguments) {
        const auto result = testing::deviceDpkg(arguments);
        ASSERT_TRUE(result.succeeded()) << result.output;
    }

    static testing_support::DebianArchive archive(const std::string& name) {
        return testing_support::DebianArchive(name, "1.0-1")
            .file("/Library/" + name + "/file.txt", "x");
    }
};

TEST_F(KSStatusFileSyncDpkgTest, FollowsWhatDpkgInstallsAndRemoves) {
    store({fromRepo("com.example.plain", "1.0-1")});
    dpkg({"-i", archive("com.example.plain").build(root_.path()),
          archive("com.example.same").field("Multi-Arch", "same").build(root_.path())});
    ASSERT_TRUE(FileManager::fileExists(KSPaths::dpkgInfoDirectory() +
                                        "/com.example.same:iphoneos-arm.list"));
    check();
    EXPECT_EQ(installedIdentifiers(),
              (std::set<std::string>{"com.example.plain", "com.example.same"}));
    for (const char* identifier : {"com.example.plain", "com.example.same"}) {
        auto record = stored(identifier);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->installedVersion, "1.0-1");
        EXPECT_NE(std::find(record->installedFiles.begin(), record->installedFiles.end(),
                            "/Library/" + std::string(identifier) + "/file.txt"),
                  record->installedFiles.end())
            << identifier;
    }
    const auto same = stored("com.example.same");
    ASSERT_TRUE(same);
    EXPECT_FALSE(same->sourceLocation);

    dpkg({"-r", "com.example.plain", "com.example.same"});
    check();
    EXPECT_TRUE(installedIdentifiers().empty());
    EXPECT_TRUE(stored("com.example.plain"));
    EXPECT_FALSE(stored("com.example.same"));
}

}  // namespace
}  // namespace corvane
