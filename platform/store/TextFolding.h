#pragma once

#include <string>
#include <string_view>

namespace store {

// The [c] and [d] comparison modifiers: text folded so that case and diacritics no longer tell
// two texts apart ("Café" and "CAFE" fold alike with both), with ICU's Unicode rules.
class TextFolding {
  public:
    static constexpr int kCase = 1;
    static constexpr int kDiacritics = 2;

    static std::string fold(std::string_view text, int options);
};

}  // namespace store
