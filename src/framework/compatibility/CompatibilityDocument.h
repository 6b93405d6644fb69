#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "foundation/Result.h"
#include "foundation/Value.h"

namespace corvane {

// How a package version fares on the running iOS version; the numbers are the stored codes.
enum class TweakCompatibilityStatus : int {
    Working = 0,
    NotWorking = 1,
    Unknown = 2,
};

// One compatibility document: the reports for one iOS version, as JSON of this shape:
//
//   {"packages": [{"id": "com.example.tweak",
//                  "versions": {"1.0": "working", "1.1": "not working"}}]}
//
// A status other than "working" or "not working", an entry without a text "id" or without a
// "versions" object is passed over; a document that is not JSON, has no "packages" array or is
// larger than kMaximumBytes is an error.
class CompatibilityDocument {
  public:
    static constexpr std::size_t kMaximumBytes = std::size_t{8} << 20;
    static constexpr const char* kErrorDomain = "CompatibilityDocument";

    static foundation::Result<CompatibilityDocument> parse(const foundation::Bytes& data);

    TweakCompatibilityStatus statusFor(const std::string& identifier,
                                       const std::string& version) const;

  private:
    static void addPackage(
        const foundation::Value& entry,
        std::map<std::string, std::map<std::string, TweakCompatibilityStatus>>& statuses);

    std::map<std::string, std::map<std::string, TweakCompatibilityStatus>> statuses_;
};

}  // namespace corvane
