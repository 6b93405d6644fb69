#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "keychain/Keychain.h"

#include "foundation/DataFolder.h"
#include "support/TempDeviceRoot.h"

using namespace keychain;

namespace {

mode_t permissions(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(Keychain, ItemsSurviveARestartInAFileOnlyItsOwnerCanRead) {
    testing_support::TempDeviceRoot root;
    mode_t previousMask = ::umask(0);  // the file's mode must not depend on the process's mask
    auto keychain = Keychain::standard();
    EXPECT_EQ(keychain->path(), foundation::DataFolder::resolve(Keychain::kDevicePath))
        << "out of the device root, which packages can read";
    const std::string binary(
        "se\0cr\xff"
        "et",
        8);
    ASSERT_TRUE(keychain->setPassword("old", "store", "https://repo.example/"));
    ASSERT_TRUE(keychain->setPassword(binary, "store", "https://repo.example/"));
    ASSERT_TRUE(keychain->setPassword("t", "store", "https://another.example/"));
    ASSERT_TRUE(keychain->setPassword("x", "other", "a"));
    ::umask(previousMask);

    EXPECT_EQ(permissions(keychain->path()), 0600);
    EXPECT_EQ(permissions(std::filesystem::path(keychain->path()).parent_path()), 0700);

    Keychain restarted(keychain->path());
    EXPECT_EQ(restarted.passwordForService("store", "https://repo.example/").valueOr(""), binary);
    EXPECT_EQ(restarted.accountsForService("store").valueOr({}),
              (std::vector<std::string>{"https://another.example/", "https://repo.example/"}));
    EXPECT_TRUE(restarted.accountsForService("none")->empty());

    ASSERT_TRUE(restarted.deletePasswordForService("store", "https://repo.example/"));
    auto deletedAgain = restarted.deletePasswordForService("store", "https://repo.example/");
    ASSERT_FALSE(deletedAgain);
    EXPECT_EQ(deletedAgain.error().code, ItemNotFound);
    auto missing = Keychain(keychain->path()).passwordForService("store", "https://repo.example/");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().domain, kErrorDomain);
    EXPECT_EQ(missing.error().code, ItemNotFound);
    EXPECT_EQ(*Keychain(keychain->path()).passwordForService("other", "a"), "x");
    EXPECT_EQ(permissions(keychain->path()), 0600);

    auto invalid = restarted.setPassword("p", "", "a");
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().code, InvalidParameter);
}

TEST(Keychain, LooseFileIsMadeOwnerOnlyAtTheNextSave) {
    testing_support::TempDeviceRoot root;
    std::string path = root.resolve(Keychain::kDevicePath);
    ASSERT_TRUE(Keychain(path).setPassword("p", "s", "a"));
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(Keychain(path).setPassword("q", "s", "b"));
    EXPECT_EQ(permissions(path), 0600);
    EXPECT_EQ(*Keychain(path).passwordForService("s", "a"), "p");
}

TEST(Keychain, CorruptFileReadsEmptyAndIsKeptAsideNotOverwritten) {
    testing_support::TempDeviceRoot root;
    std::string path = root.resolve(Keychain::kDevicePath);
    writeFile(path, "<?xml version=\"1.0\"?><plist><dict><key>s</key><dict><key>a");

    Keychain keychain(path);
    auto read = keychain.passwordForService("s", "a");
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().code, ItemNotFound);
    EXPECT_TRUE(keychain.accountsForService("s")->empty());
    EXPECT_EQ(contents(path).substr(0, 5), "<?xml") << "reading must not touch the file";

    ASSERT_TRUE(keychain.setPassword("p", "s", "b"));
    EXPECT_EQ(contents(path + ".corrupt").substr(0, 5), "<?xml");
    EXPECT_EQ(*Keychain(path).passwordForService("s", "b"), "p");

    writeFile(path, "<?xml version=\"1.0\"?><plist><array/></plist>");
    ASSERT_TRUE(Keychain(path).setPassword("p", "s", "c"));
    EXPECT_TRUE(std::filesystem::exists(path + ".corrupt-2")) << "an earlier copy is not replaced";
    EXPECT_EQ(contents(path + ".corrupt").substr(0, 5), "<?xml");
    EXPECT_EQ(*Keychain(path).accountsForService("s"), (std::vector<std::string>{"c"}));
}

TEST(Keychain, UnreadableFileIsAnErrorAndStaysAsItWas) {
    testing_support::TempDeviceRoot root;
    std::string path = root.resolve(Keychain::kDevicePath);
    std::filesystem::create_directories(path);

    Keychain keychain(path);
    EXPECT_FALSE(keychain.passwordForService("s", "a"));
    EXPECT_NE(keychain.passwordForService("s", "a").error().code, ItemNotFound);
    EXPECT_FALSE(keychain.setPassword("p", "s", "a"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(Keychain, ConcurrentWritersLoseNoItem) {
    testing_support::TempDeviceRoot root;
    auto keychain = Keychain::standard();
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 6; ++writer) {
        writers.emplace_back([keychain, writer] {
            for (int item = 0; item < 15; ++item) {
                std::string account = std::to_string(writer) + "-" + std::to_string(item);
                EXPECT_TRUE(keychain->setPassword(account, "s", account));
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    Keychain restarted(keychain->path());
    EXPECT_EQ(restarted.accountsForService("s").valueOr({}).size(), 90u);
    EXPECT_EQ(restarted.passwordForService("s", "5-14").valueOr(""), "5-14");
}

TEST(Keychain, StandardKeychainFollowsTheDataFolder) {
    std::shared_ptr<Keychain> first;
    {
        testing_support::TempDeviceRoot root;
        first = Keychain::standard();
        EXPECT_EQ(Keychain::standard(), first);
        ASSERT_TRUE(first->setPassword("p", "s", "a"));
    }
    testing_support::TempDeviceRoot other;
    auto second = Keychain::standard();
    EXPECT_NE(second->path(), first->path());
    EXPECT_FALSE(second->passwordForService("s", "a"));
}
