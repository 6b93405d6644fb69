#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <regex>

#include "device/Identity.h"

using device::Identity;

TEST(Identity, DerivedValuesAreTheHostsAndTheIdentifierIsStableHex) {
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    EXPECT_EQ(Identity::modelIdentifier(), names.machine);
    EXPECT_EQ(Identity::firmwareVersion(), "14.3");

    std::string identifier = Identity::uniqueDeviceIdentifier();
    EXPECT_TRUE(std::regex_match(identifier, std::regex("[0-9a-f]{40}"))) << identifier;
    EXPECT_EQ(Identity::uniqueDeviceIdentifier(), identifier);
}

TEST(Identity, TestsCanReplaceEveryValue) {
    Identity::setModelIdentifier("iPhone10,3");
    Identity::setFirmwareVersion("13.5");
    Identity::setUniqueDeviceIdentifier(std::string(40, 'a'));
    EXPECT_EQ(Identity::modelIdentifier(), "iPhone10,3");
    EXPECT_EQ(Identity::firmwareVersion(), "13.5");
    EXPECT_EQ(Identity::uniqueDeviceIdentifier(), std::string(40, 'a'));
}
