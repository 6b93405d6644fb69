#pragma once

#include <string>

namespace testing_support {

// A file name that runs commands if it ever reaches a shell unquoted: each would leave the
// marker file in the working folder.
class CommandMarker {
  public:
    static constexpr const char* kMarker = "corvane-pwned";

    // "$(touch corvane-pwned) `touch corvane-pwned`; " and the tail.
    static std::string hostileName(const std::string& tail);
    // True when no such command ran; the marker of one that did is removed for the next test.
    static bool noCommandRan();
};

}  // namespace testing_support
