#include "screens/packages/PackageAdvertisement.h"

#include "foundation/Strings.h"
#include "foundation/URL.h"

namespace corvane {

std::string PackageAdvertisement::html() {
    return std::string("<script async src=\"") + kScriptAddress +
           "\"></script>\n"
           "<!-- BigBoss 300x250 -->\n"
           "<ins class=\"adsbygoogle\" style=\"display:inline-block;width:300px;height:250px\" "
           "data-ad-client=\"" +
           kClientIdentifier + "\" data-ad-slot=\"" + kSlotIdentifier +
           "\"></ins>\n"
           "<script>(adsbygoogle = window.adsbygoogle || []).push({});</script>";
}

std::string PackageAdvertisement::baseAddress(const std::string& packageName) {
    const std::string file = foundation::lowercase(foundation::replace(packageName, " ", ""));
    // The name comes from the repository: it stays one value of the query.
    std::string value = foundation::percentEncode(file, foundation::PercentEncoding::PathComponent);
    value = foundation::replace(value, "&", "%26");
    value = foundation::replace(value, "=", "%3D");
    return std::string(kInformationSite) + "/moreinfo/depiction.php?file=" + value + "Dp";
}

void PackageAdvertisement::load(webkit::LegacyWebView& webView, const std::string& packageName) {
    webView.loadHTMLString(html(), foundation::URL::withString(baseAddress(packageName)));
}

}  // namespace corvane
