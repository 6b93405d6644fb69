#pragma once

#include <string>

#include "webkit/LegacyWebView.h"

namespace corvane {

// The 300 by 250 advertising slot that packages of the BigBoss repository carry in their
// description, as the repository's own depiction site shows it.
class PackageAdvertisement {
  public:
    static constexpr const char* kScriptAddress =
        "https://ads.display-network.example.org/pagead/js/adsbygoogle.js";
    static constexpr const char* kClientIdentifier = "ca-pub-0000000000000000";
    static constexpr const char* kSlotIdentifier = "0000000000";
    static constexpr const char* kInformationSite = "http://moreinfo.bigboss.example.org";

    // The slot's page, loaded with the package's depiction page on the information site as its
    // base.
    static void load(webkit::LegacyWebView& webView, const std::string& packageName);
    static std::string html();
    // The depiction page of the package: its name without spaces, in lower case, with "Dp".
    static std::string baseAddress(const std::string& packageName);
};

}  // namespace corvane
