#pragma once

#include <string>

#include "framework/storage/KSRSearchHistory.h"
#include "store/Results.h"

namespace corvane {

// The texts the user searched for.
class KSRSearchHistories {
  public:
    // Stores the text, or moves a stored one to now; blank text is not kept.
    void addSearchText(const std::string& text);
    // Newest first.
    store::Results<KSRSearchHistory> searchHistories() const;
};

}  // namespace corvane
