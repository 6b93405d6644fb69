#include "foundation/DeviceRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/DataFolder.h"

namespace foundation {
namespace {

// Unchosen, the device and the program's data are the user's own, below their home. A test
// program's home is a folder of the run's own, so that no test reaches the user's device.
TEST(DeviceRootTests, UnchosenTheDeviceIsBelowAHomeOfTheTestRunsOwn) {
    const char* home = std::getenv("HOME");
    ASSERT_TRUE(home);
    EXPECT_EQ(std::getenv("CORVANE_ROOT"), nullptr);
    EXPECT_EQ(std::getenv("CORVANE_DATA"), nullptr);
    EXPECT_EQ(DeviceRoot::path(), std::string(home) + "/.local/share/corvane/device");
    EXPECT_EQ(DataFolder::path(), DeviceRoot::path() + "-data");
    const passwd* user = getpwuid(getuid());
    ASSERT_TRUE(user);
    EXPECT_NE(std::string(home), user->pw_dir);
}

}  // namespace
}  // namespace foundation
