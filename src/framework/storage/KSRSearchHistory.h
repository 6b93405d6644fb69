#pragma once

#include <string>

#include "store/Schema.h"

namespace corvane {

// One text the user searched for, and when it was last searched.
struct KSRSearchHistory {
    std::string searchText;
    double date = 0;

    static const store::Schema<KSRSearchHistory>& schema() {
        static const auto schema = store::Schema<KSRSearchHistory>("KSRSearchHistory", "searchText")
                                       .property("searchText", &KSRSearchHistory::searchText)
                                       .date("date", &KSRSearchHistory::date);
        return schema;
    }
};

}  // namespace corvane
