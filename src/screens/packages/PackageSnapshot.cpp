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

const foundation::Value& PackageSnapshot::field(const foundation::Value::Dictionary& copy,
                                                const std::string& key) {
    static const foundation::Value nil;
    auto found = copy.find(key);
    return found == copy.end() ? nil : found->second;
}

std::string PackageSnapshot::text(const foundation::Value::Dictionary& copy,
                                  const std::string& key) {
    const foundation::Value& value = field(copy, key);
    return value.isString() && foundation::isPresentText(value) ? value.stringValue() : "";
}

}  // namespace corvane
