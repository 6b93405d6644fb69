#include "framework/tasks/KSSourceRefreshTask.h"

#include <exception>
#include <string_view>
#include <vector>

#include "foundation/Date.h"
#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URL.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/device/KSPaths.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRPackageIndexImporter.h"
#include "framework/storage/KSRSources.h"
#include "framework/tasks/KSAPTFileNames.h"
#include "framework/tasks/KSAcceptedStanzasFile.h"
#include "framework/tasks/KSIndexTextStream.h"
#include "framework/tasks/KSInformationCacheTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

namespace {

constexpr std::int64_t kMaxIndexBytes = std::int64_t{128} << 20;

foundation::URLSessionConfiguration configurationWithCap(std::int64_t cap) {
    auto configuration = RepositoryRequest::noCacheConfigureation();
    configuration.maximumResponseBytes = cap;
    return configuration;
}

bool isPNG(const foundation::Bytes& data) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data.size() > sizeof kSignature &&
           std::equal(std::begin(kSignature), std::end(kSignature), data.begin());
}

void postOnMain(const char* name, const std::string& location) {
    foundation::runOnMain(
        [name, location] { foundation::NotificationCenter::defaultCenter().post(name, location); });
}

}  // namespace

KSSourceRefreshTask::KSSourceRefreshTask(std::string location)
    : location_(std::move(location)),
      transfer_(configurationWithCap(kMaxIndexBytes)),
      iconTransfer_(configurationWithCap(kMaxIconBytes)) {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSSourceRefreshTask::pipelineID() const {
    return KSPipelineSourceRefresh;
}

std::string KSSourceRefreshTask::taskDescription() const {
    return foundation::localized("Refreshing") + " " + location_;
}

void KSSourceRefreshTask::cancel() {
    KSTask::cancel();
    transfer_.cancel();
    iconTransfer_.cancel();
}

void KSSourceRefreshTask::main() {
    setTaskStatus(foundation::localized("Running..."));
    setTaskProgress(0);
    try {
        refreshStoredSource();
    } catch (const std::exception& error) {
        KSLog("Refresh of %@ failed in the database: %@", location_, error.what());
        setOutcome(false, KSTaskError::forSource(KSTaskError::kStorage, error.what(), location_));
    }
    setTaskProgress(1);
    postOnMain(KSRSourceUpdatedNotification, location_);
}

void KSSourceRefreshTask::refreshStoredSource() {
    const auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location_);
    if (!source) {
        setOutcome(false, KSTaskError::forSource(KSTaskError::kNetwork,
                                                 "This source is not stored.", location_));
    } else if (auto refreshed = refresh(*source); !refreshed && isCancelled()) {
        // The user stopped it: the repository did nothing wrong.
        setOutcome(false, KSTaskError::forSource(KSTaskError::kCancelled,
                                                 "The refresh was cancelled.", location_));
    } else if (!refreshed) {
        KSLog("Refresh of %@ failed: %@", location_, refreshed.error().localizedDescription());
        KSRSources::recordError(location_, refreshed.error().localizedDescription());
        setOutcome(false, refreshed.error());
    } else {
        refreshIcon();
        setOutcome(true);
    }
}

foundation::Status KSSourceRefreshTask::refresh(const KSRSource& source) {
    const auto release = fetchRelease();
    setTaskProgress(0.1);
    if (auto made =
            foundation::FileManager::createDirectory(KSAPTManager::listsDirectory() + "/partial");
        !made)
        return KSTaskError::forSource(KSTaskError::kStorage, made.error().localizedDescription(),
                                      location_);
    KSPackagesIndexFetcher fetcher(transfer_, partialFile(".download"));
    auto index = fetcher.fetch(
        location_, ifModifiedSince(source),
        [this](double fraction) { setTaskProgress(0.1 + 0.6 * fraction); },
        [this](const std::string& file, CompressionForm form) { return readIndex(file, form); });
    FOUNDATION_RETURN_IF_ERROR(index);
    recordSuccess(*index, release);
    storedNewIndex_ = !index->notModified;
    return foundation::Success{};
}

// The records are stored while the rest of the index is decompressed, and the files are put in
// place once all of it is known to be an index.
foundation::Status KSSourceRefreshTask::readIndex(const std::string& file, CompressionForm form) {
    setTaskProgress(0.7);
    KSIndexTextStream text(
        file, form, KSPackagesIndexFetcher::kMaxDecompressedBytes, partialFile(""),
        [this](const std::string& textFile) { return storeIndexFiles(textFile); });
    text.setProgressHandler([this](double fraction) { setTaskProgress(0.7 + 0.3 * fraction); });
    auto imported = KSRPackageIndexImporter::importIndex(location_, text, foundation::Date::now());
    FOUNDATION_RETURN_IF_ERROR(imported);
    FOUNDATION_RETURN_IF_ERROR(text.finish());
    if (imported->refusedStanzas.empty())
        return foundation::Success{};
    return storeAcceptedStanzas(text, imported->refusedStanzas);
}

// A stanza that the records refused must not reach APT either: one without a Package field
// breaks APT's cache for every source, and a refused name would be offered by APT as if stored.
// The raw copy keeps the text as the repository gave it.
foundation::Status KSSourceRefreshTask::storeAcceptedStanzas(
    const KSRPackageIndexText& text,
    const std::vector<KSRPackageIndexSummary::Place>& refusedStanzas) const {
    const auto accepted = partialFile(".accepted");
    auto status = KSAcceptedStanzasFile::write(text, refusedStanzas, accepted);
    if (status)
        status = foundation::FileManager::replaceItem(listFile(), accepted);
    if (status)
        return status;
    (void)foundation::FileManager::removeItem(accepted);
    return KSTaskError::forSource(KSTaskError::kStorage, status.error().localizedDescription(),
                                  location_);
}

std::string KSSourceRefreshTask::listFile() const {
    return KSAPTManager::listsDirectory() + "/" +
           KSAPTFileNames::listFileName(location_, "Packages");
}

// Where the index goes on its way, beside APT's list so that it can be put in its place at once.
std::string KSSourceRefreshTask::partialFile(const std::string& suffix) const {
    return KSAPTManager::listsDirectory() + "/partial/" +
           KSAPTFileNames::listFileName(location_, "Packages") + suffix;
}

// A repository without a Release file still has packages: its absence only costs the name
// and description.
std::optional<KSReleaseFile> KSSourceRefreshTask::fetchRelease() {
    const auto url = foundation::URL::withString(location_ + "Release");
    if (!url)
        return std::nullopt;
    auto reply = transfer_.fetchData(RepositoryRequest::requestWithURL(*url));
    if (reply.error || reply.response->statusCode != 200) {
        KSLog("No Release file at %@", location_);
        return std::nullopt;
    }
    std::string text(reply.data.begin(), reply.data.end());
    auto release = KSReleaseFile::parse(text);
    if (release)
        releaseText_ = std::move(text);
    return release;
}

// Only while the files of the last refresh are all there: a 304 must not leave APT, or the
// raw copy, without an index.
std::optional<std::string> KSSourceRefreshTask::ifModifiedSince(const KSRSource& source) const {
    const auto rawCopy = KSPaths::sourcesFilesDirectory() + "/" +
                         KSAPTFileNames::listFileName(location_, "Packages");
    if (source.hasErrors || !foundation::FileManager::fileExists(listFile()) ||
        !foundation::FileManager::fileExists(rawCopy))
        return std::nullopt;
    return source.lastModified;
}

foundation::Status KSSourceRefreshTask::storeIndexFiles(const std::string& textFile) const {
    const auto lists = KSAPTManager::listsDirectory();
    const auto sourcesFiles = KSPaths::sourcesFilesDirectory();
    auto status = foundation::FileManager::createDirectory(sourcesFiles);
    if (status)
        status = foundation::FileManager::replaceItem(listFile(), textFile);
    if (status)
        status = storeRawCopy(
            listFile(), sourcesFiles + "/" + KSAPTFileNames::listFileName(location_, "Packages"));
    if (status && releaseText_)
        status = foundation::FileManager::writeAtomically(
            lists + "/" + KSAPTFileNames::listFileName(location_, "Release"), *releaseText_);
    if (!status)
        return KSTaskError::forSource(KSTaskError::kStorage, status.error().localizedDescription(),
                                      location_);
    // The last list of the round is in place while the records are still being stored: APT can
    // build its caches meanwhile.
    if (KSPipelineManager::sharedManager().sourceRefreshCount() <= 1)
        KSInformationCacheTask::prepareAPTCaches();
    return status;
}

// The raw copy holds the same text as APT's list: a second name for that file saves writing tens
// of megabytes again, where the file system has such names. Its absence for a moment only costs
// the next refresh its If-Modified-Since.
foundation::Status KSSourceRefreshTask::storeRawCopy(const std::string& listFile,
                                                     const std::string& rawCopy) {
    // Usually nothing is there; whatever cannot be removed fails both ways of writing below.
    (void)foundation::FileManager::removeItem(rawCopy);
    if (foundation::FileManager::linkItem(listFile, rawCopy))
        return foundation::Success{};
    return foundation::FileManager::copyItem(listFile, rawCopy);
}

void KSSourceRefreshTask::recordSuccess(const KSPackagesIndexFetcher::Index& index,
                                        const std::optional<KSReleaseFile>& release) const {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        auto source = realm.objectForPrimaryKey<KSRSource>(location_);
        if (!source)
            return;
        if (release && release->name)
            source->name = release->name;
        if (release && release->description)
            source->Description = release->description;
        if (release && release->date)
            source->releaseDate = release->date;
        source->lastModified = index.lastModified;
        source->hasErrors = false;
        source->errorDescription.reset();
        source->lastRefreshDate = foundation::Date::now();
        realm.addOrUpdateObject(*source);
    });
}

void KSSourceRefreshTask::refreshIcon() {
    const auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location_);
    if (!source || !source->iconURL)
        return;
    const auto url = foundation::URL::withString(*source->iconURL);
    if (!url || !KSFetchableURL::isFetchable(*url))
        return;
    auto reply = iconTransfer_.fetchData(RepositoryRequest::requestWithURL(*url));
    if (reply.error || reply.response->statusCode != 200 || !isPNG(reply.data))
        return;
    const auto path = source->iconPath();
    if (auto existing = foundation::FileManager::readFile(path);
        existing && *existing == reply.data)
        return;
    if (!foundation::FileManager::createDirectory(KSPaths::iconCacheDirectory()) ||
        !foundation::FileManager::writeAtomically(path, reply.data))
        return;
    postOnMain(KSRSourceInfoIconChangedNotification, location_);
}

}  // namespace corvane
