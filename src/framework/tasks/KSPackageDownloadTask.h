#pragma once

#include <optional>
#include <string>

#include "foundation/Result.h"
#include "framework/storage/KSRPackage.h"
#include "framework/tasks/KSBlockingTransfer.h"
#include "framework/tasks/KSTask.h"

namespace corvane {

// Downloads the archive of one package into the APT sandbox's archives folder, under the name
// APT gives it, where apt-get, which fetches nothing itself, installs it from. The version is
// the one the confirmed queue names for the package, else the record's. The address is the
// source location followed by the index's Filename; a Filename that starts with "/" or holds
// ".." is refused before anything is fetched. The archive is checked against the index's Size
// and SHA256 (MD5sum when there is no SHA256) where given: a mismatch is a failure and leaves
// no file. When the last download of a batch has finished, and every one of them succeeded,
// it queues the APT operation for the queue KSAPTManager holds.
class KSPackageDownloadTask : public KSTask {
  public:
    static constexpr std::int64_t kMaxArchiveBytes = std::int64_t{1} << 30;

    explicit KSPackageDownloadTask(std::string identifier);

    std::string taskID() const override { return "Download-" + identifier_; }
    std::string pipelineID() const override;
    std::string taskDescription() const override;
    bool isCancellable() const override { return true; }
    void cancel() override;

    std::shared_ptr<KSTask> followUpTask(
        const std::vector<std::shared_ptr<KSTask>>& remainingTasks) const override;

    // The Filename of an index as a path below the repository, or an error when it would
    // leave it.
    static foundation::Status checkFilename(const std::string& filename);
    // Where the archive of this version of the record goes: "<archives>/<APT's name>", or an
    // error when a part of the name breaks its grammar.
    static foundation::Result<std::string> archivePathForPackage(const KSRPackage& package,
                                                                 const std::string& version);

  private:
    static std::string asServersReadIt(const std::string& filename);

    struct Archive {
        std::string url;
        std::string path;
        std::optional<std::int64_t> size;
        std::optional<std::string> sha256;
        std::optional<std::string> md5;
    };

    void main() override;
    foundation::Status downloadStoredPackage();
    foundation::Result<Archive> archiveForPackage(const KSRPackage& package) const;
    foundation::Status download(const Archive& archive);
    foundation::Status verify(const Archive& archive, const std::string& path) const;
    foundation::Error failure(long code, const std::string& description) const;

    const std::string identifier_;
    std::optional<std::string> name_;
    std::optional<KSBlockingTransfer> transfer_;
    std::mutex transferMutex_;
    bool cancelRequested_ = false;
};

}  // namespace corvane
