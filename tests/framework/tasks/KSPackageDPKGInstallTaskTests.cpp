#include "framework/tasks/KSPackageDPKGInstallTask.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/apt/AptSandboxFixture.h"

namespace corvane {
namespace {

class KSPackageDPKGInstallTaskTests : public testing::AptSandboxFixture {
  protected:
    KSTask::Outcome install(const std::string& path, const std::string& identifier) {
        auto task = std::make_shared<KSPackageDPKGInstallTask>(path, identifier);
        task->start();
        return task->outcome();
    }
};

TEST_F(KSPackageDPKGInstallTaskTests, InstallsALocalArchive) {
    const auto outcome = install(archive("core-lib"), "com.sample.corelib");
    ASSERT_TRUE(outcome.success) << (outcome.error ? outcome.error->localizedDescription()
                                                   : "no error");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
    EXPECT_EQ(deviceFile("/usr/lib/sample/libcore.txt").empty(), false);
    const auto corelib = stored("com.sample.corelib");
    ASSERT_TRUE(corelib);
    EXPECT_TRUE(corelib->isInstalled);
}

TEST_F(KSPackageDPKGInstallTaskTests, ReportsDpkgsFailureWithItsOutput) {
    const auto outcome = install(archive("tweak"), "com.sample.tweak");
    ASSERT_FALSE(outcome.success);
    ASSERT_TRUE(outcome.error);
    EXPECT_NE(
        outcome.error->userInfo["output"].optionalString().value_or("").find("com.sample.corelib"),
        std::string::npos);
    const auto tweak = stored("com.sample.tweak");
    ASSERT_TRUE(tweak);
    EXPECT_TRUE(tweak->isInstalled) << "left unpacked, it is on the device to be removed";
    EXPECT_EQ(dpkgState("com.sample.tweak"), "install ok unpacked 1.2");

    const auto refused = install("debs/../../etc/passwd", "x");
    ASSERT_FALSE(refused.success);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, KSAPTManager::kInvalidArchivePath);
}

// An archive outside the device root (the inbox's copy of a handed-over one) is shown to the
// sandbox read-only where it lies; a link in the device root that leads out of it leads nowhere
// there.
TEST_F(KSPackageDPKGInstallTaskTests, AnArchiveOutsideTheDeviceRootIsReadWhereItLies) {
    const auto outside = repository_ + "/debs/core-lib.deb";
    const auto before = fileDigest(outside);
    const auto link = root_.resolve("/var/mobile/Archives/link.deb");
    std::filesystem::create_directories(root_.resolve("/var/mobile/Archives"));
    std::filesystem::create_symlink(outside, link);

    const auto linked = install(link, "com.sample.corelib");
    ASSERT_FALSE(linked.success);
    EXPECT_EQ(dpkgState("com.sample.corelib"), "");

    const auto installed = install(outside, "com.sample.corelib");
    ASSERT_TRUE(installed.success)
        << (installed.error ? installed.error->localizedDescription() : "no error");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
    EXPECT_EQ(fileDigest(outside), before);

    const auto linkOutside = repository_ + "/debs/link.deb";
    std::filesystem::create_symlink(outside, linkOutside);
    const auto refused = install(linkOutside, "com.sample.corelib");
    ASSERT_FALSE(refused.success);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, KSAPTManager::kInvalidArchivePath);
}

// The data folder lies beside the device root under a name that begins with the root's
// ("<root>-data"), and so may any folder: beside the root is outside it. An archive there is
// read where it lies, and a link there is refused before dpkg runs.
TEST_F(KSPackageDPKGInstallTaskTests, AFolderBesideTheDeviceRootIsOutsideItWhateverItsName) {
    const auto beside = root_.path() + "-sibling";
    const auto original = repository_ + "/debs/core-lib.deb";
    ASSERT_TRUE(foundation::FileManager::createDirectory(beside));
    const auto link = beside + "/link.deb";
    std::filesystem::create_symlink(original, link);
    const auto refused = install(link, "com.sample.corelib");
    ASSERT_FALSE(refused.success);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, KSAPTManager::kInvalidArchivePath)
        << refused.error->localizedDescription();
    EXPECT_FALSE(KSAPTManager::controlFileOfArchive(link));

    const auto copy = beside + "/core-lib.deb";
    ASSERT_TRUE(foundation::FileManager::copyItem(original, copy));
    const auto control = KSAPTManager::controlFileOfArchive(copy);
    ASSERT_TRUE(control) << control.error().localizedDescription();
    EXPECT_NE(control->find("Package: com.sample.corelib"), std::string::npos) << *control;
    const auto installed = install(copy, "com.sample.corelib");
    ASSERT_TRUE(installed.success)
        << (installed.error ? installed.error->localizedDescription() : "no error");
    EXPECT_EQ(dpkgState("com.sample.corelib"), "install ok installed 1.0.2");
}

}  // namespace
}  // namespace corvane
