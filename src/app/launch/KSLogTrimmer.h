#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Keeps the log from growing without end: a log of kTrimThreshold lines or more is cut to its
// last kKeptLines lines. The text is handled as bytes, so a log with invalid UTF-8 is cut all the
// same, and cuts fall between whole lines.
class KSLogTrimmer {
  public:
    static constexpr std::size_t kTrimThreshold = 5001;
    static constexpr std::size_t kKeptLines = 4000;

    // Lines end at "\n"; a last line without one counts too.
    static std::size_t lineCount(std::string_view text);
    // The last kKeptLines lines, or nothing when the text is below the threshold.
    static std::optional<std::string> trimmedText(std::string_view text);
    // Replaces the file atomically with its trimmed text; false when it was left as it was
    // (short enough, unreadable or not writable).
    static bool trimLogFile(const std::string& path);
};

}  // namespace corvane
