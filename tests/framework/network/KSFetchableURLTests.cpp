#include <gtest/gtest.h>

#include "foundation/URL.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/repostore/KSRepoStoreEndpoint.h"

namespace corvane {
namespace {

using foundation::URL;

TEST(KSFetchableURL, OnlyWebAddressesWithAHostPass) {
    for (const char* text : {"http://example.org/a.png", "HTTPS://Example.org/", "  https://x.y/ "})
        EXPECT_TRUE(KSFetchableURL::fromString(text)) << text;
    for (const char* text : {"file:///etc/passwd", "javascript:alert(1)", "mailto:a@b.org",
                             "ftp://example.org/", "data:text/html,x", "http://", "", "x"})
        EXPECT_FALSE(KSFetchableURL::fromString(text)) << text;

    const auto page = URL::withString("https://example.org/dir/page.html").value();
    EXPECT_EQ(KSFetchableURL::fromString("../shot.png", page)->absoluteString(),
              "https://example.org/shot.png");
    EXPECT_FALSE(KSFetchableURL::fromString("file:///etc/passwd", page));

    EXPECT_TRUE(KSFetchableURL::isEncrypted(URL::withString("https://example.org/").value()));
    EXPECT_FALSE(KSFetchableURL::isEncrypted(URL::withString("http://example.org/").value()));
    EXPECT_FALSE(URL::withString("file:///tmp/a")->hasWebScheme());
    EXPECT_TRUE(URL::withString("HTTP://example.org/")->hasWebScheme());
    // Addresses people type are judged by their written scheme before they parse.
    for (const char* text : {"HTTPS://repo.example.org", "http://", "Http://a b"})
        EXPECT_TRUE(URL::textHasWebScheme(text)) << text;
    for (const char* text : {"repo.example.org/http://x", "ftp://example.org", "https:/x", "https"})
        EXPECT_FALSE(URL::textHasWebScheme(text)) << text;
}

TEST(KSFetchableURL, ThePaymentEndpointTakesPlainHttpOnlyOnLoopback) {
    EXPECT_TRUE(KSRepoStoreEndpoint::withString("https://pay.example.org/api"));
    EXPECT_TRUE(KSRepoStoreEndpoint::withString("http://127.0.0.1:8080/pay/"));
    EXPECT_FALSE(KSRepoStoreEndpoint::withString("http://pay.example.org/api/"));
    EXPECT_FALSE(KSRepoStoreEndpoint::withString("file:///pay/"));
    EXPECT_FALSE(KSRepoStoreEndpoint::withString("https://pay.example.org/api/?x=1"));
}

}  // namespace
}  // namespace corvane
