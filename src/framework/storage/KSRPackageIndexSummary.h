#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvane {

// What an index import did.
struct KSRPackageIndexSummary {
    std::size_t stored = 0;
    std::size_t refused = 0;
    std::size_t removed = 0;
    // The text of each stanza passed over (no Package field, a refused name or version), in index
    // order: views of the index text, valid as long as it is.
    std::vector<std::string_view> refusedStanzas;
};

}  // namespace corvane
