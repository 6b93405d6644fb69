#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// One word of a queue string: "identifier", "identifier=version", with "-" at the end for a
// removal and "+" for a reinstall.
struct KSAPTQueueEntry {
    std::string identifier;
    std::optional<std::string> version;
    bool removal = false;
    bool reinstall = false;

    // Every word checked against Debian's grammars; the first refused one is the error.
    static foundation::Result<std::vector<KSAPTQueueEntry>> parse(std::string_view queueString);
    // The identifiers of the words, whether or not they pass the grammar.
    static std::vector<std::string> identifiersOf(std::string_view queueString);
    // The identifiers of the words that parse() would refuse.
    static std::vector<std::string> refusedIdentifiersOf(std::string_view queueString);
    static foundation::Error invalidPackageError(const std::string& identifier);
    static foundation::Error invalidVersionError(const std::string& identifier,
                                                 const std::string& version);

    // The argument apt-get takes: "identifier", "identifier=version", "identifier-".
    std::string aptArgument() const;
    // The queue string's word, with the reinstall mark.
    std::string queueWord() const;
};

}  // namespace corvane
