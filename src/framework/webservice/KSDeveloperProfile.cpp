#include "framework/webservice/KSDeveloperProfile.h"

#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

std::optional<KSDeveloperProfile> KSDeveloperProfile::fromJSON(const foundation::Value& entry) {
    auto name = KSWebServiceFields::text(entry["name"]);
    auto fullName = KSWebServiceFields::text(entry["fullName"]);
    if (!name && !fullName) {
        return std::nullopt;
    }
    KSDeveloperProfile profile;
    profile.name = name.value_or(*fullName);
    profile.fullName = fullName.value_or(*name);
    profile.avatarURL = KSWebServiceFields::webAddress(entry["avatarURL"]);
    profile.bio = KSWebServiceFields::text(entry["bio"]);
    profile.website = KSWebServiceFields::webAddress(entry["website"]);
    profile.twitter = KSWebServiceFields::text(entry["twitter"]);
    return profile;
}

}  // namespace corvane
