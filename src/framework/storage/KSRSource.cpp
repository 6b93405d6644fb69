#include "framework/storage/KSRSource.h"

#include "foundation/Digest.h"
#include "framework/device/KSPaths.h"

namespace corvane {

std::string KSRSource::iconPath() const {
    return KSPaths::iconCacheDirectory() + "/" + foundation::md5Hex(iconURL.value_or("")) + ".png";
}

const store::Schema<KSRSource>& KSRSource::schema() {
    using S = KSRSource;
    static const auto schema = store::Schema<S>("KSRSource", "location")
                                   .property("location", &S::location)
                                   .property("name", &S::name)
                                   .property("Description", &S::Description)
                                   .property("maintainer", &S::maintainer)
                                   .property("contact", &S::contact)
                                   .property("iconURL", &S::iconURL)
                                   .property("hasEndpoint", &S::hasEndpoint)
                                   .property("endpoint", &S::endpoint)
                                   .property("isUsingInfoJson", &S::isUsingInfoJson)
                                   .property("seeOriginalDepictions", &S::seeOriginalDepictions)
                                   .property("isTrusted", &S::isTrusted)
                                   .property("isUnsafe", &S::isUnsafe)
                                   .property("isFollowed", &S::isFollowed)
                                   .property("hasErrors", &S::hasErrors)
                                   .property("errorDescription", &S::errorDescription)
                                   .date("lastRefreshDate", &S::lastRefreshDate)
                                   .date("releaseDate", &S::releaseDate)
                                   .property("lastModified", &S::lastModified)
                                   .property("packagesCount", &S::packagesCount);
    return schema;
}

}  // namespace corvane
