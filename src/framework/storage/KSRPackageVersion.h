#pragma once

#include <optional>
#include <string>

#include "store/Schema.h"

namespace corvane {

// One version of a package as one source publishes it. A package record lists the versions of
// every source that carries it, so the version menu can offer each of them.
struct KSRPackageVersion {
    // "identifier|version|sourceLocation": a source publishes one file per package version.
    std::string key;
    std::string identifier;
    std::string version;
    std::optional<std::string> sourceLocation;
    std::optional<std::string> filename;

    static std::string makeKey(const std::string& identifier, const std::string& version,
                               const std::optional<std::string>& sourceLocation) {
        return identifier + "|" + version + "|" + sourceLocation.value_or("");
    }

    static const store::Schema<KSRPackageVersion>& schema() {
        static const auto schema =
            store::Schema<KSRPackageVersion>("KSRPackageVersion", "key")
                .property("key", &KSRPackageVersion::key)
                .property("identifier", &KSRPackageVersion::identifier)
                .property("version", &KSRPackageVersion::version)
                .property("sourceLocation", &KSRPackageVersion::sourceLocation)
                .property("filename", &KSRPackageVersion::filename);
        return schema;
    }
};

}  // namespace corvane
