#include "screens/packages/PackageSnapshot.h"

#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

namespace {

foundation::Value::Dictionary withoutNil(foundation::Value::Dictionary values) {
    std::erase_if(values, [](const auto& entry) { return entry.second.isNil(); });
    return values;
}

}  // namespace

foundation::Value::Dictionary PackageSnapshot::packageDictionary(const std::string& identifier) {
    auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    if (!package)
        return {{"isFree", foundation::Value(false)}};
    auto values = withoutNil(KSRPackage::schema().dictionary(&*package));
    values["isFree"] = foundation::Value(package->isFree());
    return values;
}

std::optional<foundation::Value::Dictionary> PackageSnapshot::sourceDictionary(
    const std::string& location) {
    auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location);
    if (!source)
        return std::nullopt;
    return withoutNil(KSRSource::schema().dictionary(&*source));
}

}  // namespace corvane
