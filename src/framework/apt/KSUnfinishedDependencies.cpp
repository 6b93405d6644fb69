#include "framework/apt/KSUnfinishedDependencies.h"

#include <set>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/apt/KSUnfinishedPackages.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

namespace {

constexpr const char* kLine =
    "%@ (%@) needs %@, which an interrupted operation left unfinished: reinstall or remove %@ "
    "from its page first.";

std::optional<KSRPackage> storedPackage(const std::string& identifier) {
    return KSDatabase::realm()
        .objectsWhere<KSRPackage>("identifier ==[c] %@", identifier)
        .firstObject();
}

std::string displayName(const std::optional<KSRPackage>& record, const std::string& identifier) {
    return record && record->name && !record->name->empty() ? *record->name : identifier;
}

}  // namespace

std::vector<std::string> KSUnfinishedDependencies::linesFor(
    const std::vector<KSAPTQueueEntry>& entries) {
    const auto unfinished = KSUnfinishedPackages::read();
    if (!unfinished || unfinished->empty())
        return {};
    std::set<std::string> hindering;
    for (const auto& name : unfinished->all())
        hindering.insert(foundation::lowercase(name));
    for (const auto& entry : entries)
        hindering.erase(foundation::lowercase(entry.identifier));
    std::vector<std::string> lines;
    for (const auto& entry : entries) {
        const auto record = entry.removal ? std::nullopt : storedPackage(entry.identifier);
        if (!record)
            continue;
        for (const auto& dependency : record->dependencies)
            for (const auto& name : namesOf(dependency))
                if (hindering.contains(name)) {
                    const auto needed = displayName(storedPackage(name), name);
                    lines.push_back(foundation::format(foundation::localized(kLine),
                                                       displayName(record, entry.identifier),
                                                       entry.identifier, needed, needed));
                }
    }
    return lines;
}

std::vector<std::string> KSUnfinishedDependencies::namesOf(const std::string& entry) {
    std::vector<std::string> names;
    for (const auto& alternative : foundation::split(entry, "|")) {
        const auto trimmed = foundation::trimmed(alternative);
        const auto end = trimmed.find_first_of(" (:");
        names.push_back(foundation::lowercase(trimmed.substr(0, end)));
    }
    return names;
}

}  // namespace corvane
