// Package rows as a list shows them: the installed or queue-state icon, the version of a queued
// downgrade, the second line, and the live queue state of the package a row shows now.
#include "ui/cells/PackageCell.h"

#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "framework/StorageFixture.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/storage/KSRSource.h"
#include "support/MainLoop.h"
#include "ui/cells/CellTable.h"
#include "ui/cells/KSQueueStateObserver.h"

namespace corvane {
namespace {

using testing::CellTable;
using testing_support::advanceClock;
using uikit::Color;

KSRPackage installed(KSRPackage record, std::string version) {
    record.isInstalled = true;
    record.installedVersion = std::move(version);
    return record;
}

KSRPackage queued(KSRPackage record, unsigned operation) {
    record.isInTheQueue = true;
    record.queueOperation = operation;
    return record;
}

// What a person sees at the row's trailing edge: the icon's name, or nothing.
std::string statusIcon(const PackageCell& row) {
    const auto& status = *row.installOrQueueStatusImageView;
    if (status.isHidden() || !status.image())
        return "";
    return status.image()->name();
}

void postQueueState(const std::string& identifier) {
    foundation::NotificationCenter::defaultCenter().post(KSRQueueStateNotificationName(identifier));
}

class PackageCellTest : public testing::StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        PackageCell::registerNib();
    }

    // A list filled as the package lists fill their rows; the queue confirmation also shows
    // the version a downgrade goes to.
    static std::shared_ptr<CellTable> list(bool confirmation = false) {
        return CellTable::make(
            PackageCell::kNibName, PackageCell::kReuseIdentifier, PackageCell::kRowHeight,
            [confirmation](uikit::TableViewCell& cell, const std::string& identifier) {
                auto& row = dynamic_cast<PackageCell&>(cell);
                const auto package = stored(identifier).value();
                row.updateWithPackage(package);
                row.updatePackageIcon();
                row.updateConpatibilityIndicatorWithPackageIdentifier(package.identifier,
                                                                      package.version);
                row.updateQueuingIconWithPackage(package);
                if (confirmation)
                    row.updateVersionLabelShowingDowngradeIfNeededForPackage(package);
            });
    }

    static void setPreference(const char* key, bool on) {
        CorvanePersistentPreferences::sharedInstance().setValue(on, key);
    }
};

TEST_F(PackageCellTest, EachRowShowsItsInstalledOrQueueIconInItsColour) {
    auto downgrade =
        queued(installed(package("com.example.older", "2.0"), "2.0"), KSRQueueOperationDowngrade);
    downgrade.queuedVersion = "1.5";
    store({downgrade, installed(package("com.example.kept"), "1.0"),
           queued(package("com.example.new"), KSRQueueOperationInstall),
           queued(installed(package("com.example.zero"), "1.0"), KSRQueueOperationNone),
           queued(package("com.example.six"), 6), package("com.example.plain")});

    auto confirmation = list(true);
    confirmation->show({"com.example.older", "com.example.kept", "com.example.new",
                        "com.example.zero", "com.example.six", "com.example.plain"});

    auto older = confirmation->cellAs<PackageCell>(0);
    ASSERT_TRUE(older);
    EXPECT_EQ(statusIcon(*older), "downgrade");
    EXPECT_EQ(older->installOrQueueStatusImageView->tintColor(), Color::systemOrange());
    EXPECT_TRUE(older->installOrQueueStatusImageView->image()->isTemplate());
    EXPECT_EQ(older->versionLbl->text(), "1.5") << "the version the downgrade goes to";
    EXPECT_EQ(older->descriptionLblTrailingConstraint->constant(), 51);
    EXPECT_NE(older->describe().find("[downgrade]"), std::string::npos) << older->describe();

    auto kept = confirmation->cellAs<PackageCell>(1);
    EXPECT_EQ(statusIcon(*kept), "installed");
    EXPECT_EQ(kept->installOrQueueStatusImageView->tintColor(), Color::systemGreen());

    auto fresh = confirmation->cellAs<PackageCell>(2);
    EXPECT_EQ(statusIcon(*fresh), "install") << "queued, though not installed";
    EXPECT_EQ(fresh->installOrQueueStatusImageView->tintColor(), Color::systemGreen());

    for (int row : {3, 4}) {
        auto cell = confirmation->cellAs<PackageCell>(row);
        EXPECT_EQ(statusIcon(*cell), "") << "row " << row;
        EXPECT_EQ(cell->descriptionLblTrailingConstraint->constant(), 0) << "row " << row;
        EXPECT_DOUBLE_EQ(cell->descriptionLbl->frame().maxX(),
                         cell->contentView()->bounds().width())
            << "the description reaches the trailing edge in row " << row;
    }
    EXPECT_EQ(statusIcon(*confirmation->cellAs<PackageCell>(5)), "");

    auto packages = list();
    packages->show({"com.example.older"});
    EXPECT_EQ(packages->cellAs<PackageCell>(0)->versionLbl->text(), "2.0")
        << "other lists show the installed version";
}

TEST_F(PackageCellTest, TheSecondLineNamesTheSourceWhenThePersonPrefersIt) {
    KSRSource source;
    source.location = "https://repo.example.org/";
    source.name = "Example Repo";
    auto database = realm();
    database.write([&] { database.addOrUpdateObject(source); });
    auto fromSource = package("com.example.sourced");
    fromSource.sourceLocation = source.location;
    fromSource.maintainer = "Jane Roe";
    auto onlyDpkg = package("com.example.local");
    onlyDpkg.sourceLocation = "DPKG";
    auto noSource = package("com.example.orphan");
    noSource.maintainer = "John Roe";
    store({fromSource, onlyDpkg, noSource});

    auto rows = list();
    rows->show({"com.example.sourced", "com.example.local", "com.example.orphan"});
    EXPECT_EQ(rows->cellAs<PackageCell>(0)->subinfoLbl->text(), "Jane Roe");
    EXPECT_EQ(rows->cellAs<PackageCell>(2)->subinfoLbl->text(), "John Roe");

    setPreference("ReplacePackageMaintainerWithSourceName", true);
    rows->show({"com.example.sourced", "com.example.local", "com.example.orphan"});
    EXPECT_EQ(rows->cellAs<PackageCell>(0)->subinfoLbl->text(), "Example Repo");
    EXPECT_EQ(rows->cellAs<PackageCell>(1)->subinfoLbl->text(), "")
        << "a source that is not stored has no name";
    EXPECT_EQ(rows->cellAs<PackageCell>(2)->subinfoLbl->text(), "Unknown");
}

TEST_F(PackageCellTest, PreferencesHideTheVersionDescriptionAndCompatibilityDot) {
    store({package("com.example.tweak")});
    auto rows = list();
    rows->show({"com.example.tweak"});
    auto row = rows->cellAs<PackageCell>(0);
    EXPECT_FALSE(row->versionLbl->isHidden());
    EXPECT_FALSE(row->compatibilityView->isHidden());
    EXPECT_EQ(row->compatibilityView->backgroundColor(), Color::systemYellow())
        << "no report for the package";

    setPreference("HidePackageVersion", true);
    setPreference("HidePackageDescription", true);
    setPreference("HidePackageTweakCompatibleIndicator", true);
    rows->show({"com.example.tweak"});
    EXPECT_TRUE(row->versionLbl->isHidden());
    EXPECT_TRUE(row->descriptionLbl->isHidden());
    EXPECT_TRUE(row->compatibilityView->isHidden());
}

TEST_F(PackageCellTest, AReusedRowFollowsOnlyThePackageItNowShows) {
    store({package("com.example.first"), installed(package("com.example.second"), "1.0")});
    auto& packages = KSRPackageManager::sharedPackageManager().packages();
    auto rows = list();
    rows->show({"com.example.first"});
    auto row = rows->cellAs<PackageCell>(0);
    EXPECT_EQ(statusIcon(*row), "");

    rows->show({"com.example.second"});
    ASSERT_TRUE(rows->cellAs<PackageCell>(0) == row) << "the same cell, handed out again";
    EXPECT_EQ(statusIcon(*row), "installed");

    packages.setPackage("com.example.first", true, std::nullopt, KSRQueueOperationNone);
    postQueueState("com.example.first");
    advanceClock(0);
    EXPECT_EQ(statusIcon(*row), "installed") << "the package it showed before changes nothing";

    // A delivery already on its way when the row changes package is dropped.
    packages.setPackage("com.example.second", true, std::nullopt, KSRQueueOperationNone);
    postQueueState("com.example.second");
    rows->show({"com.example.first"});
    advanceClock(0);
    EXPECT_EQ(row->packageIdentifier(), "com.example.first");
    EXPECT_EQ(statusIcon(*row), "install");

    packages.setPackage("com.example.first", false, std::nullopt, KSRQueueOperationNone);
    postQueueState("com.example.first");
    advanceClock(0);
    EXPECT_EQ(statusIcon(*row), "") << "its own package is followed";
}

TEST_F(PackageCellTest, APackageNoLongerStoredLeavesNoIcon) {
    const auto kept = installed(package("com.example.gone"), "1.0");
    store({kept});
    auto rows = list();
    rows->show({"com.example.gone"});
    auto row = rows->cellAs<PackageCell>(0);
    ASSERT_EQ(statusIcon(*row), "installed");

    auto database = realm();
    database.write([&] { database.deleteObject(kept); });
    postQueueState("com.example.gone");
    advanceClock(0);
    EXPECT_EQ(statusIcon(*row), "");
    EXPECT_EQ(row->descriptionLblTrailingConstraint->constant(), 0);
}

}  // namespace
}  // namespace corvane
