#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "uikit/Image.h"

namespace corvane {

// A developer's picture from the address their profile gives: http or https only, no larger
// than a picture reasonably is, a 2xx answer that decodes as an image, else none.
class KSAvatarImage {
  public:
    static constexpr std::int64_t kMaximumBytes = std::int64_t{2} << 20;
    static constexpr double kTimeoutSeconds = 30;
    using Completion = std::function<void(std::shared_ptr<uikit::Image> image)>;

    // The completion runs once, on the main thread; with null when there is no picture.
    static void fetch(const std::string& address, Completion completion);
};

}  // namespace corvane
