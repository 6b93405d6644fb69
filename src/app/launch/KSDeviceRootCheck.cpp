#include "app/launch/KSDeviceRootCheck.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "foundation/FileManager.h"

namespace corvane {

namespace {

using foundation::FileManager;

foundation::Error checkError(KSDeviceRootCheck::ErrorCode code, const std::string& description) {
    return foundation::Error::make(KSDeviceRootCheck::kErrorDomain, code, description);
}

// Permission bits alone cannot tell: root writes through them, and a read-only file system
// refuses everybody. Only a file really made and removed again answers.
foundation::Status probeWriting(const std::string& path) {
    std::string probe = path + "/.corvane-write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return checkError(
            KSDeviceRootCheck::kNotWritable,
            "nothing can be written in it (" + std::generic_category().message(errno) + ").");
    ::close(fd);
    ::unlink(probe.c_str());
    return foundation::Success{};
}

}  // namespace

foundation::Status KSDeviceRootCheck::prepare(const std::string& path) {
    if (FileManager::fileExists(path) && !FileManager::isDirectory(path))
        return checkError(kNotAFolder, "it is a file, not a folder.");
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(path));
    return probeWriting(path);
}

std::string KSDeviceRootCheck::refusal(const std::string& path, const foundation::Error& error) {
    return "The device root \u201C" + path +
           "\u201D cannot be used: " + error.localizedDescription();
}

}  // namespace corvane
