#pragma once

#include <string>

#include "foundation/Result.h"
#include "framework/repostore/KSRepoStoreCredentials.h"
#include "framework/repostore/KSRepoStoreEndpoint.h"

namespace corvane {

// Where a request of the payment-endpoint protocol goes and as whom: the stored source, its
// endpoint (checked again, as stored records may be older than the checks) and the credentials
// the keychain holds for it.
struct KSRepoStoreTarget {
    std::string location;
    KSRepoStoreEndpoint endpoint;
    KSRepoStoreCredentials credentials;

    // NoEndpoint when the source is unknown or has no usable endpoint.
    static foundation::Result<KSRepoStoreTarget> forSourceLocation(const std::string& location);
    // The target of the package's source; UnknownPackage for a name outside Debian's grammar or
    // a package that is not stored.
    static foundation::Result<KSRepoStoreTarget> forPackage(const std::string& identifier);
    // The target itself when both secrets are stored, else NotSignedIn: requests that need the
    // user are never sent for nobody.
    static foundation::Result<KSRepoStoreTarget> signedIn(
        foundation::Result<KSRepoStoreTarget> target);
};

}  // namespace corvane
