#pragma once

#include <string>

#include "foundation/Error.h"

namespace corvane {

// The errors the pipeline's tasks report. Each carries a description of its own, and the
// source or package it concerns under "source" or "packageID".
class KSTaskError {
  public:
    static constexpr const char* kDomain = "com.kestrune.corvane";
    enum Code : long {
        kCancelled = 300,
        kNetwork = 301,           // no reply, or an HTTP status other than 200 and 304
        kMalformedIndex = 302,    // Release or Packages that cannot be read
        kStorage = 303,           // a file could not be written
        kUnsafeFilename = 304,    // a Filename that would leave the archives folder
        kSizeMismatch = 305,      // the archive is not as long as the index says
        kChecksumMismatch = 306,  // the archive's SHA256 is not the index's
        kUnknownPackage = 307,    // nothing to download under that identifier
    };

    static foundation::Error make(Code code, const std::string& description);
    static foundation::Error forSource(Code code, const std::string& description,
                                       const std::string& location);
    static foundation::Error forPackage(Code code, const std::string& description,
                                        const std::string& identifier);
};

}  // namespace corvane
