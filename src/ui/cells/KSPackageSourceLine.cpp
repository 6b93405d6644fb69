#include "ui/cells/KSPackageSourceLine.h"

#include "foundation/Localization.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"

namespace corvane {

bool KSPackageSourceLine::isPreferred() {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(kPreferenceKey);
}

std::string KSPackageSourceLine::text(const KSRPackage& package) {
    if (!package.sourceLocation)
        return foundation::localized("Unknown");
    const auto stored = source(package);
    return stored ? stored->name.value_or("") : "";
}

std::optional<KSRSource> KSPackageSourceLine::source(const KSRPackage& package) {
    if (!package.sourceLocation)
        return std::nullopt;
    return KSDatabase::realm().objectForPrimaryKey<KSRSource>(*package.sourceLocation);
}

}  // namespace corvane
