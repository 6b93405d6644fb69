#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/Result.h"

namespace corvane {

// A file of the device root that the host-side program reads: dpkg's status, an installed-file
// list, a handed-over archive. A package can leave anything there, so the path is walked from
// the device root's own descriptor one component at a time, following no link at any of them;
// only a regular file is read, a FIFO or device never blocks, and no more than the limit is read
// however large the file is or grows. Any thread.
class KSDeviceFile {
  public:
    static constexpr const char* kErrorDomain = "KSDeviceFile";
    enum ErrorCode : long {
        kMissing = 1,  // nothing at the path, or a folder on the way is missing
        kRefused = 2,  // a link, not a regular file, a component that is not a folder, or a path
                       // with an empty, "." or ".." component
        kTooLarge = 3,
        kUnreadable = 4,
    };
    static constexpr const char* kPathKey = "path";      // user info: the device path
    static constexpr const char* kReasonKey = "reason";  // user info: why, without the path

    struct Contents {
        std::string bytes;
        // Seconds since 1970, of the very file that was read.
        double modificationDate = 0;
    };

    static foundation::Result<Contents> read(std::string_view devicePath, std::uint64_t limit);
    // Streams the file into a new host file at destination, readable by its owner only, which is
    // removed again on any failure. Failures at destination are errors of FileManager's domain.
    static foundation::Status copy(std::string_view devicePath, const std::string& destination,
                                   std::uint64_t limit);

    // A file of the host that a person handed over, copied the same careful way but for links,
    // which are followed: the file is the person's own.
    static foundation::Status copyHostFile(const std::string& hostPath,
                                           const std::string& destination, std::uint64_t limit);
    // Unlinks the entry itself, whatever it is but a folder, without following a link on the way.
    static foundation::Status remove(std::string_view devicePath);

    KSDeviceFile(KSDeviceFile&& other) noexcept;
    KSDeviceFile& operator=(KSDeviceFile&& other) noexcept;
    ~KSDeviceFile();

  private:
    using Sink = std::function<foundation::Status(std::string_view chunk)>;

    explicit KSDeviceFile(int descriptor) : descriptor_(descriptor) {}
    // The regular file at the device path, no larger than the limit when opened.
    static foundation::Result<KSDeviceFile> open(std::string_view devicePath, std::uint64_t limit);
    static foundation::Result<KSDeviceFile> walk(std::string_view devicePath);
    // The opened file, when it is a regular one within the limit.
    static foundation::Result<KSDeviceFile> checked(KSDeviceFile file, std::string_view path,
                                                    std::uint64_t limit);
    foundation::Status copyInto(std::string_view path, const std::string& destination,
                                std::uint64_t limit) const;
    // The folder that holds the path's last component, and that component.
    static foundation::Result<KSDeviceFile> parentFolder(std::string_view devicePath,
                                                         std::string* name);
    // Opens the entry of this folder; a refusal says what is there instead, of the subject ("it",
    // or the device path of the folder being walked).
    foundation::Result<KSDeviceFile> openEntry(const std::string& name, int flags,
                                               std::string_view devicePath,
                                               const std::string& subject) const;
    foundation::Status stream(std::string_view devicePath, std::uint64_t limit,
                              const Sink& sink) const;

    int descriptor_ = -1;
    struct stat status_ {};
};

}  // namespace corvane
