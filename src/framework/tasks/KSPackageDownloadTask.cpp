#include "framework/tasks/KSPackageDownloadTask.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <string_view>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "foundation/Strings.h"
#include "foundation/URL.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSAPTQueueEntry.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/storage/KSDatabase.h"
#include "framework/tasks/KSAPTFileNames.h"
#include "framework/tasks/KSPackageAPTOperationTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

namespace {

constexpr const char* kDefaultArchitecture = "iphoneos-arm";

// Whether a download of the batch under way has failed; the last one of the batch reads and
// clears it.
foundation::ProcessValue<bool> batchFailed;

bool isValidArchitecture(const std::string& architecture) {
    return !architecture.empty() && architecture.size() <= 64 &&
           std::ranges::all_of(architecture, [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
           });
}

std::optional<std::int64_t> parseSize(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    std::int64_t size = 0;
    const auto* end = text->data() + text->size();
    auto [stop, error] = std::from_chars(text->data(), end, size);
    if (error != std::errc() || stop != end || size < 0)
        return std::nullopt;
    return size;
}

std::optional<std::string> presentHash(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    return foundation::lowercase(*text);
}

// The version apt-get will be told to install, which it finds in the archives folder or not at
// all: the one the confirmed queue names, as the records' queue marks are cleared the moment the
// queue is launched, before any download runs; else the record's own.
std::string versionToFetch(const KSRPackage& package) {
    if (const auto entries = KSAPTQueueEntry::parse(KSAPTManager::queue().value_or(""))) {
        for (const auto& entry : *entries)
            if (entry.identifier == package.identifier && entry.version && !entry.removal)
                return *entry.version;
    }
    return package.queuedVersion.value_or(package.version.value_or(""));
}

}  // namespace

KSPackageDownloadTask::KSPackageDownloadTask(std::string identifier)
    : identifier_(std::move(identifier)) {
    if (auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier_))
        name_ = package->name;
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSPackageDownloadTask::pipelineID() const {
    return KSPipelinePackageDownload;
}

std::string KSPackageDownloadTask::taskDescription() const {
    return foundation::localized("Downloading") + " " + name_.value_or(identifier_);
}

void KSPackageDownloadTask::cancel() {
    KSTask::cancel();
    std::lock_guard lock(transferMutex_);
    cancelRequested_ = true;
    if (transfer_)
        transfer_->cancel();
}

std::shared_ptr<KSTask> KSPackageDownloadTask::followUpTask(
    const std::vector<std::shared_ptr<KSTask>>& remainingTasks) const {
    if (!outcome().success)
        batchFailed.set(true);
    const bool lastOfBatch = std::ranges::none_of(remainingTasks, [](const auto& task) {
        return dynamic_cast<const KSPackageDownloadTask*>(task.get()) != nullptr;
    });
    if (!lastOfBatch)
        return nullptr;
    const bool failed = batchFailed.exchange(false);
    const auto queue = KSAPTManager::queue();
    if (failed || !queue) {
        KSLog("The downloads ended %@; the queue is not run",
              failed ? "with a failure" : "without a queue");
        return nullptr;
    }
    return std::make_shared<KSPackageAPTOperationTask>(*queue);
}

// Percent escapes are decoded by the server, so "%2e%2e" climbs as ".." does.
std::string KSPackageDownloadTask::asServersReadIt(const std::string& filename) {
    const auto lowered = foundation::lowercase(filename);
    std::string decoded;
    decoded.reserve(lowered.size());
    for (std::size_t at = 0; at < lowered.size(); ++at) {
        const auto escape = std::string_view(lowered).substr(at, 3);
        if (escape == "%2e" || escape == "%2f") {
            decoded += escape == "%2e" ? '.' : '/';
            at += 2;
        } else {
            decoded += lowered[at];
        }
    }
    return decoded;
}

foundation::Status KSPackageDownloadTask::checkFilename(const std::string& filename) {
    if (filename.empty() || filename.front() == '/')
        return KSTaskError::make(KSTaskError::kUnsafeFilename,
                                 "The archive's path is empty or absolute: " + filename);
    const auto decoded = asServersReadIt(filename);
    if (decoded.find("..") != std::string::npos || decoded.front() == '/' ||
        std::ranges::any_of(filename, [](char c) {
            return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '\\';
        }))
        return KSTaskError::make(KSTaskError::kUnsafeFilename,
                                 "The archive's path leaves the repository: " + filename);
    return foundation::Success{};
}

foundation::Result<std::string> KSPackageDownloadTask::archivePathForPackage(
    const KSRPackage& package, const std::string& version) {
    const auto architecture = package.architecture.value_or(kDefaultArchitecture);
    if (!isValidPackageName(package.identifier) || !isValidDebianVersion(version) ||
        !isValidArchitecture(architecture))
        return KSTaskError::forPackage(KSTaskError::kUnsafeFilename,
                                       "The package's name, version or architecture is not valid.",
                                       package.identifier);
    return KSAPTManager::archivesDirectory() + "/" +
           KSAPTFileNames::archiveFileName(package.identifier, version, architecture);
}

void KSPackageDownloadTask::main() {
    setTaskStatus(foundation::localized("Downloading..."));
    setTaskProgress(0);
    foundation::Status downloaded = foundation::Success{};
    try {
        downloaded = downloadStoredPackage();
    } catch (const std::exception& error) {
        downloaded = failure(KSTaskError::kStorage, error.what());
    }
    if (!downloaded)
        KSLog("Download of %@ failed: %@", identifier_, downloaded.error().localizedDescription());
    setOutcome(downloaded.ok(),
               downloaded ? std::nullopt : std::optional<foundation::Error>(downloaded.error()));
    setTaskStatus(foundation::localized(downloaded ? "Done" : "Failed"));
    setTaskProgress(1);
}

foundation::Status KSPackageDownloadTask::downloadStoredPackage() {
    const auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier_);
    if (!package)
        return failure(KSTaskError::kUnknownPackage, "There is no such package.");
    auto archive = archiveForPackage(*package);
    FOUNDATION_RETURN_IF_ERROR(archive);
    return download(*archive);
}

foundation::Result<KSPackageDownloadTask::Archive> KSPackageDownloadTask::archiveForPackage(
    const KSRPackage& package) const {
    Archive archive;
    std::optional<std::string> filename = package.filename;
    std::optional<std::string> source = package.sourceLocation;
    const auto version = versionToFetch(package);
    if (version == package.version) {
        archive.size = parseSize(package.size);
        archive.sha256 = presentHash(package.sha256);
        archive.md5 = presentHash(package.md5sum);
    } else {
        // Another source's or an older version: the record keeps its file, not its sums.
        auto other =
            std::ranges::find(package.availableVersions, version, &KSRPackageVersion::version);
        filename = other != package.availableVersions.end() ? other->filename : std::nullopt;
        source = other != package.availableVersions.end() ? other->sourceLocation : std::nullopt;
    }
    if (!filename || !source)
        return failure(KSTaskError::kUnknownPackage, "No repository offers this version.");
    if (auto checked = checkFilename(*filename); !checked)
        return failure(KSTaskError::kUnsafeFilename, checked.error().localizedDescription());
    auto path = archivePathForPackage(package, version);
    FOUNDATION_RETURN_IF_ERROR(path);
    archive.url = *source + *filename;
    archive.path = *path;
    return archive;
}

foundation::Status KSPackageDownloadTask::download(const Archive& archive) {
    const auto url = foundation::URL::withString(archive.url);
    if (!url || !KSFetchableURL::isFetchable(*url))
        return failure(KSTaskError::kUnsafeFilename, "Not a valid address: " + archive.url);
    const auto partialDirectory = KSAPTManager::archivesDirectory() + "/partial";
    if (auto created = foundation::FileManager::createDirectory(partialDirectory); !created)
        return failure(KSTaskError::kStorage, created.error().localizedDescription());
    const auto partial =
        partialDirectory + "/" + archive.path.substr(archive.path.find_last_of('/') + 1);

    auto configuration = RepositoryRequest::noCacheConfigureation();
    configuration.maximumResponseBytes = archive.size.value_or(kMaxArchiveBytes);
    {
        std::lock_guard lock(transferMutex_);
        transfer_.emplace(std::move(configuration));
        if (cancelRequested_)
            transfer_->cancel();
    }
    auto reply = transfer_->download(RepositoryRequest::requestWithURL(*url), partial,
                                     [this](double fraction) { setTaskProgress(fraction); });
    if (reply.error)
        return failure(KSTaskError::kNetwork, reply.error->localizedDescription());
    if (reply.response->statusCode != 200)
        return failure(KSTaskError::kNetwork,
                       "HTTP status " + std::to_string(reply.response->statusCode));
    auto verified = verify(archive, partial);
    if (verified) {
        // Usually nothing is there; whatever cannot be removed fails the move.
        (void)foundation::FileManager::removeItem(archive.path);
        verified = foundation::FileManager::moveItem(partial, archive.path);
    }
    // The failure to report is the one above; a partial file left behind goes with the next
    // clean-up of the archives.
    if (!verified)
        (void)foundation::FileManager::removeItem(partial);
    return verified;
}

foundation::Status KSPackageDownloadTask::verify(const Archive& archive,
                                                 const std::string& path) const {
    const auto size = foundation::FileManager::fileSize(path);
    if (archive.size && size != static_cast<std::uint64_t>(*archive.size))
        return failure(KSTaskError::kSizeMismatch,
                       "The archive is not as long as the repository says.");
    if (!archive.sha256 && !archive.md5)
        return foundation::Success{};
    auto data = foundation::FileManager::readFile(path);
    if (!data)
        return failure(KSTaskError::kStorage, data.error().localizedDescription());
    const bool matches = archive.sha256 ? foundation::sha256Hex(*data) == *archive.sha256
                                        : foundation::md5Hex(*data) == *archive.md5;
    if (!matches)
        return failure(KSTaskError::kChecksumMismatch,
                       "The archive does not match the repository's checksum.");
    return foundation::Success{};
}

foundation::Error KSPackageDownloadTask::failure(long code, const std::string& description) const {
    return KSTaskError::forPackage(static_cast<KSTaskError::Code>(code), description, identifier_);
}

}  // namespace corvane
