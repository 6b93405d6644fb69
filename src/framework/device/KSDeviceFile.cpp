#include "framework/device/KSDeviceFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "foundation/DeviceRoot.h"
#include "foundation/FileCalls.h"
#include "foundation/Strings.h"

namespace corvane {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC;
constexpr int kFileFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr int kCopyFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr std::uint64_t kChunkBytes = 64 * 1024;
constexpr std::uint64_t kMebibyte = 1 << 20;

std::string quoted(std::string_view text) {
    return "\u201C" + std::string(text) + "\u201D";
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= kMebibyte && bytes % kMebibyte == 0)
        return std::to_string(bytes / kMebibyte) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// The description names the path; the reason alone is kept apart, for a caller that names the
// file its own way.
foundation::Error deviceError(std::string_view devicePath, long code, const std::string& lead,
                              const std::string& reason) {
    auto error = foundation::Error::make(KSDeviceFile::kErrorDomain, code,
                                         quoted(devicePath) + lead + reason);
    error.userInfo.mutableDictionary()[KSDeviceFile::kPathKey] = std::string(devicePath);
    error.userInfo.mutableDictionary()[KSDeviceFile::kReasonKey] = reason;
    return error;
}

foundation::Error refusal(std::string_view devicePath, const std::string& reason) {
    return deviceError(devicePath, KSDeviceFile::kRefused, " is refused: ", reason);
}

foundation::Error tooLarge(std::string_view devicePath, std::uint64_t limit) {
    return deviceError(devicePath, KSDeviceFile::kTooLarge, " is ",
                       "larger than the " + sizeText(limit) + " limit.");
}

foundation::Error systemFailure(std::string_view devicePath, int errnum) {
    if (errnum == ENOENT)
        return deviceError(devicePath, KSDeviceFile::kMissing, " ", "does not exist.");
    return deviceError(devicePath, KSDeviceFile::kUnreadable,
                       " could not be read: ", std::generic_category().message(errnum) + ".");
}

// Refused rather than normalised: no caller names such a path, and ".." could climb out.
std::optional<std::vector<std::string>> entryNames(std::string_view devicePath) {
    auto names = foundation::split(devicePath, "/");
    if (names.size() < 2 || !names.front().empty())
        return std::nullopt;
    names.erase(names.begin());
    const bool malformed = std::ranges::any_of(
        names, [](const std::string& name) { return name.empty() || name == "." || name == ".."; });
    return malformed ? std::nullopt : std::optional(std::move(names));
}

}  // namespace

foundation::Result<KSDeviceFile::Contents> KSDeviceFile::read(std::string_view devicePath,
                                                              std::uint64_t limit) {
    auto file = open(devicePath, limit);
    if (!file)
        return file.error();
    Contents contents;
    contents.modificationDate =
        double(file->status_.st_mtim.tv_sec) + double(file->status_.st_mtim.tv_nsec) / 1e9;
    contents.bytes.reserve(std::size_t(file->status_.st_size));
    FOUNDATION_RETURN_IF_ERROR(file->stream(devicePath, limit, [&](std::string_view chunk) {
        contents.bytes.append(chunk);
        return foundation::Status(foundation::Success{});
    }));
    return contents;
}

foundation::Status KSDeviceFile::copy(std::string_view devicePath, const std::string& destination,
                                      std::uint64_t limit) {
    auto file = open(devicePath, limit);
    if (!file)
        return file.error();
    return file->copyInto(devicePath, destination, limit);
}

foundation::Status KSDeviceFile::copyHostFile(const std::string& hostPath,
                                              const std::string& destination, std::uint64_t limit) {
    auto file =
        checked(KSDeviceFile(::open(hostPath.c_str(), kFileFlags & ~O_NOFOLLOW)), hostPath, limit);
    if (!file)
        return file.error();
    return file->copyInto(hostPath, destination, limit);
}

foundation::Status KSDeviceFile::copyInto(std::string_view path, const std::string& destination,
                                          std::uint64_t limit) const {
    KSDeviceFile target(::open(destination.c_str(), kCopyFlags, 0600));
    if (target.descriptor_ < 0)
        return foundation::fileError(errno, foundation::FileAccess::Write, "create", destination);
    auto copied = stream(path, limit, [&](std::string_view chunk) {
        if (foundation::writeAll(target.descriptor_, chunk.data(), chunk.size()))
            return foundation::Status(foundation::Success{});
        return foundation::Status(
            foundation::fileError(errno, foundation::FileAccess::Write, "write", destination));
    });
    // Some file systems report a failed write only when the file is closed.
    if (::close(std::exchange(target.descriptor_, -1)) != 0 && copied)
        copied = foundation::fileError(errno, foundation::FileAccess::Write, "write", destination);
    if (!copied)
        ::unlink(destination.c_str());
    return copied;
}

foundation::Status KSDeviceFile::remove(std::string_view devicePath) {
    std::string name;
    auto folder = parentFolder(devicePath, &name);
    if (!folder)
        return folder.error();
    if (::unlinkat(folder->descriptor_, name.c_str(), 0) == 0)
        return foundation::Success{};
    if (errno == ENOENT)
        return systemFailure(devicePath, errno);
    return deviceError(devicePath, kUnreadable,
                       " could not be removed: ", std::generic_category().message(errno) + ".");
}

KSDeviceFile::KSDeviceFile(KSDeviceFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), status_(other.status_) {}

KSDeviceFile& KSDeviceFile::operator=(KSDeviceFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        status_ = other.status_;
    }
    return *this;
}

KSDeviceFile::~KSDeviceFile() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

foundation::Result<KSDeviceFile> KSDeviceFile::open(std::string_view devicePath,
                                                    std::uint64_t limit) {
    auto file = walk(devicePath);
    if (!file)
        return file.error();
    return checked(std::move(*file), devicePath, limit);
}

foundation::Result<KSDeviceFile> KSDeviceFile::checked(KSDeviceFile file, std::string_view path,
                                                       std::uint64_t limit) {
    if (file.descriptor_ < 0 || ::fstat(file.descriptor_, &file.status_) != 0)
        return systemFailure(path, errno);
    if (!S_ISREG(file.status_.st_mode))
        return refusal(path, "it is not a regular file.");
    if (std::uint64_t(file.status_.st_size) > limit)
        return tooLarge(path, limit);
    return file;
}

foundation::Result<KSDeviceFile> KSDeviceFile::walk(std::string_view devicePath) {
    std::string name;
    auto folder = parentFolder(devicePath, &name);
    if (!folder)
        return folder.error();
    return folder->openEntry(name, kFileFlags, devicePath, "it");
}

foundation::Result<KSDeviceFile> KSDeviceFile::parentFolder(std::string_view devicePath,
                                                            std::string* name) {
    const auto names = entryNames(devicePath);
    if (!names)
        return refusal(devicePath,
                       "it is not an absolute path, or it holds an empty, "
                       "\u201C.\u201D or \u201C..\u201D component.");
    KSDeviceFile folder(::open(foundation::DeviceRoot::path().c_str(), O_DIRECTORY | O_CLOEXEC));
    if (folder.descriptor_ < 0)
        return systemFailure(devicePath, errno);
    std::string walked;
    for (std::size_t index = 0; index + 1 < names->size(); ++index) {
        walked += "/" + (*names)[index];
        auto next = folder.openEntry((*names)[index], kFolderFlags, devicePath, quoted(walked));
        if (!next)
            return next.error();
        folder = std::move(*next);
    }
    *name = names->back();
    return folder;
}

foundation::Result<KSDeviceFile> KSDeviceFile::openEntry(const std::string& name, int flags,
                                                         std::string_view devicePath,
                                                         const std::string& subject) const {
    const int descriptor = ::openat(descriptor_, name.c_str(), flags);
    if (descriptor >= 0)
        return KSDeviceFile(descriptor);
    const int failure = errno;
    // ENXIO is a socket, which cannot be opened at all.
    if (failure != ELOOP && failure != ENOTDIR && failure != ENXIO)
        return systemFailure(devicePath, failure);
    struct stat entry {};
    if (::fstatat(descriptor_, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(entry.st_mode))
        return refusal(devicePath, subject + " is a symbolic link.");
    return refusal(devicePath, subject + ((flags & O_DIRECTORY) ? " is not a folder."
                                                                : " is not a regular file."));
}

// Reads one byte past the limit at most: enough to tell a file that grew beyond it while read.
foundation::Status KSDeviceFile::stream(std::string_view devicePath, std::uint64_t limit,
                                        const Sink& sink) const {
    const std::uint64_t ceiling = std::min(limit, UINT64_MAX - 1) + 1;
    std::string chunk(std::size_t(std::min(kChunkBytes, ceiling)), '\0');
    for (std::uint64_t total = 0;;) {
        const auto wanted = std::size_t(std::min<std::uint64_t>(chunk.size(), ceiling - total));
        const ssize_t got = ::read(descriptor_, chunk.data(), wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemFailure(devicePath, errno);
        if (got == 0)
            return foundation::Success{};
        total += std::uint64_t(got);
        if (total > limit)
            return tooLarge(devicePath, limit);
        FOUNDATION_RETURN_IF_ERROR(sink(std::string_view(chunk.data(), std::size_t(got))));
    }
}

}  // namespace corvane
