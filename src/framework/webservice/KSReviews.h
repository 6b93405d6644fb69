#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// One review of a package as the web service lists it.
struct KSReviews {
    std::string title;
    // The review text.
    std::string desc;
    // The reviewer.
    std::string name;
    // 1 to 5.
    int rating = 1;
    std::int64_t upvotes = 0;
    std::int64_t downvotes = 0;
    // The developer's reply; nullopt when there is none.
    std::optional<std::string> reply;

    // nullopt for an entry that is not an object or whose "rating" is not a number from 1 to 5.
    static std::optional<KSReviews> fromJSON(const foundation::Value& entry);
};

}  // namespace corvane
