#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/Schema.h"

namespace corvane {

// A stored APT repository, keyed by its normalised address ("https://repo.example.org/").
struct KSRSource {
    std::string location;
    std::optional<std::string> name;
    std::optional<std::string> Description;
    std::optional<std::string> maintainer;
    std::optional<std::string> contact;
    // The repository's own icon, "<location>CydiaIcon.png" unless it names another.
    std::optional<std::string> iconURL;
    // The repository answers the payment-endpoint protocol at endpoint.
    bool hasEndpoint = false;
    std::optional<std::string> endpoint;
    // The source publishes per-package information of its own.
    bool isUsingInfoJson = false;
    // Open the web depiction page instead of the package page.
    bool seeOriginalDepictions = false;
    bool isTrusted = false;
    bool isUnsafe = false;
    bool isFollowed = false;
    bool hasErrors = false;
    std::optional<std::string> errorDescription;
    // When the last refresh of this source finished.
    std::optional<double> lastRefreshDate;
    // The "Date" of its Release file, and the Last-Modified answer of its index, sent back as
    // If-Modified-Since.
    std::optional<double> releaseDate;
    std::optional<std::string> lastModified;
    std::int64_t packagesCount = 0;

    // "<data directory>/IconCache/<md5 of iconURL>.png"; the file may not exist.
    std::string iconPath() const;

    static const store::Schema<KSRSource>& schema();
};

}  // namespace corvane
