#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Schema.h"

namespace store_test {

struct Version {
    std::string key;
    std::string version;

    static const store::Schema<Version>& schema() {
        static const auto schema = store::Schema<Version>("Version", "key")
                                       .property("key", &Version::key)
                                       .property("version", &Version::version);
        return schema;
    }
};

struct Package {
    std::string identifier;
    std::optional<std::string> name;
    std::optional<std::string> maintainer;
    std::string section = "Tweaks";
    bool isInstalled = false;
    std::optional<bool> isHeld;
    std::int64_t queueOperation = 0;
    double rating = 0;
    std::optional<double> installDate;
    std::vector<std::string> installedFiles;
    std::vector<Version> availableVersions;

    static const store::Schema<Package>& schema() {
        static const auto schema = store::Schema<Package>("Package", "identifier")
                                       .property("identifier", &Package::identifier)
                                       .property("name", &Package::name)
                                       .property("maintainer", &Package::maintainer)
                                       .property("section", &Package::section)
                                       .property("isInstalled", &Package::isInstalled)
                                       .property("isHeld", &Package::isHeld)
                                       .property("queueOperation", &Package::queueOperation)
                                       .property("rating", &Package::rating)
                                       .date("installDate", &Package::installDate)
                                       .property("installedFiles", &Package::installedFiles)
                                       .property("availableVersions", &Package::availableVersions)
                                       .indexed({"isInstalled"});
        return schema;
    }
};

struct Source {
    std::string location;
    std::optional<std::string> name;

    static const store::Schema<Source>& schema() {
        static const auto schema = store::Schema<Source>("Source", "location")
                                       .property("location", &Source::location)
                                       .property("name", &Source::name);
        return schema;
    }
};

inline Package package(std::string identifier, std::optional<std::string> name = std::nullopt) {
    Package p;
    p.identifier = std::move(identifier);
    p.name = std::move(name);
    return p;
}

}  // namespace store_test
