#include "app/launch/KSDeviceRootCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "foundation/FileManager.h"

namespace corvane {

namespace {

using foundation::FileManager;

constexpr mode_t kOwnerOnly = S_IRWXU;

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

foundation::Status keepToOwner(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & 077) == 0)
        return foundation::Success{};
    if (::chmod(path.c_str(), info.st_mode & kOwnerOnly) == 0)
        return foundation::Success{};
    return checkError(
        KSDeviceRootCheck::kNotWritable,
        "it cannot be closed to other users (" + std::generic_category().message(errno) + ").");
}

}  // namespace

foundation::Status KSDeviceRootCheck::prepare(const std::string& path) {
    if (FileManager::fileExists(path) && !FileManager::isDirectory(path))
        return checkError(kNotAFolder, "it is a file, not a folder.");
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(path));
    FOUNDATION_RETURN_IF_ERROR(keepToOwner(path));
    return probeWriting(path);
}

foundation::Status KSDeviceRootCheck::checkApart(const std::string& root, const std::string& data) {
    if (FileManager::liesWithin(data, root))
        return checkError(kNotApart, "it lies inside the device root \u201C" + root +
                                         "\u201D, where packages can write.");
    if (FileManager::liesWithin(root, data))
        return checkError(kNotApart, "the device root \u201C" + root +
                                         "\u201D lies inside it, so packages "
                                         "could write it.");
    return foundation::Success{};
}

std::string KSDeviceRootCheck::refusal(const std::string& folder, const std::string& path,
                                       const foundation::Error& error) {
    return "The " + folder + " \u201C" + path +
           "\u201D cannot be used: " + error.localizedDescription();
}

}  // namespace corvane
