#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/launch/KSDeviceRootCheck.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "not a folder";
}

TEST(KSDeviceRootCheckTests, AMissingFolderIsMadeAndAnUsableOneKeptAsItIs) {
    testing_support::TempDeviceRoot scratch;
    const auto fresh = scratch.path() + "/a/new/device";
    ASSERT_TRUE(KSDeviceRootCheck::prepare(fresh));
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_TRUE(fs::is_empty(fresh)) << "the probe leaves nothing behind";
    EXPECT_TRUE(KSDeviceRootCheck::prepare(fresh)) << "an existing folder is fine";
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_all);

    // Another user could run what a package leaves in a folder open to them.
    const auto open = scratch.path() + "/open";
    fs::create_directory(open);
    fs::permissions(open, fs::perms(0755));
    ASSERT_TRUE(KSDeviceRootCheck::prepare(open));
    EXPECT_EQ(fs::status(open).permissions(), fs::perms::owner_all);
}

// The scripts of packages can write the whole device root: the data folder must lie elsewhere.
TEST(KSDeviceRootCheckTests, TheDataFolderLiesApartFromTheDeviceRoot) {
    testing_support::TempDeviceRoot scratch;
    EXPECT_TRUE(KSDeviceRootCheck::checkApart(scratch.path(), scratch.dataPath()));
    const auto inside = KSDeviceRootCheck::checkApart(scratch.path(), scratch.path() + "/data");
    ASSERT_FALSE(inside);
    EXPECT_EQ(inside.error().code, KSDeviceRootCheck::kNotApart);
    EXPECT_NE(inside.error().localizedDescription().find("lies inside the device root"),
              std::string::npos);
    EXPECT_FALSE(KSDeviceRootCheck::checkApart(scratch.path(), scratch.path()));
    EXPECT_FALSE(KSDeviceRootCheck::checkApart(scratch.path() + "/below", scratch.path()));
    fs::create_directory_symlink(scratch.path(), scratch.dataPath() + "-link");
    EXPECT_FALSE(KSDeviceRootCheck::checkApart(scratch.path(), scratch.dataPath() + "-link/x"));
}

// Tests run as root, whom permission bits do not stop: a file, a path through a file and a
// file system that takes no new files are what refuse here.
TEST(KSDeviceRootCheckTests, WhatCannotHoldADeviceIsRefusedWithTheReason) {
    testing_support::TempDeviceRoot scratch;
    const auto file = scratch.path() + "/device";
    writeFile(file);

    auto onFile = KSDeviceRootCheck::prepare(file);
    ASSERT_FALSE(onFile);
    EXPECT_EQ(onFile.error().code, KSDeviceRootCheck::kNotAFolder);
    const auto line = KSDeviceRootCheck::refusal("device root", file, onFile.error());
    EXPECT_NE(line.find(file), std::string::npos) << line;
    EXPECT_NE(line.find("it is a file, not a folder"), std::string::npos) << line;

    auto belowFile = KSDeviceRootCheck::prepare(file + "/inside");
    ASSERT_FALSE(belowFile);
    EXPECT_NE(belowFile.error().localizedDescription().find("Not a directory"), std::string::npos)
        << belowFile.error().localizedDescription();
    EXPECT_FALSE(fs::is_directory(file + "/inside"));

    auto unwritable = KSDeviceRootCheck::prepare("/proc");
    ASSERT_FALSE(unwritable);
    EXPECT_EQ(unwritable.error().code, KSDeviceRootCheck::kNotWritable);
}

}  // namespace
}  // namespace corvane::testing
