#include <gtest/gtest.h>

#include "app/launch/KSLaunchOptions.h"

namespace corvane::testing {
namespace {

TEST(KSLaunchOptionsTests, OptionsStandInForThePlatformsEvents) {
    auto options = KSLaunchOptions::parse({"--root",
                                           "/tmp/device",
                                           "--data",
                                           "/tmp/data",
                                           "--open",
                                           "corvane://add/a",
                                           "--shortcut",
                                           "me_kestrune_corvane_shortcuts_add",
                                           "--open",
                                           "file:///tmp/a.deb",
                                           "--source-application",
                                           "com.example.mail",
                                           "--answer",
                                           "Yes",
                                           "--answer",
                                           "No, thanks",
                                           "--until-idle",
                                           "--describe",
                                           "--snapshot",
                                           "screen.png"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->root, "/tmp/device");
    EXPECT_EQ(options->data, "/tmp/data");
    EXPECT_EQ(options->urlsToOpen,
              (std::vector<std::string>{"corvane://add/a", "file:///tmp/a.deb"}));
    EXPECT_EQ(options->shortcutType, "me_kestrune_corvane_shortcuts_add");
    EXPECT_EQ(options->sourceApplication, "com.example.mail");
    EXPECT_EQ(options->answers, (std::vector<std::string>{"Yes", "No, thanks"}));
    EXPECT_TRUE(options->untilIdle);
    EXPECT_TRUE(options->describe);
    EXPECT_EQ(options->snapshotPath, "screen.png");
    EXPECT_FALSE(options->help);

    auto none = KSLaunchOptions::parse({});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->root);
    EXPECT_FALSE(none->data);
    EXPECT_FALSE(none->untilIdle);
    EXPECT_FALSE(none->snapshotPath);
    EXPECT_FALSE(none->sourceApplication);
    EXPECT_TRUE(none->answers.empty());
}

TEST(KSLaunchOptionsTests, AMissingValueOrAnUnknownArgumentIsNamed) {
    auto missing = KSLaunchOptions::parse({"--until-idle", "--open"});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().localizedDescription(), "--open needs a value");
    auto noAnswer = KSLaunchOptions::parse({"--answer"});
    ASSERT_FALSE(noAnswer);
    EXPECT_EQ(noAnswer.error().localizedDescription(), "--answer needs a value");

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
