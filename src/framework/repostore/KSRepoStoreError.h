#pragma once

#include <string>

#include "foundation/Error.h"

namespace corvane {

// The errors of the payment-endpoint client; the description is what the user is shown.
class KSRepoStoreError {
  public:
    static constexpr const char* kDomain = "KSRepoStoreErrorDomain";

    enum Code : long {
        // The transport failed or the status was neither 200 nor 304.
        CommunicationFailed = 1,
        // The reply was no JSON object.
        ParseFailed = 2,
        // The endpoint's own "error" text.
        EndpointError = 3,
        NoEndpoint = 4,
        NotSignedIn = 5,
        UnknownPackage = 6,
        // The person closed the browser or started another sign-in or purchase.
        Cancelled = 7,
        BrowserUnavailable = 8,
        // A reply that lacks what the protocol requires (a token, a page, an address).
        IncompleteReply = 9,
        // After the payment callback the endpoint does not report the package as bought.
        PurchaseNotConfirmed = 10,
        CredentialsNotStored = 11,
    };

    static foundation::Error make(Code code, std::string description) {
        return foundation::Error::make(kDomain, code, std::move(description));
    }
};

}  // namespace corvane
