#include "foundation/URLError.h"

namespace foundation {

namespace {

const char* describe(URLError::Code code) {
    switch (code) {
        case URLError::Cancelled:
            return "cancelled";
        case URLError::BadURL:
            return "bad URL";
        case URLError::TimedOut:
            return "The request timed out.";
        case URLError::UnsupportedURL:
            return "unsupported URL";
        case URLError::CannotFindHost:
            return "A server with the specified hostname could not be found.";
        case URLError::CannotConnectToHost:
            return "Could not connect to the server.";
        case URLError::NetworkConnectionLost:
            return "The network connection was lost.";
        case URLError::HTTPTooManyRedirects:
            return "too many HTTP redirects";
        case URLError::BadServerResponse:
            return "bad server response";
        case URLError::FileDoesNotExist:
            return "The requested file does not exist.";
        case URLError::DataLengthExceedsMaximum:
            return "resource exceeds maximum size";
        case URLError::SecureConnectionFailed:
            return "A secure connection to the server could not be made.";
        case URLError::ServerCertificateUntrusted:
            return "The certificate for this server is invalid.";
        case URLError::CannotCreateFile:
            return "The file could not be created.";
        case URLError::CannotWriteToFile:
            return "The file could not be written.";
        case URLError::Unknown:
            break;
    }
    return "An unknown error occurred.";
}

}  // namespace

Error URLError::make(Code code, const std::string& failingURL) {
    Error error = Error::make(kDomain, code, describe(code));
    error.userInfo.mutableDictionary()[kFailingURLStringKey] = failingURL;
    return error;
}

}  // namespace foundation
