#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// A URL handed over from outside, or a path or text that came with one, as it may appear in a log
// line: one line of sane length. Control characters become "?", so the text can neither end the
// line nor fake another one, and a long text is cut after kMaximumBytes at a character
// boundary, with "…" to say so.
class KSLoggedURL {
  public:
    static constexpr std::size_t kMaximumBytes = 200;

    static std::string text(std::string_view url);
};

}  // namespace corvane
