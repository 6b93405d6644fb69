#include "framework/apt/KSAPTQueueEntry.h"

#include "foundation/Strings.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/debian/DebianGrammar.h"

namespace corvane {

namespace {

std::vector<std::string> wordsOf(std::string_view queueString) {
    std::vector<std::string> words;
    std::string word;
    for (const char character : queueString) {
        if (character == ' ' || character == '\t' || character == '\n') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += character;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

// Splits a word into its entry without checking it.
KSAPTQueueEntry split(std::string word) {
    KSAPTQueueEntry entry;
    if (!word.empty() && (word.back() == '-' || word.back() == '+')) {
        entry.removal = word.back() == '-';
        entry.reinstall = word.back() == '+';
        word.pop_back();
    }
    const auto equals = word.find('=');
    if (equals != std::string::npos) {
        entry.version = word.substr(equals + 1);
        word.resize(equals);
    }
    entry.identifier = std::move(word);
    return entry;
}

}  // namespace

foundation::Error KSAPTQueueEntry::invalidPackageError(const std::string& identifier) {
    auto error = foundation::Error::make(
        KSAPTManager::kErrorDomain, KSAPTManager::kInvalidPackageName,
        "The package identifier \"" + identifier + "\" is not a valid Debian package name.");
    error.userInfo.mutableDictionary()["package"] = identifier;
    return error;
}

foundation::Error KSAPTQueueEntry::invalidVersionError(const std::string& identifier,
                                                       const std::string& version) {
    auto error = foundation::Error::make(
        KSAPTManager::kErrorDomain, KSAPTManager::kInvalidVersion,
        "The version \"" + version + "\" of \"" + identifier + "\" is not a valid Debian version.");
    error.userInfo.mutableDictionary()["package"] = identifier;
    error.userInfo.mutableDictionary()["version"] = version;
    return error;
}

// A removal names no version: "foo=1.0-" would be read by APT as version "1.0-".
static std::optional<foundation::Error> refusalOf(const KSAPTQueueEntry& entry) {
    if (!isValidPackageName(entry.identifier))
        return KSAPTQueueEntry::invalidPackageError(entry.identifier);
    if (entry.version && (entry.removal || !isValidDebianVersion(*entry.version)))
        return KSAPTQueueEntry::invalidVersionError(entry.identifier, *entry.version);
    return std::nullopt;
}

foundation::Result<std::vector<KSAPTQueueEntry>> KSAPTQueueEntry::parse(
    std::string_view queueString) {
    std::vector<KSAPTQueueEntry> entries;
    for (auto& word : wordsOf(queueString)) {
        auto entry = split(std::move(word));
        if (auto refusal = refusalOf(entry))
            return *refusal;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::string> KSAPTQueueEntry::refusedIdentifiersOf(std::string_view queueString) {
    std::vector<std::string> identifiers;
    for (auto& word : wordsOf(queueString)) {
        auto entry = split(std::move(word));
        if (refusalOf(entry))
            identifiers.push_back(std::move(entry.identifier));
    }
    return identifiers;
}

std::vector<std::string> KSAPTQueueEntry::identifiersOf(std::string_view queueString) {
    std::vector<std::string> identifiers;
    for (auto& word : wordsOf(queueString))
        identifiers.push_back(split(std::move(word)).identifier);
    return identifiers;
}

std::string KSAPTQueueEntry::aptArgument() const {
    if (removal)
        return identifier + "-";
    return version ? identifier + "=" + *version : identifier;
}

std::string KSAPTQueueEntry::queueWord() const {
    return reinstall ? aptArgument() + "+" : aptArgument();
}

}  // namespace corvane
