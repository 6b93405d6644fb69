#include "framework/network/RepositoryRequest.h"

#include <gtest/gtest.h>

#include <atomic>

#include "device/Identity.h"
#include "foundation/URLSession.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using foundation::URL;
using foundation::URLRequestCachePolicy;

testing_support::CapturedRequest send(testing_support::HttpServer& server,
                                      const foundation::URLRequest& request) {
    foundation::URLSession session(RepositoryRequest::noCacheConfigureation());
    std::atomic<bool> done = false;
    session.dataTaskWithRequest(request, [&done](auto, auto, auto) { done = true; })->resume();
    testing_support::pumpUntil([&done] { return done.load(); });
    const auto requests = server.requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? testing_support::CapturedRequest{} : requests.back();
}

TEST(RepositoryRequest, TheDeviceHeadersReachTheRepository) {
    device::Identity::setModelIdentifier("iPhone10,3");
    device::Identity::setUniqueDeviceIdentifier("0123456789abcdef0123456789abcdef01234567");
    device::Identity::setFirmwareVersion("13.5");
    testing_support::HttpServer server;
    server.route("/Release", {.body = "Origin: Test"});
    server.start();

    const auto release = URL::withString(server.url("/Release"));
    ASSERT_TRUE(release);
    const auto request = RepositoryRequest::requestWithURL(
        *release, RepositoryRequest::kDefaultTimeoutSeconds, 784111777.9);
    EXPECT_EQ(request.timeoutInterval, 30);
    EXPECT_EQ(request.cachePolicy, URLRequestCachePolicy::ReloadIgnoringLocalCacheData);

    const auto received = send(server, request);
    EXPECT_EQ(received.header("User-Agent"), "Telesphoreo APT-HTTP/1.0.592");
    EXPECT_EQ(received.header("X-Machine"), "iPhone10,3");
    EXPECT_EQ(received.header("X-Unique-ID"), "0123456789abcdef0123456789abcdef01234567");
    EXPECT_EQ(received.header("X-Firmware"), "13.5");
    EXPECT_EQ(received.header("If-Modified-Since"), "Sun, 06 Nov 1994 08:49:37 GMT");
}

TEST(RepositoryRequest, TheProcessFactorySendsNoDateUnlessGivenOne) {
    testing_support::HttpServer server;
    server.route("/Packages", {.body = ""});
    server.start();
    const auto packages = URL::withString(server.url("/Packages"));
    ASSERT_TRUE(packages);
    RepositoryRequest::installAsProcessFactory();
    const auto request = foundation::URLRequest::requestWithURL(*packages);
    foundation::URLRequest::setFactory({});
    EXPECT_EQ(request.timeoutInterval, 30);
    EXPECT_EQ(request.cachePolicy, URLRequestCachePolicy::ReloadIgnoringLocalCacheData);

    const auto received = send(server, request);
    EXPECT_EQ(received.header("X-Firmware"), device::Identity::firmwareVersion());
    EXPECT_EQ(received.header("If-Modified-Since"), std::nullopt);
}

TEST(RepositoryRequest, FormatsHttpDatesInGmt) {
    EXPECT_EQ(RepositoryRequest::httpDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
    EXPECT_EQ(RepositoryRequest::httpDate(1582977599), "Sat, 29 Feb 2020 11:59:59 GMT");
    EXPECT_EQ(RepositoryRequest::httpDate(1609459199.999), "Thu, 31 Dec 2020 23:59:59 GMT");
    EXPECT_EQ(RepositoryRequest::httpDate(-1), "Wed, 31 Dec 1969 23:59:59 GMT");
}

TEST(RepositoryRequest, TheNoCacheConfigurationIsEphemeral) {
    const auto configuration = RepositoryRequest::noCacheConfigureation();
    EXPECT_TRUE(configuration.isEphemeral);
    EXPECT_EQ(configuration.requestCachePolicy,
              URLRequestCachePolicy::ReloadIgnoringLocalCacheData);
}

TEST(RepositoryRequest, APageOfTheRepositorysOwnHostAloneLearnsWhoTheDeviceIs) {
    const std::string repository = "http://Apt.Example.org/repofiles/cydia/";
    auto headersFor = [&](const std::string& page) {
        const auto url = URL::withString(page);
        EXPECT_TRUE(url) << page;
        return url ? RepositoryRequest::requestForPageOfRepository(*url, repository)
                   : foundation::URLRequest(URL::fileURL("/"));
    };
    const auto own = headersFor("http://apt.example.org/depiction/x.html");
    EXPECT_TRUE(own.valueForHTTPHeaderField("X-Unique-ID"));
    EXPECT_TRUE(own.valueForHTTPHeaderField("X-Machine"));
    EXPECT_TRUE(own.valueForHTTPHeaderField("X-Firmware"));
    for (const char* elsewhere :
         {"http://tracker.example.net/x.html", "https://apt.example.org/x.html",
          "http://apt.example.org:8080/x.html", "http://apt.example.org.evil.example/x"}) {
        const auto request = headersFor(elsewhere);
        EXPECT_FALSE(request.valueForHTTPHeaderField("X-Unique-ID")) << elsewhere;
        EXPECT_FALSE(request.valueForHTTPHeaderField("X-Machine")) << elsewhere;
        EXPECT_FALSE(request.valueForHTTPHeaderField("X-Firmware")) << elsewhere;
        EXPECT_EQ(request.valueForHTTPHeaderField("User-Agent"),
                  std::string(RepositoryRequest::kUserAgent))
            << elsewhere;
        EXPECT_EQ(request.timeoutInterval, RepositoryRequest::kDefaultTimeoutSeconds);
    }
    const auto url = URL::withString("http://apt.example.org/x.html");
    ASSERT_TRUE(url);
    EXPECT_FALSE(RepositoryRequest::requestForPageOfRepository(*url, "").valueForHTTPHeaderField(
        "X-Unique-ID"))
        << "no repository, no device";
}

}  // namespace
}  // namespace corvane
