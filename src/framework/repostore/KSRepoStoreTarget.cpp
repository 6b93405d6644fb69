#include "framework/repostore/KSRepoStoreTarget.h"

#include "framework/debian/DebianGrammar.h"
#include "framework/repostore/KSRepoStoreError.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

foundation::Result<KSRepoStoreTarget> KSRepoStoreTarget::forSourceLocation(
    const std::string& location) {
    auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location);
    std::optional<KSRepoStoreEndpoint> endpoint;
    if (source && source->hasEndpoint && source->endpoint)
        endpoint = KSRepoStoreEndpoint::withString(*source->endpoint);
    if (!endpoint)
        return KSRepoStoreError::make(KSRepoStoreError::NoEndpoint,
                                      "This repository does not support payments.");
    return KSRepoStoreTarget{location, std::move(*endpoint),
                             KSRepoStoreCredentials::forLocation(location)};
}

foundation::Result<KSRepoStoreTarget> KSRepoStoreTarget::forPackage(const std::string& identifier) {
    std::optional<KSRPackage> package;
    if (isValidPackageName(identifier))
        package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    if (!package || !package->sourceLocation)
        return KSRepoStoreError::make(KSRepoStoreError::UnknownPackage,
                                      "This package is not known to any repository.");
    return forSourceLocation(*package->sourceLocation);
}

foundation::Result<KSRepoStoreTarget> KSRepoStoreTarget::signedIn(
    foundation::Result<KSRepoStoreTarget> target) {
    if (target && !target->credentials.isComplete())
        return KSRepoStoreError::make(KSRepoStoreError::NotSignedIn,
                                      "You are not signed in to this repository.");
    return target;
}

}  // namespace corvane
