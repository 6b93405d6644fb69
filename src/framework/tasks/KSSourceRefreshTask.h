#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Error.h"
#include "framework/storage/KSRPackageIndexSummary.h"
#include "framework/storage/KSRPackageIndexText.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSBlockingTransfer.h"
#include "framework/tasks/KSPackagesIndexFetcher.h"
#include "framework/tasks/KSReleaseFile.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// Refreshes one stored source from its repository: Release, then the Packages index
// (KSPackagesIndexFetcher), parsed into the package records while it is decompressed, and
// written into the APT sandbox's lists under APT's own file names (the stanzas the records
// accepted, no others) and as a raw copy into "SourcesFiles"; last the repository's icon. A
// repository that has not changed its index since the last refresh answers 304 and the records stay
// as they are. A failed refresh keeps every record and marks the source with the error.
// KSRSourceUpdatedNotification follows on the main thread either way.
class KSSourceRefreshTask : public KSTask {
  public:
    static constexpr std::int64_t kMaxIconBytes = 1 << 20;

    explicit KSSourceRefreshTask(std::string location);

    // The taskID of the refresh of the location, which the pipeline's notifications carry.
    static std::string taskIDForLocation(const std::string& location) {
        return "Refresh-" + location;
    }

    std::string taskID() const override { return taskIDForLocation(location_); }
    std::string pipelineID() const override;
    std::string taskDescription() const override;
    bool isCancellable() const override { return true; }
    void cancel() override;

    const std::string& location() const { return location_; }
    // Not when the repository answered that nothing changed, nor when the refresh failed.
    bool storedNewIndex() const override { return storedNewIndex_; }

  protected:
    void main() override;

  private:
    void refreshStoredSource();
    foundation::Status refresh(const KSRSource& source);
    std::optional<KSReleaseFile> fetchRelease();
    std::optional<std::string> ifModifiedSince(const KSRSource& source) const;
    foundation::Status readIndex(const std::string& file, CompressionForm form);
    foundation::Status storeIndexFiles(const std::string& textFile) const;
    foundation::Status storeAcceptedStanzas(
        const KSRPackageIndexText& text,
        const std::vector<KSRPackageIndexSummary::Place>& refusedStanzas) const;
    static foundation::Status storeRawCopy(const std::string& listFile, const std::string& rawCopy);
    // APT's list of the index.
    std::string listFile() const;
    // A file in APT's partial folder named after the list, with the suffix.
    std::string partialFile(const std::string& suffix) const;
    void recordSuccess(const KSPackagesIndexFetcher::Index& index,
                       const std::optional<KSReleaseFile>& release) const;
    void refreshIcon();

    const std::string location_;
    KSBlockingTransfer transfer_;
    KSBlockingTransfer iconTransfer_;
    std::optional<std::string> releaseText_;
    std::atomic<bool> storedNewIndex_ = false;
};

}  // namespace corvane
