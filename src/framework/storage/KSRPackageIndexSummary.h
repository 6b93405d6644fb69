#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// What an index import did.
struct KSRPackageIndexSummary {
    // Where a stanza is in the index text.
    struct Place {
        std::uint64_t offset = 0;
        std::size_t length = 0;

        bool operator==(const Place&) const = default;
    };

    std::size_t stored = 0;
    std::size_t refused = 0;
    std::size_t removed = 0;
    // Each stanza passed over (no Package field, a refused name or version), in index order,
    // without its last line end.
    std::vector<Place> refusedStanzas;
};

}  // namespace corvane
