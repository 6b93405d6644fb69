#include "screens/sources/KSSourceSummary.h"

#include <algorithm>

#include "foundation/DateFormatter.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"
#include "ui/imagecache/KSPersistentImageCache.h"

namespace corvane {

using foundation::localized;

std::string KSSourceSummary::displayName(const KSRSource& source) {
    if (source.name && !source.name->empty())
        return *source.name;
    std::string_view address = source.location;
    if (const auto scheme = address.find("://"); scheme != std::string_view::npos)
        address.remove_prefix(scheme + 3);
    while (address.ends_with('/'))
        address.remove_suffix(1);
    return std::string(address);
}

bool KSSourceSummary::isRefreshing(const std::string& location) {
    const auto tasks = KSPipelineManager::sharedManager().tasksArray();
    return std::ranges::any_of(tasks, [&](const auto& task) {
        auto refresh = std::dynamic_pointer_cast<KSSourceRefreshTask>(task);
        return refresh && refresh->location() == location;
    });
}

std::string KSSourceSummary::state(const KSRSource& source, bool refreshing) {
    if (refreshing)
        return localized("Refreshing…");
    if (source.hasErrors)
        return source.errorDescription.value_or(localized("The last refresh failed."));
    return lastRefresh(source);
}

std::string KSSourceSummary::lastRefresh(const KSRSource& source) {
    if (!source.lastRefreshDate)
        return localized("Never refreshed");
    return foundation::format(
        localized("Refreshed %@"),
        foundation::DateFormatter::longDateShortTime().stringFromDate(*source.lastRefreshDate));
}

std::shared_ptr<uikit::Image> KSSourceSummary::icon(const std::string& location) {
    if (auto own = KSRPackageManager::sharedPackageManager().sources().iconForLocation(location))
        return own;
    return uikit::Image::named(KSPersistentImageCache::kDefaultIconImage);
}

std::int64_t KSSourceSummary::installedPackagesCount(const std::string& location) {
    return static_cast<std::int64_t>(
        KSDatabase::realm()
            .objectsWhere<KSRPackage>("sourceLocation = %@ AND isInstalled = 1", location)
            .count());
}

}  // namespace corvane
