#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/Value.h"

namespace corvane {

// Fetches depictions and the pages they link to (a changelog, a screenshot gallery): http and
// https only, never from a cache, and no larger than a page can reasonably be. A page reached
// through a link carries no device headers: its host is named by outside data.
class KSDepictionPageLoader {
  public:
    static constexpr std::int64_t kMaximumPageBytes = std::int64_t{2} << 20;
    static constexpr double kTimeoutSeconds = 30;

    // The body of a 2xx answer, else nullopt; on a global background queue, exactly once.
    using Completion = std::function<void(std::optional<foundation::Bytes> body)>;

    static void load(const foundation::URL& url, Completion completion);
    // The request as the caller made it (a depiction of a repository, with the headers that
    // repository may see).
    static void load(foundation::URLRequest request, Completion completion);
};

}  // namespace corvane
