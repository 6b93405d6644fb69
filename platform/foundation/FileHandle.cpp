#include "foundation/FileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "foundation/FileCalls.h"

namespace foundation {

Result<FileHandle> FileHandle::forReadingAtPath(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return fileError(errno, FileAccess::Read, "open", path);
    return FileHandle(descriptor, path);
}

Result<FileHandle> FileHandle::forWritingAtPath(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return fileError(errno, FileAccess::Write, "open", path);
    return FileHandle(descriptor, path);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), path_(std::move(other.path_)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

FileHandle::~FileHandle() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

Result<Bytes> FileHandle::readDataUpToLength(std::size_t length) {
    Bytes data(length);
    auto filled = fill(reinterpret_cast<char*>(data.data()), length, std::nullopt);
    FOUNDATION_RETURN_IF_ERROR(filled);
    data.resize(*filled);
    return data;
}

Result<std::string> FileHandle::readText(std::uint64_t offset, std::size_t length) const {
    std::string text(length, '\0');
    auto filled = fill(text.data(), length, offset);
    FOUNDATION_RETURN_IF_ERROR(filled);
    text.resize(*filled);
    return text;
}

Result<std::size_t> FileHandle::fill(char* buffer, std::size_t length,
                                     std::optional<std::uint64_t> offset) const {
    std::size_t filled = 0;
    while (filled < length) {
        const ssize_t got =
            offset ? ::pread(descriptor_, buffer + filled, length - filled, off_t(*offset + filled))
                   : ::read(descriptor_, buffer + filled, length - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fileError(errno, FileAccess::Read, "read", path_);
        if (got == 0)
            break;
        filled += std::size_t(got);
    }
    return filled;
}

Status FileHandle::writeData(std::string_view data) {
    if (!writeAll(descriptor_, data.data(), data.size()))
        return fileError(errno, FileAccess::Write, "write", path_);
    return Success{};
}

Status FileHandle::synchronizeFile() {
    if (::fsync(descriptor_) != 0)
        return fileError(errno, FileAccess::Write, "write", path_);
    return Success{};
}

}  // namespace foundation
