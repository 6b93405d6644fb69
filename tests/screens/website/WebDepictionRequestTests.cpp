#include "screens/website/WebDepictionRequest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

// The headers of the request for the depiction at address that say who the device is.
std::vector<std::string> identifyingHeaders(const std::string& address) {
    const auto url = foundation::URL::withString(address);
    EXPECT_TRUE(url) << address;
    if (!url)
        return {};
    const auto request = WebDepictionRequest::make(*url, "https://repo.example/", true);
    std::vector<std::string> found;
    for (const char* name :
         {"X-Cydia-ID", "X-Unique-ID", "X-Firmware", "X-Machine", "Payment-Provider"})
        if (request.valueForHTTPHeaderField(name))
            found.emplace_back(name);
    if (request.valueForHTTPHeaderField("User-Agent") == WebDepictionRequest::kUserAgentDark)
        found.emplace_back("User-Agent");
    return found;
}

// A name is one host: one that merely ends or begins with the repository's, or lies below it,
// is someone else's, and so is the repository's host on another port.
TEST(WebDepictionRequestTests, OnlyTheRepositorysOwnHostLearnsWhoTheDeviceIs) {
    testing_support::TempDeviceRoot root;
    const std::vector<std::string> all = {"X-Cydia-ID", "X-Unique-ID",      "X-Firmware",
                                          "X-Machine",  "Payment-Provider", "User-Agent"};
    EXPECT_EQ(identifyingHeaders("https://repo.example/depictions/tweak.html"), all);
    EXPECT_EQ(identifyingHeaders("http://REPO.example/depictions/tweak.html"), all)
        << "host names are compared without case, whatever the scheme";
    for (const char* elsewhere :
         {"https://evilrepo.example/depictions/tweak.html", "https://my-repo.example/",
          "https://cdn.repo.example/tweak.html", "https://repo.example.evil.example/",
          "https://repo.example:8443/tweak.html", "https://example/"}) {
        EXPECT_EQ(identifyingHeaders(elsewhere), std::vector<std::string>{}) << elsewhere;
    }
}

}  // namespace
}  // namespace corvane
