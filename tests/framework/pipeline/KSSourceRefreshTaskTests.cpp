#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "framework/RunCommand.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/device/KSPaths.h"
#include "framework/pipeline/PipelineFixture.h"
#include "framework/storage/KSDatabase.h"
#include "framework/tasks/KSAPTFileNames.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kAllForms = {"Packages.xz", "Packages.bz2", "Packages.gz",
                                            "Packages.lzma", "Packages"};

// What a refresh must get right of each package, whatever form the index came in.
std::map<std::string, std::string> summary(const std::vector<KSRPackage>& packages) {
    std::map<std::string, std::string> byIdentifier;
    for (const auto& package : packages)
        byIdentifier[package.identifier] =
            package.version.value_or("") + "|" + package.name.value_or("") + "|" +
            package.filename.value_or("") + "|" + package.sha256.value_or("") + "|" +
            package.depends.value_or("") + "|" + std::to_string(package.availableVersions.size());
    return byIdentifier;
}

class KSSourceRefreshTaskTests : public PipelineFixture {
  protected:
    void SetUp() override {
        PipelineFixture::SetUp();
        location_ = repository_.location();
        storeSource(location_);
        fs::create_directories(aside());
        for (const auto& form : kAllForms)
            fs::copy_file(repository_.folder() / form, aside() / form);
    }

    fs::path aside() const { return repository_.folder().parent_path() / "aside"; }

    // Leaves the repository with exactly these index files, from the pristine copies.
    void offerOnly(const std::vector<std::string>& forms) {
        for (const auto& form : kAllForms)
            fs::remove(repository_.folder() / form);
        for (const auto& form : forms)
            fs::copy_file(aside() / form, repository_.folder() / form);
    }

    void offerGarbage() {
        for (const auto& form : kAllForms) {
            std::ofstream page(repository_.folder() / form, std::ios::trunc);
            page << "<html><body>Moved: see our new site</body></html>\n";
        }
    }

    KSTask::Outcome refresh() { return run(std::make_shared<KSSourceRefreshTask>(location_)); }

    std::vector<std::string> requestedPaths() {
        std::vector<std::string> paths;
        for (const auto& request : repository_.server().requests())
            paths.push_back(request.path);
        return paths;
    }

    // Enough packages for the index to be stored in several pieces.
    static std::string bulkIndex() {
        std::string index;
        for (int i = 0; i < 4000; ++i)
            index += "Package: com.example.bulk" + std::to_string(i) +
                     "\nVersion: 1.0\nArchitecture: iphoneos-arm\nDescription: " +
                     std::string(300, 'a' + i % 26) + "\n\n";
        return index;
    }

    void offerOnlyXz(const std::string& data) {
        offerOnly({});
        const auto file = repository_.folder() / "Packages.xz";
        std::ofstream(file, std::ios::binary) << data;
        // Another Last-Modified, or the repository would answer 304 to the last refresh's.
        fs::last_write_time(file, fs::last_write_time(file) + std::chrono::hours(1));
    }

    std::string listFile(const std::string& index) const {
        return KSAPTManager::listsDirectory() + "/" +
               KSAPTFileNames::listFileName(location_, index);
    }

    // What a refresh downloads and decompresses goes there on its way.
    static std::vector<std::string> partialFiles() {
        return foundation::FileManager::contentsOfDirectory(KSAPTManager::listsDirectory() +
                                                            "/partial")
            .valueOr({});
    }

    std::string location_;
};

TEST_F(KSSourceRefreshTaskTests, EveryCompressedFormRefreshesToTheSameRecords) {
    const auto plainText = foundation::FileManager::readText(aside() / "Packages");
    ASSERT_TRUE(plainText);
    std::optional<std::map<std::string, std::string>> expected;
    for (std::size_t formIndex = 0; formIndex < kAllForms.size(); ++formIndex) {
        const auto& form = kAllForms[formIndex];
        SCOPED_TRACE(form);
        offerOnly({form});
        // A fresh start for each form: no records and no Last-Modified to send back.
        auto database = realm();
        database.write([&] { database.deleteAllObjects<KSRPackage>(); });
        storeSource(location_);
        const auto requestsBefore = repository_.server().requests().size();

        ASSERT_TRUE(refresh().success);

        const auto packages = packagesOf(location_);
        EXPECT_EQ(packages.size(), 9u);
        if (!expected)
            expected = summary(packages);
        EXPECT_EQ(summary(packages), *expected);
        // The forms are tried in their fixed order, up to the one offered.
        auto paths = requestedPaths();
        paths.erase(paths.begin(), paths.begin() + static_cast<long>(requestsBefore));
        std::vector<std::string> indexRequests;
        std::ranges::copy_if(paths, std::back_inserter(indexRequests),
                             [](const auto& path) { return path.starts_with("/Packages"); });
        std::vector<std::string> tried;
        for (std::size_t i = 0; i <= formIndex; ++i)
            tried.push_back("/" + kAllForms[i]);
        EXPECT_EQ(indexRequests, tried);
        // APT's list and the raw copy hold the index as plain text.
        EXPECT_EQ(foundation::FileManager::readText(listFile("Packages")).valueOr(""), *plainText);
        EXPECT_EQ(
            foundation::FileManager::readText(KSPaths::sourcesFilesDirectory() + "/" +
                                              KSAPTFileNames::listFileName(location_, "Packages"))
                .valueOr(""),
            *plainText);
        EXPECT_EQ(partialFiles(), std::vector<std::string>{});
    }
    const auto versioned = stored("com.sample.versioned");
    ASSERT_TRUE(versioned);
    EXPECT_EQ(versioned->version, "2.0");
    EXPECT_EQ(versioned->availableVersions.size(), 2u);
}

TEST_F(KSSourceRefreshTaskTests, ReleaseNamesTheSourceAndTheIconIsCached) {
    ASSERT_TRUE(refresh().success);
    const auto source = storedSource(location_);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->name, "Sample Repository");
    EXPECT_EQ(source->Description, "A few small packages to try the package manager with");
    EXPECT_TRUE(source->releaseDate);
    EXPECT_TRUE(source->lastRefreshDate);
    EXPECT_FALSE(source->hasErrors);
    EXPECT_EQ(source->packagesCount, 9);
    EXPECT_EQ(
        foundation::FileManager::readFile(source->iconPath()).valueOr({}),
        foundation::FileManager::readFile(repository_.folder() / "CydiaIcon.png").valueOr({1}));
    EXPECT_EQ(foundation::FileManager::readFile(listFile("Release")).valueOr({}),
              foundation::FileManager::readFile(repository_.folder() / "Release").valueOr({1}));
}

TEST_F(KSSourceRefreshTaskTests, AptSeesTheFetchedIndexWithoutAnUpdateOfItsOwn) {
    ASSERT_TRUE(refresh().success);
    ASSERT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 60));
    ASSERT_TRUE(KSAPTManager::createAPTSandboxIfNeeded());
    ASSERT_TRUE(KSAPTManager::writeSourceList());
    setenv("APT_CONFIG", KSAPTManager::configurationFile().c_str(), 1);
    const auto policy = runCommand({"apt-cache", "policy", "com.sample.tweak"});
    const auto uris = runCommand({"apt-get", "install", "--print-uris", "-qq", "com.sample.tweak"});
    unsetenv("APT_CONFIG");
    EXPECT_NE(policy.output.find("Candidate: 1.2"), std::string::npos)
        << policy.output << policy.errors;
    EXPECT_NE(uris.output.find(location_ + "debs/tweak.deb"), std::string::npos)
        << uris.output << uris.errors;
}

TEST_F(KSSourceRefreshTaskTests, AFailingRepositoryKeepsItsRecordsAndReportsTheError) {
    ASSERT_TRUE(refresh().success);
    const auto before = summary(packagesOf(location_));
    ASSERT_EQ(before.size(), 9u);

    for (const bool garbage : {false, true}) {
        SCOPED_TRACE(garbage ? "garbage" : "404");
        if (garbage)
            offerGarbage();
        else
            offerOnly({});
        const auto outcome = refresh();
        EXPECT_FALSE(outcome.success);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->domain, KSTaskError::kDomain);
        EXPECT_EQ(outcome.error->userInfo["source"], foundation::Value(location_));
        EXPECT_EQ(summary(packagesOf(location_)), before);
        const auto source = storedSource(location_);
        ASSERT_TRUE(source);
        EXPECT_TRUE(source->hasErrors);
        EXPECT_TRUE(foundation::isPresentText(source->errorDescription));
        EXPECT_EQ(source->name, "Sample Repository");
        EXPECT_EQ(partialFiles(), std::vector<std::string>{});
    }

    offerOnly(kAllForms);
    ASSERT_TRUE(refresh().success);
    const auto source = storedSource(location_);
    ASSERT_TRUE(source);
    EXPECT_FALSE(source->hasErrors);
    EXPECT_FALSE(source->errorDescription);
}

TEST_F(KSSourceRefreshTaskTests, AnUnchangedIndexAnswers304AndKeepsTheRecords) {
    ASSERT_TRUE(refresh().success);
    const auto source = storedSource(location_);
    ASSERT_TRUE(source);
    const auto lastModified = source->lastModified;
    ASSERT_TRUE(lastModified);
    // A mark that a second import would overwrite.
    auto database = realm();
    database.write([&] {
        auto tweak = database.objectForPrimaryKey<KSRPackage>("com.sample.tweak").value();
        tweak.name = "Not re-imported";
        database.addOrUpdateObject(tweak);
    });
    const auto requestsBefore = repository_.server().requests().size();

    auto unchanged = std::make_shared<KSSourceRefreshTask>(location_);
    ASSERT_TRUE(run(unchanged).success);
    EXPECT_FALSE(unchanged->storedNewIndex()) << "nothing for the information cache to rebuild";

    const auto kept = stored("com.sample.tweak");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "Not re-imported");
    EXPECT_EQ(packagesOf(location_).size(), 9u);
    const auto requests = repository_.server().requests();
    const auto& xz = requests.at(requestsBefore + 1);
    EXPECT_EQ(xz.path, "/Packages.xz");
    EXPECT_EQ(xz.header("If-Modified-Since"), lastModified);
    EXPECT_EQ(requests.size(), requestsBefore + 3);  // Release, Packages.xz, CydiaIcon.png

    // Without APT's copy of the index a 304 would leave APT with nothing: ask for it whole.
    fs::remove(listFile("Packages"));
    auto whole = std::make_shared<KSSourceRefreshTask>(location_);
    ASSERT_TRUE(run(whole).success);
    EXPECT_TRUE(whole->storedNewIndex());
    const auto reimported = stored("com.sample.tweak");
    ASSERT_TRUE(reimported);
    EXPECT_EQ(reimported->name, "Sample Tweak");
    EXPECT_TRUE(fs::exists(listFile("Packages")));
}

// Each form fails for a reason of its own; the person reading the source's error needs them all,
// not only the last one's.
TEST_F(KSSourceRefreshTaskTests, AFailedRefreshNamesEveryFormTriedWithItsReason) {
    offerOnly({});
    std::ofstream(repository_.folder() / "Packages.gz", std::ios::binary)
        << runCommand({"gzip", "-c"}, std::string(std::size_t{8} << 20, '\0')).output;
    std::ofstream(repository_.folder() / "Packages") << "<html><body>Moved</body></html>\n";

    const auto outcome = refresh();
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, KSTaskError::kMalformedIndex);
    const auto source = storedSource(location_);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->errorDescription,
              "The repository offers no readable Packages index (Packages.xz: HTTP status 404; "
              "Packages.bz2: HTTP status 404; Packages.gz: binary data, not an index; "
              "Packages.lzma: HTTP status 404; Packages: no package in the index).");
}

// Records are stored while the index is decompressed: data damaged near its end must still leave
// the records, and APT's list, as they were.
TEST_F(KSSourceRefreshTaskTests, AnIndexDamagedPartWayStoresNothing) {
    ASSERT_TRUE(refresh().success);
    const auto before = summary(packagesOf(location_));
    const auto listBefore = foundation::FileManager::readText(listFile("Packages"));
    ASSERT_TRUE(listBefore);
    auto compressed = runCommand({"xz", "-c"}, bulkIndex()).output;
    compressed.resize(compressed.size() - 64);
    offerOnlyXz(compressed);

    const auto outcome = refresh();
    EXPECT_FALSE(outcome.success);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, KSTaskError::kMalformedIndex);
    EXPECT_EQ(summary(packagesOf(location_)), before);
    EXPECT_FALSE(stored("com.example.bulk0"));
    EXPECT_EQ(foundation::FileManager::readText(listFile("Packages")).valueOr(""), *listBefore);
    EXPECT_EQ(partialFiles(), std::vector<std::string>{});
    const auto source = storedSource(location_);
    ASSERT_TRUE(source);
    EXPECT_TRUE(source->hasErrors);
}

// Storing a large index takes longer than fetching it: the progress must move meanwhile.
TEST_F(KSSourceRefreshTaskTests, ALargeIndexShowsProgressWhileItIsStored) {
    ASSERT_TRUE(refresh().success);
    offerOnlyXz(runCommand({"xz", "-c"}, bulkIndex()).output);
    auto task = std::make_shared<KSSourceRefreshTask>(location_);
    std::vector<double> progress;
    auto token = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskProgressNotification, [&](const foundation::Notification& notification) {
            if (notification.sender == task)
                progress.push_back(notification.userInfo[KSPipelineUserInfoProgress].doubleValue());
        });

    ASSERT_TRUE(run(task).success);
    EXPECT_EQ(packagesOf(location_).size(), 4000u);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::ranges::is_sorted(progress)) << ::testing::PrintToString(progress);
    EXPECT_EQ(progress.back(), 1.0);
    EXPECT_TRUE(std::ranges::any_of(progress, [](double value) {
        return value > 0.7 && value < 1;
    })) << "only the download moved the progress";
}

// Every launch after it would read the import's pages from the log again before its first screen.
TEST_F(KSSourceRefreshTaskTests, ARefreshLeavesTheDatabasesLogEmpty) {
    offerOnlyXz(runCommand({"xz", "-c"}, bulkIndex()).output);
    const auto log = KSDatabase::path() + "-wal";

    KSPipelineManager::sharedManager().queueTask(std::make_shared<KSSourceRefreshTask>(location_));
    ASSERT_TRUE(testing_support::pumpUntil(pipelineIsEmpty, 120));

    EXPECT_EQ(packagesOf(location_).size(), 4000u);
    ASSERT_TRUE(fs::exists(log));
    EXPECT_EQ(fs::file_size(log), 0u);
}

}  // namespace
}  // namespace corvane::testing
