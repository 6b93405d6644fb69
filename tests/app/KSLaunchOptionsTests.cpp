#include <gtest/gtest.h>

#include "app/launch/KSLaunchOptions.h"

namespace corvane::testing {
namespace {

TEST(KSLaunchOptionsTests, OptionsStandInForThePlatformsEvents) {
    auto options =
        KSLaunchOptions::parse({"--root", "/tmp/device", "--open", "corvane://add/a", "--shortcut",
                                "me_kestrune_corvane_shortcuts_add", "--open", "file:///tmp/a.deb",
                                "--until-idle", "--describe", "--snapshot", "screen.png"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->root, "/tmp/device");
    EXPECT_EQ(options->urlsToOpen,
              (std::vector<std::string>{"corvane://add/a", "file:///tmp/a.deb"}));
    EXPECT_EQ(options->shortcutType, "me_kestrune_corvane_shortcuts_add");
    EXPECT_TRUE(options->untilIdle);
    EXPECT_TRUE(options->describe);
    EXPECT_EQ(options->snapshotPath, "screen.png");
    EXPECT_FALSE(options->help);

    auto none = KSLaunchOptions::parse({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->root);
    EXPECT_FALSE(none->untilIdle);
    EXPECT_FALSE(none->snapshotPath);
}

TEST(KSLaunchOptionsTests, AMissingValueOrAnUnknownArgumentIsNamed) {
    auto missing = KSLaunchOptions::parse({"--until-idle", "--open"});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().localizedDescription(), "--open needs a value");

    auto unnamed = KSLaunchOptions::parse({"--snapshot", ""});
    ASSERT_FALSE(unnamed);
    EXPECT_EQ(unnamed.error().localizedDescription(), "--snapshot needs a file name");

    auto unknown = KSLaunchOptions::parse({"--verbose"});
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().localizedDescription(), "Unknown argument: --verbose");

    EXPECT_NE(KSLaunchOptions::usage("corvane").find("--until-idle"), std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
