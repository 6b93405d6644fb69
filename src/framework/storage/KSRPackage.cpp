#include "framework/storage/KSRPackage.h"

#include "foundation/Digest.h"
#include "foundation/Strings.h"
#include "framework/device/KSPaths.h"

namespace corvane {

bool KSRPackage::isFree() const {
    if (!price)
        return true;
    const auto text = foundation::trimmed(*price);
    return text.empty() || text == "0" || text == "0.00" ||
           foundation::caseInsensitiveEquals(text, "free");
}

std::string KSRPackage::iconPath() const {
    return KSPaths::iconCacheDirectory() + "/" + foundation::md5Hex(iconURL.value_or("")) + ".png";
}

const store::Schema<KSRPackage>& KSRPackage::schema() {
    using P = KSRPackage;
    static const auto schema = store::Schema<P>("KSRPackage", "identifier")
                                   .property("identifier", &P::identifier)
                                   .property("name", &P::name)
                                   .property("version", &P::version)
                                   .property("installedVersion", &P::installedVersion)
                                   .property("queuedVersion", &P::queuedVersion)
                                   .property("isInstalled", &P::isInstalled)
                                   .property("isInTheQueue", &P::isInTheQueue)
                                   .property("queueOperation", &P::queueOperation)
                                   .property("isUpdated", &P::isUpdated)
                                   .property("isHeld", &P::isHeld)
                                   .property("hasNewVersion", &P::hasNewVersion)
                                   .property("price", &P::price)
                                   .property("maintainer", &P::maintainer)
                                   .property("maintainerEmail", &P::maintainerEmail)
                                   .property("author", &P::author)
                                   .property("authorEmail", &P::authorEmail)
                                   .property("contact", &P::contact)
                                   .property("Description", &P::Description)
                                   .property("category", &P::category)
                                   .property("subcategory", &P::subcategory)
                                   .property("website", &P::website)
                                   .property("sileoDepiction", &P::sileoDepiction)
                                   .property("iconURL", &P::iconURL)
                                   .property("sourceLocation", &P::sourceLocation)
                                   .property("size", &P::size)
                                   .property("installedSize", &P::installedSize)
                                   .property("filename", &P::filename)
                                   .property("md5sum", &P::md5sum)
                                   .property("sha256", &P::sha256)
                                   .property("architecture", &P::architecture)
                                   .property("depends", &P::depends)
                                   .property("dependencies", &P::dependencies)
                                   .property("conflicts", &P::conflicts)
                                   .property("minosversion", &P::minosversion)
                                   .property("maxosversion", &P::maxosversion)
                                   .property("postinstallaction", &P::postinstallaction)
                                   .property("tag", &P::tag)
                                   .property("installedFiles", &P::installedFiles)
                                   .property("tweakCompatibleStatus", &P::tweakCompatibleStatus)
                                   .property("isPaidThroughSileo", &P::isPaidThroughSileo)
                                   .property("isPaidThroughCydia", &P::isPaidThroughCydia)
                                   .property("isInWishlist", &P::isInWishlist)
                                   .property("myRating", &P::myRating)
                                   .property("screenshots", &P::screenshots)
                                   .property("screenshotsLocalPaths", &P::screenshotsLocalPaths)
                                   .date("installDate", &P::installDate)
                                   .date("initialDate", &P::initialDate)
                                   .property("updatedDateStr", &P::updatedDateStr)
                                   .property("availableVersions", &P::availableVersions)
                                   // The installed and queued packages are read at every
                                   // launch and the news lists after every refresh: none of
                                   // them reads every record. They are few among all the
                                   // packages a refresh stores.
                                   .sparselyIndexed("isInstalled")
                                   .sparselyIndexed("isInTheQueue")
                                   .sparselyIndexed("updatedDateStr");
    return schema;
}

}  // namespace corvane
