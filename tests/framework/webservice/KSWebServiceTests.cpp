#include "framework/webservice/KSWebService.h"

#include <gtest/gtest.h>

#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/webservice/KSNewsRetrieval.h"
#include "framework/webservice/KSPackageRatings.h"
#include "framework/webservice/KSSearchDeveloper.h"
#include "framework/webservice/KSSearchRepositories.h"
#include "framework/webservice/KSStatistics.h"
#include "framework/webservice/KSWebServiceError.h"
#include "framework/webservice/WebServiceFixture.h"

namespace corvane::testing {
namespace {

using foundation::Result;
using foundation::Value;

class KSWebServiceTest : public WebServiceFixture {
  protected:
    Delivered<Result<Value>> get(const std::string& path, KSWebService::Fields query = {}) {
        return await<Result<Value>>(
            [&](auto done) { KSWebService::shared().get(path, query, std::move(done)); });
    }
    static CorvanePersistentPreferences& preferences() {
        return CorvanePersistentPreferences::sharedInstance();
    }
};

TEST_F(KSWebServiceTest, WithoutAnAddressEveryClientFailsAtOnceAndSendsNothing) {
    reply("news", R"([{"title": "Hello"}])");
    unsetenv(KSWebServiceAddress::kEnvironmentVariable);

    auto plain = get("news");
    ASSERT_FALSE(plain.value.ok());
    EXPECT_EQ(plain.value.error().domain, KSWebServiceError::kDomain);
    EXPECT_EQ(plain.value.error().code, KSWebServiceError::NoAddress);
    EXPECT_TRUE(foundation::contains(plain.value.error().localizedDescription(),
                                     KSWebServiceAddress::kPreferenceKey));
    EXPECT_FALSE(plain.onMain);

    auto ratings = std::make_shared<KSPackageRatings>();
    EXPECT_TRUE(
        await<Value>([&](auto done) { ratings->getReviews("com.example.a", done); }).value.isNil());
    EXPECT_FALSE(await<std::optional<std::string>>([&](auto done) {
                     ratings->getAverageRate("com.example.a", done);
                 }).value);
    EXPECT_FALSE(await<bool>([](auto done) {
                     KSStatistics().postPackageStatisticForIdentifier(
                         "com.example.a", "Dev", std::nullopt, "1.0", 0, 1, done);
                 }).value);
    awaitCall([](auto done) { KSNewsRetrieval::instance()->fetchNewsWithCompletionHandler(done); });
    EXPECT_TRUE(KSNewsRetrieval::instance()->news().empty());
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSWebServiceTest, OnlyHttpAndHttpsBaseAddressesAreUsed) {
    reply("news", "[]");
    const std::string port = std::to_string(server_.port());
    for (const std::string& address : std::vector<std::string>{
             "ftp://127.0.0.1:" + port + "/api", "file:///api", "127.0.0.1:" + port + "/api",
             "http://127.0.0.1:" + port + "/api?x=1", "not an address"}) {
        setenv(KSWebServiceAddress::kEnvironmentVariable, address.c_str(), 1);
        auto result = get("news");
        ASSERT_FALSE(result.value.ok()) << address;
        EXPECT_EQ(result.value.error().code, KSWebServiceError::UnsupportedAddress) << address;
    }
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(KSWebServiceTest, ThePreferenceNamesTheServiceUnlessTheEnvironmentDoes) {
    reply("news", R"({"from": "server"})");
    preferences().setValue("http://127.0.0.1:1/elsewhere", KSWebServiceAddress::kPreferenceKey);
    EXPECT_EQ((*get("news").value)["from"], Value("server"));

    unsetenv(KSWebServiceAddress::kEnvironmentVariable);
    preferences().setValue(server_.url("/api/"), KSWebServiceAddress::kPreferenceKey);
    EXPECT_EQ((*get("news").value)["from"], Value("server"));
    EXPECT_EQ(requestsTo("news").size(), 2u);
}

TEST_F(KSWebServiceTest, FailedRepliesBecomeErrors) {
    reply("down", R"({"error": "maintenance"})", 503);
    reply("html", "<html>not json</html>");
    reply("huge", "[\"" + std::string(KSWebService::kMaximumReplyBytes, 'x') + "\"]");

    auto down = get("down");
    ASSERT_FALSE(down.value.ok());
    EXPECT_EQ(down.value.error().code, KSWebServiceError::BadStatus);
    EXPECT_TRUE(foundation::contains(down.value.error().localizedDescription(), "503"));
    EXPECT_TRUE(foundation::contains(down.value.error().localizedDescription(), "maintenance"));

    auto html = get("html");
    ASSERT_FALSE(html.value.ok());
    EXPECT_EQ(html.value.error().code, KSWebServiceError::MalformedReply);

    EXPECT_FALSE(get("huge").value.ok());
}

TEST_F(KSWebServiceTest, QueryAndFormValuesArriveUnchanged) {
    reply("echo", "{}");
    const std::string awkward = "a&b=c+d %e/é?#";
    get("echo", {{"name", awkward}});
    await<Result<Value>>([&](auto done) {
        KSWebService::shared().post("echo", {{"text", awkward}, {"empty", ""}}, "tok",
                                    std::move(done));
    });

    auto requests = requestsTo("echo");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(formFields(requests[0].query),
              (std::map<std::string, std::string>{{"name", awkward}}));
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(formFields(requests[1].body),
              (std::map<std::string, std::string>{{"text", awkward}, {"empty", ""}}));
    EXPECT_EQ(requests[1].header("Authorization"), "Bearer tok");
    EXPECT_TRUE(foundation::hasPrefix(requests[1].header("Content-Type").value_or(""),
                                      "application/x-www-form-urlencoded"));
}

}  // namespace
}  // namespace corvane::testing
