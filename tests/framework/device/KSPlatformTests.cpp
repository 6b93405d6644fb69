#include "framework/device/KSPlatform.h"

#include <gtest/gtest.h>

#include "device/Identity.h"
#include "foundation/FileManager.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

void touch(const testing_support::TempDeviceRoot& root, const std::string& devicePath) {
    ASSERT_TRUE(foundation::FileManager::writeAtomically(root.resolve(devicePath), "").ok());
}

TEST(KSPlatform, DetectsTheJailbreakToolFromItsMarker) {
    testing_support::TempDeviceRoot root;
    EXPECT_EQ(KSPlatform::jailbreakTool(), JailbreakTool::Unknown);
    touch(root, "/.bootstrapped_checkra1n");
    EXPECT_EQ(KSPlatform::jailbreakTool(), JailbreakTool::Checkra1n);
    touch(root, "/.bootstrapped_electra");
    EXPECT_EQ(KSPlatform::jailbreakTool(), JailbreakTool::Electra);
    touch(root, "/.installed_chimera");
    EXPECT_EQ(KSPlatform::jailbreakTool(), JailbreakTool::Chimera);
    touch(root, "/.installed_unc0ver");
    EXPECT_EQ(KSPlatform::jailbreakTool(), JailbreakTool::Unc0ver);
}

TEST(KSPlatform, NamesEachKnownToolInTheLaunchLog) {
    EXPECT_EQ(KSPlatform::jailbreakToolLogLine(0), "- unknown jailbreak detected");
    EXPECT_EQ(KSPlatform::jailbreakToolLogLine(1), "- unc0ver jailbreak detected");
    EXPECT_EQ(KSPlatform::jailbreakToolLogLine(4), "- checkra1n jailbreak detected");
    EXPECT_EQ(KSPlatform::jailbreakToolLogLine(5), std::nullopt);
    EXPECT_EQ(KSPlatform::jailbreakToolLogLine(-1), std::nullopt);
}

TEST(KSPlatform, ComparesFirmwareVersionsNumerically) {
    device::Identity::setFirmwareVersion("13.10");
    EXPECT_TRUE(KSPlatform::isFirmwareAtLeast("13.9"));
    EXPECT_TRUE(KSPlatform::isFirmwareAtLeast("13.10.0"));
    EXPECT_FALSE(KSPlatform::isFirmwareAtLeast("13.10.1"));
    device::Identity::setFirmwareVersion("12.4.1");
    EXPECT_FALSE(KSPlatform::isFirmwareAtLeast("13.0"));
    device::Identity::setFirmwareVersion("13");
    EXPECT_TRUE(KSPlatform::isFirmwareAtLeast("13.0"));
    EXPECT_EQ(KSPlatform::firmwareVersion(), "13");
}

}  // namespace
}  // namespace corvane
