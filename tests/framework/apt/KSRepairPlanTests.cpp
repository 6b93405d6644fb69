// What the repair runs for what dpkg left unfinished, and the packages whose script it leaves
// alone once it was stopped.
#include "framework/apt/KSRepairPlan.h"

#include <gtest/gtest.h>

#include "framework/apt/KSAPTSandbox.h"
#include "framework/apt/KSBubblewrap.h"
#include "framework/apt/KSTimedOutScripts.h"
#include "framework/tasks/KSPackageTaskReport.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

std::vector<std::string> inside(const std::vector<foundation::Result<std::string>>& steps) {
    std::vector<std::string> lines;
    for (const auto& step : steps)
        lines.push_back(step ? KSBubblewrap::commandInside(*step)
                             : step.error().localizedDescription());
    return lines;
}

bool endsWith(const std::string& line, const std::string& end) {
    return line.ends_with(end);
}

TEST(KSRepairPlanTests, AStoppedScriptIsLeftAloneAndSoIsWhatWouldRunItAgain) {
    testing_support::TempDeviceRoot root;
    ASSERT_TRUE(KSAPTSandbox::create());
    const KSUnfinishedPackages unfinished{{"com.example.cut"},
                                          {"com.example.unpacked", "com.example.stuck"}};

    const auto all = inside(KSRepairPlan::steps(unfinished, {}));
    ASSERT_EQ(all.size(), 6u);
    EXPECT_TRUE(endsWith(all[0], "'--configure' '--' 'com.example.unpacked' 'com.example.stuck'"))
        << all[0];
    EXPECT_TRUE(
        endsWith(all[1], "'--download-only' 'install' '--reinstall' '--' 'com.example.cut'"))
        << all[1];
    EXPECT_TRUE(endsWith(all[2], "'install' '--reinstall' '--' 'com.example.cut'")) << all[2];
    EXPECT_TRUE(endsWith(all[4], "'install' '-f'")) << all[4];
    EXPECT_TRUE(endsWith(all[5], "'--configure' '-a'")) << all[5];

    const auto left = inside(KSRepairPlan::steps(unfinished, {"com.example.stuck"}));
    ASSERT_EQ(left.size(), 3u) << "nothing that configures every pending package";
    EXPECT_TRUE(endsWith(left[0], "'--configure' '--' 'com.example.unpacked'")) << left[0];
    EXPECT_TRUE(
        inside(KSRepairPlan::steps({{}, {"com.example.stuck"}}, {"com.example.stuck"})).empty());
}

// The package whose step made no progress is remembered until dpkg has finished with it.
TEST(KSRepairPlanTests, TheStoppedStepNamesItsPackageWhichIsRememberedUntilFinished) {
    testing_support::TempDeviceRoot root;
    EXPECT_EQ(KSTimedOutScripts::packageOfLastStep(
                  "Selecting previously unselected package com.example.a:iphoneos-arm.\n"
                  "Preparing to unpack .../com.example.b_1.0_iphoneos-arm.deb ...\n"),
              "com.example.b");
    EXPECT_EQ(KSTimedOutScripts::packageOfLastStep(
                  "Unpacking com.example.b:iphoneos-arm (1.0) ...\n"
                  "Setting up com.example.c (2.0) ...\n\nNothing was heard for 3 s.\n"),
              "com.example.c");
    EXPECT_EQ(KSTimedOutScripts::packageOfLastStep("Setting up $(reboot) (1.0) ...\n"),
              std::nullopt);
    const auto error =
        KSPackageTaskReport::commandFailure("Setting up com.example.c (2.0) ...\n", 143, true);
    EXPECT_NE(error.localizedDescription().find("the script of com.example.c made no progress"),
              std::string::npos)
        << error.localizedDescription();

    KSTimedOutScripts::record("com.example.c");
    KSTimedOutScripts::record("com.example.d");
    EXPECT_EQ(KSTimedOutScripts::identifiers(),
              (std::set<std::string>{"com.example.c", "com.example.d"}));
    KSTimedOutScripts::keepOnly({"com.example.d", "com.example.e"});
    EXPECT_EQ(KSTimedOutScripts::identifiers(), std::set<std::string>{"com.example.d"});
}

}  // namespace
}  // namespace corvane
