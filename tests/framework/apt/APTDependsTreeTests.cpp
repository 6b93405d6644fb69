#include "framework/apt/APTDependsTree.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using List = std::vector<std::string>;

// APT qualifies names with their architecture when several are configured, wraps long lists
// and marks purges with "*"; a downgrade and a reinstall need an archive too.
TEST(APTDependsTreeTests, ReadsQualifiedWrappedAndHeadinglessPackages) {
    const auto tree = APTDependsTree::fromSimulationOutput(
        "Reading package lists...\n"
        "The following additional packages will be installed:\n"
        "  lib.one:iphoneos-arm lib.two:iphoneos-arm64\n"
        "  lib.three\n"
        "Suggested packages:\n"
        "  lib.suggested\n"
        "The following packages will be REMOVED:\n"
        "  old.tweak* gone:iphoneos-arm\n"
        "The following NEW packages will be installed:\n"
        "  lib.one:iphoneos-arm lib.two new.tweak\n"
        "The following packages will be DOWNGRADED:\n"
        "  older.tool\n"
        "The following held packages will be changed:\n"
        "  held.tool\n"
        "The following packages will be upgraded:\n"
        "  newer.tool\n"
        "1 upgraded, 3 newly installed, 1 downgraded, 2 to remove and 0 not upgraded.\n"
        "Inst again.tool [1.0] (1.0 Sample [iphoneos-arm])\n"
        "Remv gone [1.0]\n");
    EXPECT_EQ(tree.depends, (List{"lib.one", "lib.two", "lib.three"}));
    EXPECT_EQ(tree.removes, (List{"old.tweak", "gone"}));
    EXPECT_EQ(tree.installs, (List{"lib.one", "lib.two", "new.tweak"}));
    EXPECT_EQ(tree.upgrades, (List{"newer.tool"}));
    EXPECT_EQ(tree.downloads, (List{"lib.one", "lib.two", "lib.three", "new.tweak", "older.tool",
                                    "newer.tool", "again.tool"}));
    EXPECT_TRUE(tree.incompatible.empty());
}

TEST(APTDependsTreeTests, NamesWhatCannotBeProcessed) {
    const auto tree = APTDependsTree::fromSimulationOutput(
        "The following packages have unmet dependencies:\n"
        " first.tweak:iphoneos-arm : Depends: missing.lib but it is not installable\n"
        "                            Depends: other (>= 2) but 1 is to be installed\n"
        " second.tweak : Conflicts: first.tweak\n"
        "E: Unable to correct problems, you have held broken packages.\n"
        "E: Unable to locate package nowhere\n"
        "E: Version '3.0' for 'some.tool' was not found\n"
        "E: Package 'ghost' has no installation candidate\n");
    EXPECT_EQ(tree.incompatible,
              (List{"first.tweak", "second.tweak", "nowhere", "some.tool", "ghost"}));
    EXPECT_TRUE(tree.downloads.empty());
    EXPECT_TRUE(tree.failure.empty()) << "the unmet dependencies tell what failed";
    EXPECT_EQ(APTDependsTree::fromSimulationOutput(""), APTDependsTree{});
}

// APT can fail after it has listed what it would install, and without naming a package it
// cannot process: what it says then is the failure, and the lists stay as it printed them.
TEST(APTDependsTreeTests, AFailureOtherThanUnmetDependenciesKeepsAptsWords) {
    const auto missing = APTDependsTree::fromSimulationOutput(
        "Reading package lists...\n"
        "The following additional packages will be installed:\n"
        "  astray:iphoneos-arm\n"
        "W: Some index files failed to download.\n"
        "E: Can't find a source to download version '1.0' of 'astray:iphoneos-arm'\n",
        100);
    EXPECT_EQ(missing.failure,
              List{"E: Can't find a source to download version '1.0' of 'astray:iphoneos-arm'"});
    EXPECT_EQ(missing.depends, List{"astray"});
    EXPECT_TRUE(missing.incompatible.empty());

    EXPECT_EQ(
        APTDependsTree::fromSimulationOutput("Reading package lists...\nKilled\n\n", 137).failure,
        List{"Killed"});
    EXPECT_EQ(APTDependsTree::fromSimulationOutput("", -1).failure,
              List{"apt-get ended with status -1."});
    EXPECT_EQ(
        APTDependsTree::fromSimulationOutput("E: Could not get lock\nE: Unable to lock\n").failure,
        (List{"E: Could not get lock", "E: Unable to lock"}))
        << "an error line is a failure whatever the status";
    EXPECT_TRUE(APTDependsTree::fromSimulationOutput("W: Only a warning\n", 0).failure.empty());
}

}  // namespace
}  // namespace corvane
