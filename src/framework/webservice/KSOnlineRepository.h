#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// One repository of the maker's online directory.
struct KSOnlineRepository {
    std::string name;
    // The repository's address, http or https.
    std::string location;
    std::optional<std::string> description;
    // http or https only.
    std::optional<std::string> iconURL;

    // nullopt for an entry that is not an object, has no "name" or no http or https "location".
    static std::optional<KSOnlineRepository> fromJSON(const foundation::Value& entry);
};

}  // namespace corvane
