#include "framework/debian/DebianGrammar.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/RunCommand.h"

namespace corvane {
namespace {

// dpkg accepts a version without complaint exactly when it is valid.
bool dpkgAcceptsVersion(const std::string& version) {
    const auto result = testing::runCommand({"dpkg", "--compare-versions", version, "eq", version});
    return result.exitStatus == 0 && result.errors.empty();
}

TEST(DebianGrammar, VersionsAreValidExactlyWhenDpkgAcceptsThem) {
    const char* valid[] = {"1.0",     "0",        "1:2.3-4",        "2147483647:1",
                           "1.0~rc1", "1.0+git1", "1.0-1~bpo1",     "1.0-2-3",
                           "1:2:3",   "1:2:3-4",  "10.2a-1ubuntu1", "3.0.0+dfsg.1-2"};
    const char* invalid[] = {"a1.0",   "1.0:1",        ":1.0",  "x:1.0",      "1.0-",
                             "-1",     "1.0-1:2",      "1.0_1", "1.0;rm -rf", "$(reboot)",
                             "1.0 2",  "2147483648:1", "1:",    "1.0-a/b",    "1:a",
                             "1.0`x`", "1.0-1-",       "~1"};
    for (const char* version : valid) {
        EXPECT_TRUE(isValidDebianVersion(version)) << version;
        EXPECT_TRUE(dpkgAcceptsVersion(version)) << version;
    }
    for (const char* version : invalid) {
        EXPECT_FALSE(isValidDebianVersion(version)) << version;
        EXPECT_FALSE(dpkgAcceptsVersion(version)) << version;
    }
    // dpkg trims these before complaining; a command line must not get them at all.
    EXPECT_FALSE(isValidDebianVersion(""));
    EXPECT_FALSE(isValidDebianVersion(" 1.0"));
    EXPECT_FALSE(isValidDebianVersion("1.0\n"));
}

TEST(DebianGrammar, PackageNamesFollowDebianRulesWithUpperCaseFolded) {
    const char* valid[] = {"com.example.tweak",   "libc6",   "g++", "0ad",
                           "com.Example.MyTweak", "a-b.c+d", "ab"};
    const char* invalid[] = {"",    "a",   "-rf", "+ab",   ".hidden",   "a b",  "a;b",  "a$b",
                             "a/b", "a_b", "a:b", "pkg\n", "$(reboot)", "a`b`", "naïve"};
    for (const char* name : valid)
        EXPECT_TRUE(isValidPackageName(name)) << name;
    for (const char* name : invalid)
        EXPECT_FALSE(isValidPackageName(name)) << name;
}

}  // namespace
}  // namespace corvane
