#include "screens/queue/KSQueueConfirmationLists.h"

#include <gtest/gtest.h>

#include "framework/StorageFixture.h"

namespace corvane::testing {
namespace {

using Lists = KSQueueConfirmationLists;
using Strings = std::vector<std::string>;

class KSQueueConfirmationListsTests : public StorageFixture {
  protected:
    static Strings identifiers(const Lists& lists, int section) {
        Strings shown;
        for (const auto& package : lists.section(section))
            shown.push_back(package.identifier);
        return shown;
    }
};

// APT prints every name in lower case; the store keeps the repository's spelling.
TEST_F(KSQueueConfirmationListsTests, TheTreeIsMatchedToTheListsIgnoringCase) {
    store({package("Com.Example.Mixed"), package("com.example.tool"), package("Com.Example.Lib"),
           package("com.example.old")});
    auto lists = Lists::fromQueue({package("Com.Example.Mixed"), package("com.example.tool")});
    APTDependsTree tree;
    tree.depends = {"com.example.lib", "com.example.tool", "com.example.absent"};
    tree.removes = {"com.example.old"};
    tree.incompatible = {"com.example.mixed"};

    lists.applyTree(tree);
    lists.applyTree(tree);
    EXPECT_EQ(identifiers(lists, Lists::queuedPackages), Strings{"com.example.tool"});
    EXPECT_EQ(identifiers(lists, Lists::requiredPackages),
              (Strings{"Com.Example.Lib", "com.example.old"}))
        << "once each, never a queued one, none that is not stored";
    EXPECT_EQ(identifiers(lists, Lists::incompatiblePackages), Strings{"Com.Example.Mixed"});
    EXPECT_FALSE(lists.canProceed());
}

// A simulation that failed sets apart the queued packages its lines name, a name being a whole
// word of the line, or every queued package when a line names none; APT's line is the reason.
TEST_F(KSQueueConfirmationListsTests, AFailedSimulationSetsApartTheQueuedPackagesItConcerns) {
    store({package("Com.Example.Named"), package("com.example"), package("com.example.lib")});
    const std::string named =
        "E: Can't find a source to download version '1.0' of 'com.example.named:iphoneos-arm'";
    APTDependsTree tree;
    tree.depends = {"com.example.lib"};
    tree.failure = {named};
    auto lists = Lists::fromQueue({package("Com.Example.Named"), package("com.example")});
    lists.applyTree(tree);
    lists.applyTree(tree);
    EXPECT_EQ(identifiers(lists, Lists::queuedPackages), Strings{"com.example"});
    EXPECT_EQ(identifiers(lists, Lists::requiredPackages), Strings{"com.example.lib"});
    EXPECT_EQ(identifiers(lists, Lists::incompatiblePackages), Strings{"Com.Example.Named"});
    EXPECT_EQ(lists.refusalOf("Com.Example.Named"), named);
    EXPECT_FALSE(lists.refusalOf("com.example"));
    EXPECT_FALSE(lists.canProceed());

    const std::string unnamed = "E: Could not get lock /var/lib/dpkg/lock-frontend.";
    tree.failure = {unnamed, named};
    auto all = Lists::fromQueue({package("Com.Example.Named"), package("com.example")});
    all.applyTree(tree);
    EXPECT_EQ(identifiers(all, Lists::queuedPackages), Strings{});
    EXPECT_EQ(identifiers(all, Lists::incompatiblePackages),
              (Strings{"Com.Example.Named", "com.example"}));
    EXPECT_EQ(all.refusalOf("Com.Example.Named"), unnamed + "\n" + named);
    EXPECT_EQ(all.refusalOf("com.example"), unnamed);
}

TEST_F(KSQueueConfirmationListsTests, RefusedEntriesStayOutOfTheQueueString) {
    auto removal = package("com.example.gone");
    removal.queueOperation = KSRQueueOperationRemove;
    auto badVersion = package("com.example.tool");
    badVersion.queuedVersion = "1.0 && reboot";
    auto lists = Lists::fromQueue({removal, badVersion, package("bad$name")});

    EXPECT_EQ(lists.queueString(), "com.example.gone-");
    EXPECT_EQ(identifiers(lists, Lists::incompatiblePackages),
              (Strings{"com.example.tool", "bad$name"}));
    EXPECT_NE(lists.refusalOf("bad$name").value_or("").find("not a valid Debian package name"),
              std::string::npos);
    EXPECT_FALSE(lists.refusalOf("com.example.gone"));
    EXPECT_FALSE(lists.canProceed());

    EXPECT_EQ(lists.removeRow(Lists::incompatiblePackages, 5), std::nullopt);
    EXPECT_TRUE(lists.removeRow(Lists::incompatiblePackages, 1));
    EXPECT_TRUE(lists.removeRow(Lists::incompatiblePackages, 0));
    EXPECT_TRUE(lists.canProceed());
    EXPECT_TRUE(lists.removeRow(Lists::queuedPackages, 0));
    EXPECT_FALSE(lists.queueString());
    EXPECT_FALSE(lists.canProceed());
}

}  // namespace
}  // namespace corvane::testing
