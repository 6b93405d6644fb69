#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// A developer as the maker's service knows them, for the developer page.
struct KSDeveloperProfile {
    // The name the developer's packages give as maintainer.
    std::string name;
    // The display name; the name when the service has none.
    std::string fullName;
    // http or https only.
    std::optional<std::string> avatarURL;
    std::optional<std::string> bio;
    // http or https only.
    std::optional<std::string> website;
    std::optional<std::string> twitter;

    // nullopt for an entry that is not an object or has neither "name" nor "fullName".
    static std::optional<KSDeveloperProfile> fromJSON(const foundation::Value& entry);
};

}  // namespace corvane
