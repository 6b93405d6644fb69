#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Schema.h"

namespace corvane {

// A stored developer, keyed by the name in lower case so that "Jane" and "jane" are one.
struct KSRDeveloper {
    std::string name;
    bool isFollowed = false;
    std::int64_t packagesCount = 0;
    std::vector<std::string> packagesIdentifiers;
    // Packages of this developer that appeared since the user last looked.
    std::vector<std::string> developerNewPackagesIdentifiers;

    static const store::Schema<KSRDeveloper>& schema() {
        using D = KSRDeveloper;
        static const auto schema =
            store::Schema<D>("KSRDeveloper", "name")
                .property("name", &D::name)
                .property("isFollowed", &D::isFollowed)
                .property("packagesCount", &D::packagesCount)
                .property("packagesIdentifiers", &D::packagesIdentifiers)
                .property("developerNewPackagesIdentifiers", &D::developerNewPackagesIdentifiers);
        return schema;
    }
};

}  // namespace corvane
