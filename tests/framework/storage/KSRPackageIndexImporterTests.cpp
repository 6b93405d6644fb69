#include "framework/storage/KSRPackageIndexImporter.h"

#include <gtest/gtest.h>

#include <functional>

#include "foundation/Date.h"
#include "foundation/DateFormatter.h"
#include "foundation/Dispatch.h"
#include "framework/StorageFixture.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/storage/KSRPackageIndexText.h"
#include "framework/storage/KSRQueueOperation.h"
#include "framework/storage/KSRSource.h"
#include "framework/storage/KSRSources.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using testing::StorageFixture;

const std::string kRepo = "https://repo.example.org/";
const std::string kMirror = "https://mirror.example.net/";
const double kFirstDay = foundation::Date::fromUTC(2024, 3, 1, 12);
const double kSecondDay = foundation::Date::fromUTC(2024, 3, 2, 12);

std::string stanza(const std::string& identifier, const std::string& version,
                   const std::string& extra = "") {
    return "Package: " + identifier + "\nVersion: " + version +
           "\nArchitecture: iphoneos-arm\nFilename: debs/" + identifier + "_" + version + ".deb\n" +
           extra + "\n";
}

class KSRPackageIndexImporterTest : public StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        KSRSources().addMissingSources({kRepo, kMirror});
    }

    static KSRPackageIndexImporter::Summary import(const std::string& location,
                                                   const std::string& index, double now) {
        return KSRPackageIndexImporter::importPackages(
            location, KSParsingUtility::arrayFromPackagesFromString(index), now);
    }

    static std::string day(double date) {
        return foundation::DateFormatter::withFormat("yyyy-MM-dd HH:mm").stringFromDate(date);
    }
};

TEST_F(KSRPackageIndexImporterTest, StoresControlFieldsOfTheNewestVersion) {
    auto summary = import(kRepo,
                          stanza("com.example.tweak", "1.0") +
                              stanza("com.example.tweak", "1.2",
                                     "Name: Tweak\nSection: Addons (Widgets)\n"
                                     "Author: Jane <jane@example.org>\n"
                                     "Depends: firmware (>= 12.0), mobilesubstrate, firmware (<< "
                                     "15.0)\nConflicts: com.example.old, other\n"
                                     "Icon: https://repo.example.org/tweak.png\n"
                                     "Depiction: https://repo.example.org/tweak.html\n"
                                     "Description: Does things\n more things\n") +
                              stanza("com.example.plain", "2:0.1-3"),
                          kFirstDay);
    EXPECT_EQ(summary.stored, 2u);
    auto tweak = stored("com.example.tweak");
    ASSERT_TRUE(tweak);
    EXPECT_EQ(tweak->version, "1.2");
    EXPECT_EQ(tweak->name, "Tweak");
    EXPECT_EQ(tweak->category, "Addons");
    EXPECT_EQ(tweak->subcategory, "Widgets");
    EXPECT_EQ(tweak->author, "Jane");
    EXPECT_EQ(tweak->contact, "jane@example.org");
    EXPECT_EQ(
        tweak->dependencies,
        (std::vector<std::string>{"firmware (>= 12.0)", "mobilesubstrate", "firmware (<< 15.0)"}));
    EXPECT_EQ(tweak->conflicts, (std::vector<std::string>{"com.example.old", "other"}));
    EXPECT_EQ(tweak->minosversion, "12.0");
    EXPECT_EQ(tweak->maxosversion, "15.0");
    EXPECT_EQ(tweak->website, "https://repo.example.org/tweak.html");
    EXPECT_EQ(tweak->iconURL, "https://repo.example.org/tweak.png");
    EXPECT_EQ(tweak->Description, "Does things\nmore things");
    EXPECT_EQ(tweak->filename, "debs/com.example.tweak_1.2.deb");
    EXPECT_EQ(tweak->sourceLocation, kRepo);
    EXPECT_EQ(tweak->initialDate, kFirstDay);
    EXPECT_FALSE(tweak->updatedDateStr) << "a new source's packages are not news";
    ASSERT_EQ(tweak->availableVersions.size(), 2u);
    EXPECT_EQ(tweak->availableVersions[0].version, "1.2");
    EXPECT_EQ(tweak->availableVersions[1].version, "1.0");
    const auto plain = stored("com.example.plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, "com.example.plain") << "no Name: the Package";
    const auto source = realm().objectForPrimaryKey<KSRSource>(kRepo);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->packagesCount, 2);
}

TEST_F(KSRPackageIndexImporterTest, RefusesInvalidPackageNamesAndVersions) {
    auto summary =
        import(kRepo,
               stanza("good.package", "1.0") + stanza("bad;rm -rf ~", "1.0") +
                   stanza("-o-option", "1.0") + stanza("a", "1.0") + stanza("with/slash", "1.0") +
                   stanza("good.version", "1.0;reboot") + stanza("no.digit", "abc"),
               kFirstDay);
    EXPECT_EQ(summary.stored, 1u);
    EXPECT_EQ(summary.refused, 6u);
    EXPECT_EQ(realm().allObjects<KSRPackage>().count(), 1u);
    EXPECT_TRUE(stored("good.package"));
}

// A refresh hands over the index text itself.
TEST_F(KSRPackageIndexImporterTest, ImportsTheIndexTextAsItsDictionariesWouldBe) {
    const std::string index = "Origin: not a package\n\n" + stanza("first.package", "1.0") +
                              "Package: spread.version\r\nVersion:\r\n 2.0\r\n"
                              "Filename: debs/spread.deb  \r\n\r\n" +
                              "Package: bad name\nVersion: 1.0\n\nPackage: no.version\n";
    auto summary = KSRPackageIndexImporter::importIndex(kRepo, index, kFirstDay);
    EXPECT_EQ(summary.stored, 2u);
    // Each stanza passed over is named, so that APT is never given it either.
    EXPECT_EQ(summary.refused, 3u);
    std::vector<std::string> refused;
    for (const auto& place : summary.refusedStanzas)
        refused.push_back(index.substr(place.offset, place.length));
    EXPECT_EQ(refused,
              (std::vector<std::string>{"Origin: not a package", "Package: bad name\nVersion: 1.0",
                                        "Package: no.version"}));
    EXPECT_EQ(realm().allObjects<KSRPackage>().count(), 2u);
    const auto spread = stored("spread.version");
    ASSERT_TRUE(spread);
    EXPECT_EQ(spread->version, "2.0");
    EXPECT_EQ(spread->filename, "debs/spread.deb");
    ASSERT_EQ(spread->availableVersions.size(), 1u);
    EXPECT_EQ(spread->availableVersions.front().version, "2.0");
    EXPECT_EQ(spread->availableVersions.front().filename, "debs/spread.deb");
    const auto first = stored("first.package");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->filename, "debs/first.package_1.0.deb");
}

// An index text as a download hands it over: these pieces, then the end or a failure; read again,
// what was handed over, or what the test makes of it.
class PiecesText : public KSRPackageIndexText {
  public:
    PiecesText(std::vector<std::string> pieces, std::optional<foundation::Error> failure)
        : pieces_(std::move(pieces)), failure_(std::move(failure)) {}

    foundation::Result<std::optional<std::string>> nextPiece() override {
        if (given_ < pieces_.size()) {
            handedOver_ += pieces_[given_];
            return std::optional(pieces_[given_++]);
        }
        if (failure_)
            return *failure_;
        return std::optional<std::string>();
    }
    foundation::Result<std::string> textAt(std::uint64_t offset,
                                           std::size_t length) const override {
        ++readsAgain;
        if (readAgain)
            return readAgain(offset, length);
        return handedOver_.substr(offset, length);
    }

    std::function<foundation::Result<std::string>(std::uint64_t, std::size_t)> readAgain;
    mutable int readsAgain = 0;

  private:
    std::vector<std::string> pieces_;
    std::optional<foundation::Error> failure_;
    std::size_t given_ = 0;
    std::string handedOver_;
};

// A refresh stores the pieces of the index as they are decompressed; the data may still turn out
// to be damaged after the first pieces were read.
TEST_F(KSRPackageIndexImporterTest, PiecesAreStoredAsOneIndexOrNotAtAll) {
    import(kRepo, stanza("kept", "1.0") + stanza("dropped", "1.0"), kFirstDay);
    const std::vector<std::string> pieces = {stanza("kept", "2.0") + stanza("added", "1.0"),
                                             stanza("kept", "1.5") + stanza("later", "1.0")};

    const auto damaged = foundation::Error::make("test", 1, "damaged");
    PiecesText damagedText(pieces, damaged);
    const auto failed = KSRPackageIndexImporter::importIndex(kRepo, damagedText, kSecondDay);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().localizedDescription(), "damaged");
    const auto unchanged = stored("kept");
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(unchanged->version, "1.0");
    EXPECT_TRUE(stored("dropped"));
    EXPECT_FALSE(stored("added"));

    PiecesText text(pieces, std::nullopt);
    const auto imported = KSRPackageIndexImporter::importIndex(kRepo, text, kSecondDay);
    ASSERT_TRUE(imported.ok());
    EXPECT_EQ(imported->stored, 3u);
    EXPECT_EQ(imported->removed, 1u);
    const auto kept = stored("kept");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->version, "2.0");
    EXPECT_EQ(kept->availableVersions.size(), 2u);
    EXPECT_TRUE(stored("added"));
    EXPECT_TRUE(stored("later"));
    EXPECT_FALSE(stored("dropped"));
}

TEST_F(KSRPackageIndexImporterTest, ARefreshKeepsUserFieldsAndDropsVanishedPackages) {
    import(kRepo,
           stanza("kept", "1.0") + stanza("vanishing", "1.0") + stanza("installed.gone", "1.0") +
               stanza("upgraded", "1.0"),
           kFirstDay);
    auto database = realm();
    database.write([&] {
        auto kept = database.objectForPrimaryKey<KSRPackage>("kept").value();
        kept.isInWishlist = true;
        kept.myRating = 4;
        kept.isInTheQueue = true;
        kept.queueOperation = KSRQueueOperationInstall;
        kept.queuedVersion = "1.0";
        kept.isPaidThroughSileo = true;
        kept.tweakCompatibleStatus = 0;
        kept.screenshots = {"https://repo.example.org/shot.png"};
        database.addOrUpdateObject(kept);
        for (const char* id : {"installed.gone", "upgraded"}) {
            auto installed = database.objectForPrimaryKey<KSRPackage>(id).value();
            installed.isInstalled = true;
            installed.installedVersion = "1.0";
            installed.installedFiles = {"/Library/x.dylib"};
            database.addOrUpdateObject(installed);
        }
    });

    auto summary = import(kRepo,
                          stanza("kept", "1.0", "Name: Renamed\n") + stanza("upgraded", "1.1") +
                              stanza("arrived", "0.1"),
                          kSecondDay);
    EXPECT_EQ(summary.removed, 1u);
    EXPECT_FALSE(stored("vanishing"));
    EXPECT_EQ(database.objectsWhere<KSRPackageVersion>("identifier = %@", "vanishing").count(), 0u);

    auto kept = stored("kept");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "Renamed");
    EXPECT_TRUE(kept->isInWishlist);
    EXPECT_EQ(kept->myRating, 4);
    EXPECT_TRUE(kept->isInTheQueue);
    EXPECT_EQ(kept->queueOperation, 1u);
    EXPECT_EQ(kept->queuedVersion, "1.0");
    EXPECT_TRUE(kept->isPaidThroughSileo);
    EXPECT_EQ(kept->tweakCompatibleStatus, 0);
    EXPECT_EQ(kept->screenshots.size(), 1u);
    EXPECT_EQ(kept->initialDate, kFirstDay);
    EXPECT_FALSE(kept->hasNewVersion);

    auto gone = stored("installed.gone");
    ASSERT_TRUE(gone);
    EXPECT_FALSE(gone->sourceLocation) << "installed: kept without a source";
    EXPECT_TRUE(gone->isInstalled);
    EXPECT_FALSE(gone->isUpdated);
    EXPECT_TRUE(gone->availableVersions.empty());

    auto upgraded = stored("upgraded");
    ASSERT_TRUE(upgraded);
    EXPECT_TRUE(upgraded->hasNewVersion);
    EXPECT_TRUE(upgraded->isUpdated);
    EXPECT_EQ(upgraded->updatedDateStr, day(kSecondDay));
    EXPECT_EQ(upgraded->installedFiles, std::vector<std::string>{"/Library/x.dylib"});

    auto arrived = stored("arrived");
    ASSERT_TRUE(arrived);
    EXPECT_EQ(arrived->updatedDateStr, day(kSecondDay)) << "new on a known source";
    EXPECT_FALSE(arrived->hasNewVersion);
    EXPECT_EQ(database.objectsWhere<KSRPackageVersion>("sourceLocation = %@", kRepo).count(), 3u)
        << "kept 1.0, upgraded 1.1 and arrived 0.1";
}

TEST_F(KSRPackageIndexImporterTest, VersionsOfSeveralSourcesMeetInOneRecord) {
    import(kRepo, stanza("shared", "1.0", "Name: From repo\n"), kFirstDay);
    import(kMirror, stanza("shared", "2.0", "Name: From mirror\n"), kFirstDay);
    auto shared = stored("shared");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->version, "2.0");
    EXPECT_EQ(shared->sourceLocation, kMirror);
    EXPECT_EQ(shared->name, "From mirror");
    ASSERT_EQ(shared->availableVersions.size(), 2u);
    EXPECT_EQ(shared->availableVersions[0].sourceLocation, kMirror);
    EXPECT_EQ(shared->availableVersions[1].sourceLocation, kRepo);

    import(kRepo, stanza("shared", "1.0", "Name: From repo again\n"), kSecondDay);
    shared = stored("shared");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->name, "From mirror") << "the lower version does not take over";

    import(kMirror, "", kSecondDay);
    shared = stored("shared");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->version, "1.0") << "falls back to the other source";
    EXPECT_EQ(shared->sourceLocation, kRepo);
    EXPECT_EQ(shared->filename, "debs/shared_1.0.deb");
    EXPECT_EQ(shared->availableVersions.size(), 1u);
}

TEST_F(KSRPackageIndexImporterTest, ALargeIndexKeepsEveryPackageWithAllItsVersions) {
    // More packages than are built ahead of the writes at once, each version of a package in
    // another part of the index.
    constexpr int kPackages = 1500;
    std::string index;
    for (const char* version : {"1.0", "2.0"})
        for (int i = kPackages - 1; i >= 0; --i)
            index += stanza("com.example.p" + std::to_string(i), version,
                            "Name: P" + std::to_string(i) + "-" + version + "\n");
    // The second time, each package's first stanza alone would give back less than is stored:
    // the record must still end up with both versions.
    for (const double day : {kFirstDay, kSecondDay}) {
        auto summary = import(kRepo, index, day);
        EXPECT_EQ(summary.stored, static_cast<std::size_t>(kPackages));
        EXPECT_EQ(realm().allObjects<KSRPackage>().count(), static_cast<std::size_t>(kPackages));
        EXPECT_EQ(realm().allObjects<KSRPackageVersion>().count(), 2u * kPackages);
        const auto source = realm().objectForPrimaryKey<KSRSource>(kRepo);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->packagesCount, kPackages);
        for (int i : {0, 511, 512, 1024, kPackages - 1}) {
            auto package = stored("com.example.p" + std::to_string(i));
            ASSERT_TRUE(package);
            EXPECT_EQ(package->version, "2.0");
            EXPECT_EQ(package->name, "P" + std::to_string(i) + "-2.0");
            EXPECT_FALSE(package->hasNewVersion);
            ASSERT_EQ(package->availableVersions.size(), 2u);
            EXPECT_EQ(package->availableVersions[1].filename,
                      "debs/com.example.p" + std::to_string(i) + "_1.0.deb");
        }
    }
}

// The stored records are read a batch at a time, those of vanished packages too.
TEST_F(KSRPackageIndexImporterTest, PackagesVanishingByTheThousandAreAllDropped) {
    constexpr int kPackages = 1300;
    std::string index;
    for (int i = 0; i < kPackages; ++i)
        index += stanza("com.example.p" + std::to_string(i), "1.0");
    import(kRepo, index, kFirstDay);
    import(kMirror, stanza("com.example.p1000", "0.9"), kFirstDay);

    std::string remaining;
    for (int i = 0; i < 100; ++i)
        remaining += stanza("com.example.p" + std::to_string(i), "1.1");
    const auto summary = import(kRepo, remaining, kSecondDay);
    EXPECT_EQ(summary.stored, 100u);
    EXPECT_EQ(summary.removed, static_cast<std::size_t>(kPackages - 101));
    EXPECT_EQ(realm().allObjects<KSRPackage>().count(), 101u);
    EXPECT_EQ(realm().objectsWhere<KSRPackageVersion>("sourceLocation = %@", kRepo).count(), 100u);
    const auto kept = stored("com.example.p50");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->version, "1.1");
    const auto mirrored = stored("com.example.p1000");
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(mirrored->sourceLocation, kMirror);
    EXPECT_EQ(mirrored->version, "0.9");
    EXPECT_EQ(mirrored->availableVersions.size(), 1u);
}

// The import keeps no stanza of a batch it has prepared: a package met again much later has its
// earlier stanzas read again, the newest of them giving the record its fields.
TEST_F(KSRPackageIndexImporterTest, StanzasOfEarlierBatchesAreReadAgain) {
    constexpr int kPackages = 1200;
    auto index = [&](const char* version) {
        std::string text;
        for (int i = 0; i < kPackages; ++i)
            text += stanza("com.example.p" + std::to_string(i), version,
                           "Name: P" + std::to_string(i) + "-" + version + "\n");
        return text;
    };
    PiecesText text({index("2.0"), index("1.0")}, std::nullopt);
    const auto imported = KSRPackageIndexImporter::importIndex(kRepo, text, kFirstDay);
    ASSERT_TRUE(imported.ok()) << imported.error().localizedDescription();
    EXPECT_EQ(imported->stored, static_cast<std::size_t>(kPackages));
    EXPECT_EQ(text.readsAgain, kPackages);
    for (int i : {0, 700, kPackages - 1}) {
        auto package = stored("com.example.p" + std::to_string(i));
        ASSERT_TRUE(package);
        EXPECT_EQ(package->version, "2.0");
        EXPECT_EQ(package->name, "P" + std::to_string(i) + "-2.0");
        EXPECT_EQ(package->filename, "debs/com.example.p" + std::to_string(i) + "_2.0.deb");
        ASSERT_EQ(package->availableVersions.size(), 2u);
    }

    // A text that cannot be read again, or reads back as something else, is stored not at all.
    const auto unreadable = foundation::Error::make("test", 2, "the disk failed");
    const std::vector<std::function<foundation::Result<std::string>(std::uint64_t, std::size_t)>>
        failures = {
            [&](std::uint64_t, std::size_t) { return foundation::Result<std::string>(unreadable); },
            [](std::uint64_t, std::size_t length) {
                return foundation::Result<std::string>(std::string(length, '\n'));
            }};
    for (const auto& failure : failures) {
        PiecesText changing({index("3.0"), index("2.5")}, std::nullopt);
        changing.readAgain = failure;
        const auto failed = KSRPackageIndexImporter::importIndex(kRepo, changing, kSecondDay);
        ASSERT_FALSE(failed.ok());
        auto package = stored("com.example.p0");
        ASSERT_TRUE(package);
        EXPECT_EQ(package->version, "2.0");
    }
}

TEST_F(KSRPackageIndexImporterTest, AnUnchangedIndexRewritesNoRecord) {
    const auto index = stanza("kept", "1.0") + stanza("other", "2.0", "Name: Other\n");
    import(kRepo, index, kFirstDay);
    auto packages = realm().allObjects<KSRPackage>();
    std::vector<std::size_t> notified;
    auto token = packages.addNotificationBlock(
        [&](const store::Results<KSRPackage>& results) { notified.push_back(results.count()); });

    auto summary = import(kRepo, index, kSecondDay);
    EXPECT_EQ(summary.stored, 2u);
    // Deliveries run in the order they were queued: once this one ran, the import's would have.
    bool drained = false;
    foundation::runAsyncOnMain([&] { drained = true; });
    ASSERT_TRUE(testing_support::pumpUntil([&] { return drained; }));
    EXPECT_TRUE(notified.empty()) << "the import changed nothing";
    store({package("marker")});
    ASSERT_TRUE(testing_support::pumpUntil([&] { return !notified.empty(); }));
    EXPECT_EQ(notified, std::vector<std::size_t>{3});
    const auto otherRecord = stored("other");
    ASSERT_TRUE(otherRecord);
    EXPECT_EQ(otherRecord->initialDate, kFirstDay);
    EXPECT_FALSE(otherRecord->updatedDateStr);
}

}  // namespace
}  // namespace corvane
