#include "support/HostDpkgLog.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace testing_support {

namespace {

std::uintmax_t currentSize() {
    std::error_code error;
    const auto size = std::filesystem::file_size(HostDpkgLog::kPath, error);
    return error ? 0 : size;
}

}  // namespace

HostDpkgLog::HostDpkgLog() : start_(currentSize()) {}

std::vector<std::string> HostDpkgLog::linesNaming(const std::string& package) const {
    std::ifstream log(kPath);
    // A log rotated meanwhile starts again from nothing.
    if (currentSize() >= start_)
        log.seekg(static_cast<std::streamoff>(start_));
    std::vector<std::string> lines;
    const auto mention = " " + package + ":";
    for (std::string line; std::getline(log, line);)
        if (line.find(mention) != std::string::npos)
            lines.push_back(line);
    return lines;
}

std::string HostDpkgLog::uniquePackageName(const std::string& what) {
    static std::atomic<unsigned> count{0};
    return "com.example." + what + "." + std::to_string(getpid()) + "." + std::to_string(count++);
}

}  // namespace testing_support
