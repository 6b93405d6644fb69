#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"

namespace corvane {

// The package page's copies of the stored records it shows, read by property name: every
// property of the record's schema that holds a value, lists as arrays. Later changes to the
// stored records do not reach a copy.
class PackageSnapshot {
  public:
    // The package's properties and "isFree"; for an identifier that is not stored, only "isFree"
    // = NO.
    static foundation::Value::Dictionary packageDictionary(const std::string& identifier);
    // Nothing when no source has the location.
    static std::optional<foundation::Value::Dictionary> sourceDictionary(
        const std::string& location);

    // Reading a copy: the value of a key (nil when absent), and its text when it is present
    // text ("" otherwise).
    static const foundation::Value& field(const foundation::Value::Dictionary& copy,
                                          const std::string& key);
    static std::string text(const foundation::Value::Dictionary& copy, const std::string& key);
};

}  // namespace corvane
