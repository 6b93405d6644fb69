#include "app/launch/KSLogTrimmer.h"

#include <algorithm>

#include "foundation/FileManager.h"

namespace corvane {

std::size_t KSLogTrimmer::lineCount(std::string_view text) {
    auto count = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n')
        ++count;
    return count;
}

std::optional<std::string> KSLogTrimmer::trimmedText(std::string_view text) {
    if (lineCount(text) < kTrimThreshold)
        return std::nullopt;
    // Walk back over kKeptLines line ends, not counting the one that closes the last line.
    std::size_t end = text.back() == '\n' ? text.size() - 1 : text.size();
    std::size_t start = end;
    for (std::size_t kept = 0; kept < kKeptLines; ++kept) {
        start = text.rfind('\n', start - 1);
        if (start == std::string_view::npos || start == 0)
            break;
    }
    return std::string(text.substr(start + 1));
}

bool KSLogTrimmer::trimLogFile(const std::string& path) {
    auto bytes = foundation::FileManager::readFile(path);
    if (!bytes)
        return false;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto trimmed = trimmedText(text);
    return trimmed && foundation::FileManager::writeAtomically(path, *trimmed).ok();
}

}  // namespace corvane
