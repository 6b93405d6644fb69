#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Error.h"
#include "foundation/URLSessionDataTask.h"
#include "uikit/Image.h"

namespace corvane {

// Fetches images from outside for screens and shares: http and https only, no larger than
// kMaximumBytes, and only a 2xx reply whose body decodes is an image, so an error page never
// passes for one. A failure says whether asking again may help (no network, a time-out, the
// server's own trouble) or not (the address is gone or serves no image), so that callers drop
// what they stored only on a definite answer.
class KSImageFetcher {
  public:
    static constexpr std::int64_t kMaximumBytes = std::int64_t{16} << 20;
    static constexpr double kTimeoutSeconds = 30;

    enum class Outcome { image, temporaryFailure, definiteFailure };
    struct Result {
        Outcome outcome = Outcome::definiteFailure;
        // Only with Outcome::image.
        std::shared_ptr<uikit::Image> image;
    };
    using Completion = std::function<void(Result result)>;
    using ImagesCompletion = std::function<void(std::vector<std::shared_ptr<uikit::Image>>)>;

    // Seconds a server may stay silent before a fetch gives up: kTimeoutSeconds unless set.
    static double timeoutSeconds();
    static void setTimeoutSeconds(double seconds);

    // The completion runs exactly once, never on the calling thread: on the URL-loading queue,
    // or on a global queue for an address that is not fetched at all.
    static void fetch(std::string_view address, Completion completion);
    // One address after the other; the completion runs on the main thread with the images in
    // the order of their addresses, whatever failed left out.
    static void fetchInOrder(std::vector<std::string> addresses, ImagesCompletion completion);

    // What a finished request amounts to.
    static Result resultOf(const std::optional<foundation::URLSessionDataTask::Data>& data,
                           const std::optional<foundation::HTTPURLResponse>& response,
                           const std::optional<foundation::Error>& error);
};

}  // namespace corvane
