#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "uikit/Image.h"

namespace corvane {

// Downloads a package's screenshots one after another for a share sheet. A screenshot that is
// no web address, cannot be downloaded or does not decode is left out.
class KSScreenshotImages {
  public:
    static constexpr std::int64_t kMaximumBytes = std::int64_t{16} << 20;
    using Completion = std::function<void(std::vector<std::shared_ptr<uikit::Image>> images)>;

    // The completion runs on the main thread with the images in the order of the addresses.
    static void download(std::vector<std::string> addresses, Completion completion);
};

}  // namespace corvane
