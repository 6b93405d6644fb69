#include "app/presentations/KSShareTexts.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Localization.h"

namespace corvane {

namespace {

constexpr const char* kPackageTemplate =
    "Check out \"%@\" by %@ from the source \"%@\" on Corvane !%@(See the package : "
    "corvane://show/shared=Corvane&name=%@&bundleid=%@&repo=%@)";
constexpr const char* kSourceTemplate =
    "Check out the source \"%@\" maintained by %@ on Corvane!%@(Add the source : "
    "corvane://add/repo=%@)";

}  // namespace

std::string KSShareTexts::packageText(const KSRPackage& package,
                                      const std::optional<KSRSource>& source) {
    std::string name = package.name.value_or(package.identifier);
    std::string linkName = name;
    std::ranges::replace(linkName, ' ', '+');
    std::string sourceName = kRemovedSource;
    std::string sourceLocation = kRemovedSource;
    if (source) {
        sourceName = source->name.value_or(source->location);
        sourceLocation = source->location;
    }
    return foundation::format(foundation::localized(kPackageTemplate), name,
                              package.maintainer.value_or(""), sourceName, "\n", linkName,
                              package.identifier, sourceLocation);
}

std::string KSShareTexts::sourceText(const KSRSource& source) {
    return foundation::format(foundation::localized(kSourceTemplate),
                              source.name.value_or(source.location), source.maintainer.value_or(""),
                              "\n", source.location);
}

std::string KSShareTexts::allSourcesText(const std::vector<std::string>& locations) {
    std::string text;
    for (const auto& location : locations) {
        if (!text.empty())
            text += "\n";
        text += location;
    }
    return text;
}

}  // namespace corvane
