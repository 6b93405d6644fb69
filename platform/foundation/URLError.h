#pragma once

#include <string>

#include "foundation/Error.h"

namespace foundation {

// The errors of URL loading, in the domain and with the codes that callers compare against.
class URLError {
  public:
    static constexpr const char* kDomain = "NSURLErrorDomain";
    static constexpr const char* kFailingURLStringKey = "NSErrorFailingURLStringKey";

    enum Code : long {
        Unknown = -1,
        Cancelled = -999,
        BadURL = -1000,
        TimedOut = -1001,
        UnsupportedURL = -1002,
        CannotFindHost = -1003,
        CannotConnectToHost = -1004,
        NetworkConnectionLost = -1005,
        HTTPTooManyRedirects = -1007,
        BadServerResponse = -1011,
        FileDoesNotExist = -1100,
        DataLengthExceedsMaximum = -1103,
        SecureConnectionFailed = -1200,
        ServerCertificateUntrusted = -1202,
        CannotCreateFile = -3000,
        CannotWriteToFile = -3003,
    };

    // An error of this domain with its usual description and the failing URL in user info.
    static Error make(Code code, const std::string& failingURL);
};

}  // namespace foundation
