#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// One message of the maker's news.
struct KSNewsItem {
    std::string identifier;
    std::string title;
    std::string body;
    // As the service writes it ("2021-03-14").
    std::optional<std::string> date;
    // A page with more, http or https only.
    std::optional<std::string> url;

    // nullopt for an entry that is not an object or has no "title".
    static std::optional<KSNewsItem> fromJSON(const foundation::Value& entry);
};

}  // namespace corvane
