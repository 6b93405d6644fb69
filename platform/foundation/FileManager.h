#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace foundation {

// File operations. Failures are errors of the domain "NSCocoaErrorDomain" with the platform's
// file error codes, a description naming the path, and the path under "NSFilePath".
class FileManager {
  public:
    static constexpr const char* kErrorDomain = "NSCocoaErrorDomain";
    static constexpr const char* kFilePathKey = "NSFilePath";
    enum ErrorCode : long {
        kNoSuchFile = 4,
        kReadUnknown = 256,
        kReadNoPermission = 257,
        kReadNoSuchFile = 260,
        kWriteUnknown = 512,
        kWriteNoPermission = 513,
        kWriteFileExists = 516,
        kWriteOutOfSpace = 640,
        kWriteVolumeReadOnly = 642,
    };

    // Symbolic links are followed: a dangling link does not exist.
    static bool fileExists(const std::string& path);
    static bool isDirectory(const std::string& path);
    static std::optional<std::uint64_t> fileSize(const std::string& path);
    // The path with ".", ".." and the links of the part that exists resolved, the rest as
    // written; where that part cannot be resolved (a loop of links), the path lexically normal.
    static std::string realPath(const std::string& path);
    // Whether the real path is the real folder or lies below it, component by component, so
    // that "/a/device-data" is not within "/a/device", and a link that leads out is not either.
    static bool liesWithin(const std::string& path, const std::string& folder);
    // Seconds since 1970.
    static std::optional<double> modificationDate(const std::string& path);
    static Status setModificationDate(const std::string& path, double secondsSince1970);

    // With every missing folder on the way; success when the folder is there already.
    static Status createDirectory(const std::string& path);
    // A folder with everything in it; a link itself, never what it points to.
    static Status removeItem(const std::string& path);
    // Both fail with kWriteFileExists when the destination exists.
    static Status moveItem(const std::string& from, const std::string& to);
    static Status copyItem(const std::string& from, const std::string& to);
    // A second name for the file (a hard link): fails like moveItem when the destination exists,
    // and where the file system has no such links.
    static Status linkItem(const std::string& from, const std::string& to);
    // Puts the file at newItem in the place of the one at path, there or not, in one step:
    // readers see the old file or the new, never neither. Both must be on one file system.
    static Status replaceItem(const std::string& path, const std::string& newItem);

    static Result<Bytes> readFile(const std::string& path);
    static Result<std::string> readText(const std::string& path);
    // Into a temporary file beside the target, flushed to disk, then renamed over it: readers
    // see the old content or the new, never a part. On failure the old file stays as it was
    // and the temporary file is gone.
    static Status writeAtomically(const std::string& path, const Bytes& data);
    static Status writeAtomically(const std::string& path, std::string_view text);
    // The parts one after the other, as one file.
    static Status writeAtomically(const std::string& path,
                                  const std::vector<std::string_view>& parts);

    // Names in the folder, sorted.
    static Result<std::vector<std::string>> contentsOfDirectory(const std::string& path);
    // Every file and folder below the folder as paths relative to it, sorted; links to folders
    // are listed, not entered.
    static Result<std::vector<std::string>> enumerate(const std::string& path);
};

}  // namespace foundation
