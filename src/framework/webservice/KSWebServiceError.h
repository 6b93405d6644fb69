#pragma once

namespace corvane {

// The errors of the web-service clients that are not transport errors (those keep the URL
// loading domain).
struct KSWebServiceError {
    static constexpr const char* kDomain = "KSWebServiceErrorDomain";

    enum Code : long {
        NoAddress = 1,           // neither the preference nor the environment names the service
        UnsupportedAddress = 2,  // the configured address is not an http or https base address
        BadStatus = 3,           // the service answered with a status outside 200-299
        MalformedReply = 4,      // the reply is not JSON or not of the documented shape
        NotSignedIn = 5,         // the request needs the signed-in account
        InvalidRequest = 6,      // the caller's values cannot be sent
    };
};

}  // namespace corvane
