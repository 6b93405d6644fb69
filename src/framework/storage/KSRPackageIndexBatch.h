#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRPackageIndexSummary.h"

namespace corvane {

// What the preparing side of an import hands the writing side: records by value, so that the two
// threads share nothing.
struct KSRPackageIndexBatch {
    // Records that differ from what is stored, or that are not stored yet.
    std::vector<KSRPackage> changed;
    // The last batch only: records of packages the index no longer lists and nobody keeps, this
    // source's versions it no longer lists, and what the whole import did.
    std::vector<KSRPackage> deleted;
    std::vector<std::string> vanishedVersionKeys;
    std::optional<KSRPackageIndexSummary> summary;
    bool last = false;
    // The reason the text is no index, found while reading this batch.
    std::optional<foundation::Error> unreadable;
};

}  // namespace corvane
