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
