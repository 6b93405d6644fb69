#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The one place where words become a shell command line. Each word is single-quoted, so the
// shell takes it literally whatever it holds; the caller still checks outside data against
// its grammar first, so that a hostile word is refused rather than merely made harmless.
class ShellQuote {
  public:
    // "it's" -> 'it'\''s'
    static std::string quote(std::string_view word);
    // The words quoted one by one and joined with single spaces.
    static std::string join(const std::vector<std::string>& words);
};

}  // namespace corvane
