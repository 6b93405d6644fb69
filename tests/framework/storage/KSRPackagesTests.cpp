#include "framework/storage/KSRPackages.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "framework/StorageFixture.h"
#include "framework/device/KSPaths.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSRQueueOperation.h"
#include "uikit/Image.h"

namespace corvane {
namespace {

using testing::StorageFixture;

KSRPackage installedAt(std::string identifier, std::string installedVersion) {
    KSRPackage record;
    record.identifier = std::move(identifier);
    record.isInstalled = true;
    record.installedVersion = std::move(installedVersion);
    return record;
}

TEST(KSRPackagesRules, QueueOperationFollowsTheRule) {
    const auto rule = &KSRPackages::queueOperationForPackage;
    KSRPackage notInstalled;
    EXPECT_EQ(rule(notInstalled, std::nullopt, KSRQueueOperationNone), KSRQueueOperationInstall);
    EXPECT_EQ(rule(notInstalled, "2.0", KSRQueueOperationNone), KSRQueueOperationInstall);

    auto installed = installedAt("a", "1.5");
    EXPECT_EQ(rule(installed, "2.0", KSRQueueOperationNone), KSRQueueOperationUpgrade);
    EXPECT_EQ(rule(installed, "1.10", KSRQueueOperationNone), KSRQueueOperationUpgrade)
        << "digits compare as numbers";
    EXPECT_EQ(rule(installed, "1:1.0", KSRQueueOperationNone), KSRQueueOperationUpgrade)
        << "an epoch wins";
    EXPECT_EQ(rule(installed, "1.5~beta1", KSRQueueOperationNone), KSRQueueOperationDowngrade)
        << "~ sorts first";
    EXPECT_EQ(rule(installed, "1.4", KSRQueueOperationNone), KSRQueueOperationDowngrade);
    EXPECT_EQ(rule(installed, "", KSRQueueOperationNone), KSRQueueOperationRemove)
        << "an empty version is none";
    EXPECT_EQ(rule(installed, std::nullopt, KSRQueueOperationNone), KSRQueueOperationRemove);

    installed.isUpdated = true;
    EXPECT_EQ(rule(installed, std::nullopt, KSRQueueOperationNone), KSRQueueOperationUpgrade);
    installed.isHeld = true;
    EXPECT_EQ(rule(installed, std::nullopt, KSRQueueOperationNone), KSRQueueOperationRemove)
        << "held: no upgrade";

    EXPECT_EQ(rule(notInstalled, std::nullopt, KSRQueueOperationRemove), KSRQueueOperationRemove);
    EXPECT_EQ(rule(installed, "2.0", KSRQueueOperationDowngrade), KSRQueueOperationDowngrade);
    EXPECT_EQ(rule(installed, std::nullopt, KSRQueueOperationReinstall),
              KSRQueueOperationReinstall);
}

TEST(KSRPackagesRules, IsFreeOnlyForNoOrZeroPrice) {
    KSRPackage record;
    EXPECT_TRUE(record.isFree());
    for (const char* free : {"0", "0.00", "Free", "FREE", "free", ""}) {
        record.price = free;
        EXPECT_TRUE(record.isFree()) << free;
    }
    for (const char* paid : {"$1.99", "0.99", "1", "freeware $2"}) {
        record.price = paid;
        EXPECT_FALSE(record.isFree()) << paid;
    }
}

class KSRPackagesTest : public StorageFixture {
  protected:
    KSRPackages packages;
};

TEST_F(KSRPackagesTest, GetButtonTitleTakesTheFirstMatchingRule) {
    auto queued = installedAt("queued", "1.0");
    queued.isInTheQueue = queued.isUpdated = true;
    auto update = installedAt("update", "1.0");
    update.isUpdated = true;
    auto heldUpdate = installedAt("held", "1.0");
    heldUpdate.isUpdated = heldUpdate.isHeld = true;
    auto installed = installedAt("installed", "1.0");
    auto paid = package("paid");
    paid.price = "$1.99";
    store({queued, update, heldUpdate, installed, paid, package("free")});

    auto title = [&](const std::string& id, bool showsPrice, bool available, bool owned,
                     std::optional<std::string> price = std::nullopt) {
        return packages.getButtonTitleForPackageIdentifier(id, showsPrice, available, owned, price);
    };
    EXPECT_EQ(title("queued", true, false, true), "QUEUED");
    EXPECT_EQ(title("update", true, false, true), "UPDATE");
    EXPECT_EQ(title("held", true, true, false), "UNINSTALL") << "a held update is not offered";
    EXPECT_EQ(title("installed", true, false, true), "UNINSTALL");
    EXPECT_EQ(title("paid", true, false, true, "$2.49"), "UNAVAILABLE");
    EXPECT_EQ(title("paid", true, true, true, "$2.49"), "OWNED");
    EXPECT_EQ(title("paid", true, true, false, "$2.49"), "$2.49");
    EXPECT_EQ(title("paid", true, true, false, ""), "$1.99") << "empty price: the stored one";
    EXPECT_EQ(title("paid", true, true, false), "$1.99");
    EXPECT_EQ(title("paid", false, true, false, "$2.49"), "GET");
    EXPECT_EQ(title("free", true, true, false, "$2.49"), "GET");
    EXPECT_EQ(title("unknown", true, true, false), "GET");
    EXPECT_EQ(title("unknown", true, false, false), "UNAVAILABLE");
}

TEST_F(KSRPackagesTest, QueueMarksAreSetAndReset) {
    auto upgradable = installedAt("upgradable", "1.0");
    upgradable.version = "2.0";
    upgradable.isUpdated = true;
    store({upgradable, installedAt("installed", "1.0"), package("new")});

    packages.setPackage("upgradable", true, std::nullopt, KSRQueueOperationNone);
    packages.setPackage("new", true, "1.0", KSRQueueOperationNone);
    packages.setPackage("installed", true, std::nullopt, KSRQueueOperationReinstall);
    packages.setPackage("missing", true, std::nullopt, KSRQueueOperationNone);
    EXPECT_FALSE(stored("missing"));

    const auto upgrade = stored("upgradable");
    const auto install = stored("new");
    const auto reinstall = stored("installed");
    ASSERT_TRUE(upgrade && install && reinstall);
    EXPECT_EQ(upgrade->queueOperation, KSRQueueOperationUpgrade);
    EXPECT_EQ(install->queueOperation, KSRQueueOperationInstall);
    EXPECT_EQ(install->queuedVersion, "1.0");
    EXPECT_EQ(reinstall->queueOperation, KSRQueueOperationReinstall);
    EXPECT_EQ(reinstall->queuedVersion, "1.0") << "reinstall of the installed version";

    // A copy read before another change must not undo that change.
    auto oldCopy = *install;
    auto current = oldCopy;
    current.isInWishlist = true;
    store({current});
    packages.setPackageObject(oldCopy, false, std::nullopt, KSRQueueOperationNone);
    const auto unqueued = stored("new");
    ASSERT_TRUE(unqueued);
    EXPECT_FALSE(unqueued->isInTheQueue);
    EXPECT_FALSE(unqueued->queuedVersion);
    EXPECT_EQ(unqueued->queueOperation, 0u);
    EXPECT_TRUE(unqueued->isInWishlist);

    packages.resetPackagesQueue();
    for (const auto& id : {"upgradable", "new", "installed"}) {
        const auto reset = stored(id);
        ASSERT_TRUE(reset) << id;
        EXPECT_FALSE(reset->isInTheQueue) << id;
        EXPECT_EQ(reset->queueOperation, 0u) << id;
        EXPECT_FALSE(reset->queuedVersion) << id;
    }
    const auto stillInstalled = stored("upgradable");
    ASSERT_TRUE(stillInstalled);
    EXPECT_EQ(stillInstalled->installedVersion, "1.0") << "nothing else changes";
}

TEST_F(KSRPackagesTest, NewPackagesByDateNewestFirstWithoutIncompatibleOnes) {
    auto dated = [](std::string id, std::string date, bool newVersion = false, int status = 2) {
        auto record = package(std::move(id));
        record.updatedDateStr = std::move(date);
        record.hasNewVersion = newVersion;
        record.tweakCompatibleStatus = status;
        return record;
    };
    store({dated("a", "2024-01-05 10:00"), dated("b", "2024-11-20 09:30", true),
           dated("c", "2024-01-05 10:00", true), dated("broken", "2025-02-01 00:00", false, 1),
           dated("empty", ""), package("undated")});

    packages.rebuildDictOfNewPackages();
    EXPECT_EQ(packages.arrayOfInitialDateStr(),
              (std::vector<std::string>{"2024-11-20 09:30", "2024-01-05 10:00"}));
    auto byDate = packages.dictionaryOfNewPackagesByDateStr();
    EXPECT_EQ(byDate.size(), 2u);
    EXPECT_EQ(byDate["2024-11-20 09:30"], std::vector<std::string>{"b"});
    auto sameDay = byDate["2024-01-05 10:00"];
    std::sort(sameDay.begin(), sameDay.end());
    EXPECT_EQ(sameDay, (std::vector<std::string>{"a", "c"}));

    packages.rebuildDictOfNewPackagesVersions();
    auto versions = packages.dictionaryOfNewPackagesVersionsByDateStr();
    EXPECT_EQ(versions["2024-11-20 09:30"], std::vector<std::string>{"b"});
    EXPECT_EQ(versions["2024-01-05 10:00"], std::vector<std::string>{"c"});

    CorvanePersistentPreferences::sharedInstance().setValue(true, "ShowIncompatiblePackages");
    packages.rebuildDictOfNewPackages();
    EXPECT_EQ(packages.arrayOfInitialDateStr().front(), "2025-02-01 00:00");
    EXPECT_EQ(packages.dictionaryOfNewPackagesByDateStr()["2025-02-01 00:00"],
              std::vector<std::string>{"broken"});
}

TEST_F(KSRPackagesTest, IconsComeFromTheCacheElseTheCategory) {
    const auto resources = root_.path() + "/resources";
    ASSERT_TRUE(foundation::FileManager::createDirectory(resources));
    auto writeImage = [&](const std::string& name, const uikit::Color& color) {
        auto png = uikit::Image::withColor(color, {4, 4})->pngData();
        ASSERT_TRUE(png);
        ASSERT_TRUE(
            foundation::FileManager::writeAtomically(resources + "/" + name + ".png", *png).ok());
    };
    writeImage("category_tweaks", uikit::Color(1, 0, 0, 1));
    writeImage("category_default", uikit::Color(0, 0, 1, 1));
    setenv("MAIN_BUNDLE_RESOURCES", resources.c_str(), 1);

    struct Fetcher : KSRPackageIconFetcher {
        std::vector<std::string> asked;
        void fetchIcon(const std::string& identifier, const std::string& iconURL,
                       const std::string& destinationPath) override {
            asked.push_back(identifier + " " + iconURL + " " + destinationPath);
        }
    };
    auto fetcher = std::make_shared<Fetcher>();
    packages.setIconFetcher(fetcher);

    auto tweak = package("tweak");
    tweak.category = "Tweaks";
    tweak.iconURL = "https://repo.example.org/icons/tweak.png";
    auto theme = package("theme");
    theme.category = "Themes";
    store({tweak, theme});

    const auto iconPath = KSPaths::iconCacheDirectory() + "/" +
                          foundation::md5Hex("https://repo.example.org/icons/tweak.png") + ".png";
    const auto record = stored("tweak");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->iconPath(), iconPath);

    EXPECT_EQ(packages.iconForIdentifier("tweak")->name(), "category_tweaks");
    ASSERT_EQ(fetcher->asked.size(), 1u);
    EXPECT_EQ(fetcher->asked[0], "tweak https://repo.example.org/icons/tweak.png " + iconPath);
    EXPECT_EQ(packages.iconForIdentifier("theme")->name(), "category_default")
        << "no image for themes yet";
    EXPECT_EQ(fetcher->asked.size(), 1u) << "nothing to fetch without an icon address";

    ASSERT_TRUE(foundation::FileManager::createDirectory(KSPaths::iconCacheDirectory()));
    auto cached = uikit::Image::withColor(uikit::Color(0, 1, 0, 1), {8, 8});
    const auto cachedData = cached->pngData();
    ASSERT_TRUE(cachedData);
    ASSERT_TRUE(foundation::FileManager::writeAtomically(iconPath, *cachedData).ok());
    auto icon = packages.iconForIdentifier("tweak");
    EXPECT_TRUE(icon->name().empty());
    EXPECT_EQ(icon->pixelWidth(), cached->pixelWidth());
    EXPECT_EQ(fetcher->asked.size(), 1u);
    EXPECT_EQ(packages.getCategoryIconForIdentifier("tweak")->name(), "category_tweaks");
    EXPECT_EQ(packages.getCategoryIconForIdentifier("unknown")->name(), "category_default");
    unsetenv("MAIN_BUNDLE_RESOURCES");
}

TEST_F(KSRPackagesTest, ListQueriesBindTheirArgumentsAndRefuseMissingValues) {
    auto quoted = package("it's.quoted");
    quoted.maintainer = "Jane";
    auto other = package("com.example.other");
    other.maintainer = "Jane";
    store({quoted, other, package("no.maintainer"), package("' OR 1=1 OR identifier = '")});

    auto found = packages.packagesWithIdentifiers({"IT'S.QUOTED", "absent"});
    ASSERT_EQ(found.count(), 1u);
    EXPECT_EQ(found[0].identifier, "it's.quoted");
    EXPECT_EQ(packages.packagesWithIdentifiers({"x' OR 'a'='a"}).count(), 0u);
    EXPECT_EQ(packages.packagesWithIdentifiers({}).count(), 0u);

    EXPECT_EQ(packages.packagesOfMaintainer("Jane").count(), 2u);
    EXPECT_EQ(packages.packagesOfMaintainer(std::nullopt).count(), 0u)
        << "not every package without a maintainer";
    EXPECT_EQ(packages.packagesOfMaintainer("").count(), 0u);
}

TEST_F(KSRPackagesTest, DownloadIsHandedToTheEngine) {
    packages.downloadPackageWithIdentifier("com.example.tweak");
    EXPECT_EQ(engine_->downloads(), std::vector<std::string>{"com.example.tweak"});
}

}  // namespace
}  // namespace corvane
