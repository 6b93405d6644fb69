#include "foundation/URLSessionDownloadTask.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "foundation/URLError.h"

namespace foundation {

std::optional<Error> URLSessionDownloadTask::prepare() {
    std::error_code ignored;
    std::string pattern =
        (std::filesystem::temp_directory_path(ignored) / "URLSessionDownload-XXXXXX").string();
    int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
        return URLError::make(URLError::CannotCreateFile, originalRequest().url.absoluteString());
    std::lock_guard lock(mutex_);
    path_ = std::move(pattern);
    descriptor_ = descriptor;
    return std::nullopt;
}

bool URLSessionDownloadTask::receive(const char* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t written = ::write(descriptor_, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

std::optional<Error> URLSessionDownloadTask::endReceiving() {
    if (::close(descriptor_) == 0)
        return std::nullopt;
    return URLError::make(URLError::CannotWriteToFile, originalRequest().url.absoluteString());
}

void URLSessionDownloadTask::complete(std::optional<HTTPURLResponse> response,
                                      std::optional<Error> error) {
    std::string path;
    {
        std::lock_guard lock(mutex_);
        path = path_;
    }
    if (completion_) {
        if (error)
            completion_(std::nullopt, std::nullopt, std::move(error));
        else
            completion_(URL::fileURL(path), std::move(response), std::nullopt);
    }
    // A cancelled load may still be writing: the unlinked file goes when its descriptor closes.
    std::error_code ignored;
    if (!path.empty())
        std::filesystem::remove(path, ignored);
}

}  // namespace foundation
