#pragma once

#include <string>

namespace corvane {

// A one-button alert over whatever the key window shows on top, for answers that arrive without
// a screen of their own to present from. Main thread only.
class KSTopmostAlert {
  public:
    // The texts are shown as given (callers localise them). False when no window can show it.
    static bool show(const std::string& title, const std::string& message,
                     const std::string& cancelTitle);
};

}  // namespace corvane
