#include "foundation/FileCalls.h"

#include <unistd.h>

#include <cerrno>

#include "foundation/FileManager.h"

namespace foundation {

namespace {

long errorCode(int errnum, FileAccess access) {
    const bool reading = access == FileAccess::Read;
    switch (errnum) {
        case ENOENT:
        case ENOTDIR:
            return reading ? FileManager::kReadNoSuchFile : FileManager::kNoSuchFile;
        case EACCES:
        case EPERM:
            return reading ? FileManager::kReadNoPermission : FileManager::kWriteNoPermission;
        case EEXIST:
            return FileManager::kWriteFileExists;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileManager::kWriteOutOfSpace;
        case EROFS:
            return FileManager::kWriteVolumeReadOnly;
        default:
            return reading ? FileManager::kReadUnknown : FileManager::kWriteUnknown;
    }
}

}  // namespace

Error fileError(int errnum, FileAccess access, std::string_view action, const std::string& path) {
    std::string description = "Could not " + std::string(action) + " \u201C" + path +
                              "\u201D: " + std::generic_category().message(errnum) + ".";
    Error error = Error::make(FileManager::kErrorDomain, errorCode(errnum, access), description);
    error.userInfo.mutableDictionary()[FileManager::kFilePathKey] = path;
    return error;
}

Error fileError(const std::error_code& code, FileAccess access, std::string_view action,
                const std::string& path) {
    return fileError(code.value(), access, action, path);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        done += std::size_t(written);
    }
    return true;
}

}  // namespace foundation
