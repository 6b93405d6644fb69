#include "foundation/FileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <span>
#include <system_error>
#include <utility>

#include "foundation/FileCalls.h"
#include "foundation/Strings.h"

namespace fs = std::filesystem;

namespace foundation {

namespace {

bool linkExists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool close() {
        int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_ = -1;
};

// So that the rename itself survives a crash.
void syncDirectory(const std::string& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

Status writeAtomically(const std::string& path, std::span<const std::string_view> parts) {
    std::string directory = deletingLastPathComponent(path);
    if (directory.empty())
        directory = ".";
    // Short enough that the name with its suffix stays within the file-name limit.
    std::string temporary =
        appendingPathComponent(directory, "." + lastPathComponent(path).substr(0, 200) + ".XXXXXX");
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return fileError(errno, FileAccess::Write, "write", path);

    struct stat existing;
    mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    bool written = std::ranges::all_of(parts,
                                       [&](std::string_view part) {
                                           return writeAll(fd.get(), part.data(), part.size());
                                       }) &&
                   ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 && fd.close() &&
                   ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        int errnum = errno;
        fd.close();
        ::unlink(temporary.c_str());
        return fileError(errnum, FileAccess::Write, "write", path);
    }
    syncDirectory(directory);
    return Success{};
}

}  // namespace

bool FileManager::fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool FileManager::isDirectory(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileManager::realPath(const std::string& path) {
    std::error_code error;
    const auto real = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path).lexically_normal().string() : real.string();
}

bool FileManager::liesWithin(const std::string& path, const std::string& folder) {
    return pathLiesWithin(realPath(path), realPath(folder));
}

std::optional<std::uint64_t> FileManager::fileSize(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return std::uint64_t(info.st_size);
}

std::optional<double> FileManager::modificationDate(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return double(info.st_mtim.tv_sec) + double(info.st_mtim.tv_nsec) / 1e9;
}

Status FileManager::setModificationDate(const std::string& path, double secondsSince1970) {
    double seconds = std::floor(secondsSince1970);
    struct timespec times[2] = {
        {0, UTIME_OMIT},
        {time_t(seconds), long((secondsSince1970 - seconds) * 1e9)},
    };
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        return fileError(errno, FileAccess::Write, "change the date of", path);
    return Success{};
}

Status FileManager::createDirectory(const std::string& path) {
    std::error_code code;
    fs::create_directories(path, code);
    if (code)
        return fileError(code, FileAccess::Write, "create the folder", path);
    if (!isDirectory(path))
        return fileError(EEXIST, FileAccess::Write, "create the folder", path);
    return Success{};
}

Status FileManager::removeItem(const std::string& path) {
    std::error_code code;
    auto removed = fs::remove_all(path, code);
    if (code)
        return fileError(code, FileAccess::Write, "remove", path);
    if (removed == 0)
        return fileError(ENOENT, FileAccess::Write, "remove", path);
    return Success{};
}

Status FileManager::moveItem(const std::string& from, const std::string& to) {
    if (linkExists(to))
        return fileError(EEXIST, FileAccess::Write, "move to", to);
    if (::rename(from.c_str(), to.c_str()) == 0)
        return Success{};
    if (errno != EXDEV)
        return fileError(errno, FileAccess::Write, "move", from);
    auto copied = copyItem(from, to);
    if (!copied)
        return copied;
    return removeItem(from);
}

Status FileManager::copyItem(const std::string& from, const std::string& to) {
    if (linkExists(to))
        return fileError(EEXIST, FileAccess::Write, "copy to", to);
    if (!linkExists(from))
        return fileError(ENOENT, FileAccess::Write, "copy", from);
    std::error_code code;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, code);
    if (code)
        return fileError(code, FileAccess::Write, "copy", from);
    return Success{};
}

Status FileManager::linkItem(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) == 0)
        return Success{};
    return fileError(errno, FileAccess::Write, "link to", to);
}

Status FileManager::replaceItem(const std::string& path, const std::string& newItem) {
    if (::rename(newItem.c_str(), path.c_str()) != 0)
        return fileError(errno, FileAccess::Write, "replace", path);
    syncDirectory(deletingLastPathComponent(path));
    return Success{};
}

Result<Bytes> FileManager::readFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return fileError(errno, FileAccess::Read, "read", path);
    if (S_ISDIR(info.st_mode))
        return fileError(EISDIR, FileAccess::Read, "read", path);
    Bytes data;
    data.reserve(std::size_t(std::max<off_t>(info.st_size, 0)));
    std::uint8_t buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fileError(errno, FileAccess::Read, "read", path);
        if (got == 0)
            return data;
        data.insert(data.end(), buffer, buffer + got);
    }
}

Result<std::string> FileManager::readText(const std::string& path) {
    auto data = readFile(path);
    FOUNDATION_RETURN_IF_ERROR(data);
    return std::string(data->begin(), data->end());
}

Status FileManager::writeAtomically(const std::string& path, const Bytes& data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    return foundation::writeAtomically(path, std::span(&text, 1));
}

Status FileManager::writeAtomically(const std::string& path, std::string_view text) {
    return foundation::writeAtomically(path, std::span(&text, 1));
}

Status FileManager::writeAtomically(const std::string& path,
                                    const std::vector<std::string_view>& parts) {
    return foundation::writeAtomically(path, parts);
}

Result<std::vector<std::string>> FileManager::contentsOfDirectory(const std::string& path) {
    std::error_code code;
    std::vector<std::string> names;
    for (fs::directory_iterator it(path, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().filename().string());
    if (code)
        return fileError(code, FileAccess::Read, "list", path);
    std::sort(names.begin(), names.end());
    return names;
}

Result<std::vector<std::string>> FileManager::enumerate(const std::string& path) {
    std::error_code code;
    std::vector<std::string> paths;
    fs::path root(path);
    for (fs::recursive_directory_iterator it(root, code), end; !code && it != end;
         it.increment(code))
        paths.push_back(it->path().lexically_relative(root).string());
    if (code)
        return fileError(code, FileAccess::Read, "list", path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace foundation
