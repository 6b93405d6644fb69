#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "foundation/Result.h"

namespace corvane {

// A private copy of an archive that another application handed over. The file is copied, under
// a generated name, into the inbox under the data directory: what is read and installed is then
// what was shown, whatever becomes of the handed-over file, whose name never reaches a command
// line, and which is never changed or removed. The copy goes with the last holder of this
// object. Any thread.
class KSInboxArchive {
  public:
    static constexpr const char* kErrorDomain = "KSInboxArchive";
    enum ErrorCode : long {
        kNotAnArchivePath = 1,  // user info "path": not an absolute path, or one with control
                                // characters
        kCopyFailed = 2,
        kNoSuchFile = 3,  // user info "path"
        kUnreadable = 4,  // user info "path": not a regular file, too large, or refused
    };
    static constexpr std::string_view kInboxName = "Inbox";
    static constexpr std::uint64_t kMaxArchiveBytes = 512ull << 20;

    // The file of this machine at the path a file URL names, copied, as the system hands over a
    // file it holds: a regular file within kMaxArchiveBytes, read without blocking. Whether it
    // is a package archive is for dpkg-deb to tell.
    static foundation::Result<std::shared_ptr<KSInboxArchive>> copyOf(const std::string& path);
    static std::string inboxDirectory();
    // Removes what an earlier run left in the inbox (a screen still open as the process ended,
    // an install cut short). The launch calls it before anything can make a copy.
    static void emptyInbox();

    // Takes over the copy at path; it is removed with this object.
    explicit KSInboxArchive(std::string path) : path_(std::move(path)) {}
    ~KSInboxArchive();
    KSInboxArchive(const KSInboxArchive&) = delete;
    KSInboxArchive& operator=(const KSInboxArchive&) = delete;

    // The copy's host path.
    const std::string& path() const { return path_; }

  private:
    static bool isPlainPath(const std::string& path);
    static foundation::Error pathError(ErrorCode code, const std::string& path,
                                       const std::string& description);
    static std::string generatedName();

    std::string path_;
};

}  // namespace corvane
