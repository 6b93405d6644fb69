#include "framework/tasks/KSAPTFileNames.h"

#include <algorithm>
#include <cstdio>

namespace corvane {

std::string KSAPTFileNames::quote(std::string_view text, std::string_view bad) {
    std::string quoted;
    quoted.reserve(text.size());
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (bad.find(character) != std::string_view::npos || character == '%' || byte <= 0x20 ||
            byte >= 0x7F) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02x", byte);
            quoted += escape;
        } else {
            quoted += character;
        }
    }
    return quoted;
}

std::string KSAPTFileNames::listFileName(std::string_view location, std::string_view indexName) {
    // APT drops the scheme (and any credentials, which stored locations never hold), quotes
    // what could confuse a file name, and turns every '/' into '_'.
    if (const auto scheme = location.find("://"); scheme != std::string_view::npos)
        location.remove_prefix(scheme + 3);
    std::string uri(location);
    if (uri.empty() || uri.back() != '/')
        uri += '/';
    uri += "./";
    uri += indexName;
    auto name = quote(uri, "\\|{}[]<>\"^~_=!@#$%^&*");
    std::ranges::replace(name, '/', '_');
    return name;
}

std::string KSAPTFileNames::archiveFileName(std::string_view package, std::string_view version,
                                            std::string_view architecture) {
    // APT keeps package names in lower case.
    std::string name(package);
    std::ranges::transform(name, name.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return quote(name, "_:") + "_" + quote(version, "_:") + "_" + quote(architecture, "_:.") +
           ".deb";
}

}  // namespace corvane
