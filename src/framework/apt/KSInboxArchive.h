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
        kNotAnArchivePath = 1,  // user info "path": the device path
        kCopyFailed = 2,
    };
    static constexpr std::string_view kInboxName = "Inbox";
    static constexpr std::uint64_t kMaxArchiveBytes = 512ull << 20;

    // The file at the device path as a file URL names it (under the device root), copied.
    // Refused for a path that is not absolute, climbs with "..", holds control characters or
    // names no regular file; a link anywhere on the path is refused too, since a package could
    // have put it there to hand over a file of the host.
    static foundation::Result<std::shared_ptr<KSInboxArchive>> copyOf(
        const std::string& devicePath);
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
    static bool isPlainDevicePath(const std::string& devicePath);
    static foundation::Error notAnArchivePath(const std::string& devicePath);
    static std::string generatedName();

    std::string path_;
};

}  // namespace corvane
