#pragma once

#include <memory>
#include <string>
#include <vector>

namespace uikit {
class View;
}

namespace corvane::journey {

// Where a person's eye finds a title on screen: every visible view that reads it (a button's
// title, a label's text), frontmost first, so that what covers the rest is tried first.
class ScreenFinder {
  public:
    static std::vector<std::shared_ptr<uikit::View>> viewsReading(
        const std::shared_ptr<uikit::View>& root, const std::string& title);
    // Whether a finger on the view's centre touches it, or the control that holds it (a label
    // of a panel that reacts as a whole), rather than something that covers it.
    static bool isReachable(const std::shared_ptr<uikit::View>& root,
                            const std::shared_ptr<uikit::View>& view);
};

}  // namespace corvane::journey
