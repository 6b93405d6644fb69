#pragma once

#include <optional>
#include <string>

namespace corvane {

// What a URL of the application's own scheme asks for, as read by KSURLSchemeGrammar.
struct KSURLSchemeRequest {
    enum class Action { addRepository, showPackage, showDeveloper };

    Action action = Action::addRepository;
    // The repository to add; for showPackage the package's repository, empty when none was named.
    std::string repository;
    // A valid package name (showPackage).
    std::string packageIdentifier;
    std::optional<std::string> packageName;
    // Not empty (showDeveloper).
    std::string developerName;

    bool operator==(const KSURLSchemeRequest&) const = default;
};

}  // namespace corvane
