#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "foundation/URL.h"
#include "foundation/Value.h"

namespace corvane {

// Fetches the pages a depiction links to (a changelog, a screenshot gallery) the way the
// repository pages themselves are fetched: with the device headers, http and https only, and no
// larger than a page can reasonably be.
class KSDepictionPageLoader {
  public:
    static constexpr std::int64_t kMaximumPageBytes = std::int64_t{2} << 20;
    static constexpr double kTimeoutSeconds = 30;

    // The body of a 2xx answer, else nullopt; on a global background queue, exactly once.
    using Completion = std::function<void(std::optional<foundation::Bytes> body)>;

    static void load(const foundation::URL& url, Completion completion);
};

}  // namespace corvane
