#include "framework/device/KSDeviceFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "foundation/FileManager.h"
#include "framework/apt/HostSecret.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

using foundation::FileManager;
namespace fs = std::filesystem;

class KSDeviceFileTest : public ::testing::Test {
  protected:
    std::string write(const std::string& devicePath, const std::string& text) const {
        const auto path = root_.resolve(devicePath);
        fs::create_directories(fs::path(path).parent_path());
        EXPECT_TRUE(FileManager::writeAtomically(path, text).ok());
        return path;
    }
    void link(const std::string& target, const std::string& devicePath) const {
        fs::create_directories(fs::path(root_.resolve(devicePath)).parent_path());
        fs::create_symlink(target, root_.resolve(devicePath));
    }
    static std::string contentsOf(const std::string& path) {
        return FileManager::readText(path).valueOr("<unreadable>");
    }

    testing_support::TempDeviceRoot root_;
    HostSecret secret_;
};

TEST_F(KSDeviceFileTest, OnlyARegularFileReachedWithoutLinksIsReadAndNeverPastTheLimit) {
    const auto status = write("/var/lib/dpkg/status", "Package: a\n");
    ASSERT_TRUE(FileManager::setModificationDate(status, 1700000000.5));
    auto read = KSDeviceFile::read("/var/lib/dpkg/status", 11);
    ASSERT_TRUE(read) << read.error().localizedDescription();
    EXPECT_EQ(read->bytes, "Package: a\n");
    EXPECT_EQ(read->modificationDate, 1700000000.5);

    link(secret_.file(), "/var/lib/dpkg/info/a.list");
    link(secret_.folder(), "/var/lib/linked");
    link("/dev/zero", "/var/lib/dpkg/zero");
    link("/nowhere", "/var/lib/dpkg/dangling");
    ASSERT_EQ(mkfifo(root_.resolve("/var/lib/dpkg/fifo").c_str(), 0600), 0);
    write("/var/lib/dpkg/big", std::string((1 << 20) + 1, 'x'));

    struct Case {
        std::string devicePath;
        long code;
        std::string reason;
    };
    for (const auto& [devicePath, code, reason] : std::initializer_list<Case>{
             {"/var/lib/dpkg/info/a.list", KSDeviceFile::kRefused, "it is a symbolic link"},
             {"/var/lib/linked/secret", KSDeviceFile::kRefused,
              "\u201C/var/lib/linked\u201D is a symbolic link"},
             {"/var/lib/dpkg/zero", KSDeviceFile::kRefused, "it is a symbolic link"},
             {"/var/lib/dpkg/dangling", KSDeviceFile::kRefused, "it is a symbolic link"},
             {"/var/lib/dpkg/fifo", KSDeviceFile::kRefused, "not a regular file"},
             {"/var/lib/dpkg", KSDeviceFile::kRefused, "not a regular file"},
             {"/var/lib/dpkg/status/x", KSDeviceFile::kRefused,
              "\u201C/var/lib/dpkg/status\u201D is not a folder"},
             {"/var/lib/dpkg/big", KSDeviceFile::kTooLarge, "larger than the 1 MiB limit"},
             {"/var/lib/dpkg/missing", KSDeviceFile::kMissing, "does not exist"},
             {"/var/nowhere/status", KSDeviceFile::kMissing, "does not exist"},
             {"var/lib/dpkg/status", KSDeviceFile::kRefused, "not an absolute path"},
             {"/var/lib/dpkg/../dpkg/status", KSDeviceFile::kRefused, "\u201C..\u201D"},
             {"/var//lib/dpkg/status", KSDeviceFile::kRefused, "empty"},
             {"/", KSDeviceFile::kRefused, "empty"}}) {
        auto refused = KSDeviceFile::read(devicePath, 1 << 20);
        ASSERT_FALSE(refused) << devicePath;
        const auto description = refused.error().localizedDescription();
        EXPECT_EQ(refused.error().domain, KSDeviceFile::kErrorDomain);
        EXPECT_EQ(refused.error().code, code) << description;
        EXPECT_NE(description.find("\u201C" + devicePath + "\u201D"), std::string::npos)
            << description;
        EXPECT_NE(description.find(reason), std::string::npos) << description;
    }

    auto overLimit = KSDeviceFile::read("/var/lib/dpkg/status", 10);
    ASSERT_FALSE(overLimit);
    EXPECT_EQ(overLimit.error().code, KSDeviceFile::kTooLarge);
    EXPECT_NE(overLimit.error().localizedDescription().find("10 bytes"), std::string::npos);
}

TEST_F(KSDeviceFileTest, ACopyIsANewPrivateFileAndAFailedOneLeavesNothingBehind) {
    write("/var/mobile/Documents/a.deb", "archive bytes");
    const auto destination = root_.path() + "/copy.deb";
    ASSERT_TRUE(KSDeviceFile::copy("/var/mobile/Documents/a.deb", destination, 1 << 20));
    EXPECT_EQ(contentsOf(destination), "archive bytes");
    struct stat status {};
    ASSERT_EQ(lstat(destination.c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 07777, 0600u);

    auto again = KSDeviceFile::copy("/var/mobile/Documents/a.deb", destination, 1 << 20);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().domain, FileManager::kErrorDomain);
    EXPECT_EQ(contentsOf(destination), "archive bytes") << "somebody else's file is not touched";

    const auto planted = root_.path() + "/planted.deb";
    fs::create_symlink(secret_.folder() + "/written", planted);
    EXPECT_FALSE(KSDeviceFile::copy("/var/mobile/Documents/a.deb", planted, 1 << 20));
    EXPECT_FALSE(fs::exists(secret_.folder() + "/written")) << "a link at the copy is not followed";

    const auto refusedCopy = root_.path() + "/refused.deb";
    auto tooLarge = KSDeviceFile::copy("/var/mobile/Documents/a.deb", refusedCopy, 4);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.error().code, KSDeviceFile::kTooLarge);
    link(secret_.file(), "/var/mobile/Documents/secret.deb");
    auto linked = KSDeviceFile::copy("/var/mobile/Documents/secret.deb", refusedCopy, 1 << 20);
    ASSERT_FALSE(linked);
    EXPECT_EQ(linked.error().code, KSDeviceFile::kRefused);
    EXPECT_FALSE(fs::exists(fs::symlink_status(refusedCopy)));
}

}  // namespace
}  // namespace corvane::testing
