#include <gtest/gtest.h>

#include "framework/webservice/KSNewsRetrieval.h"
#include "framework/webservice/KSSearchDeveloper.h"
#include "framework/webservice/KSSearchRepositories.h"
#include "framework/webservice/KSStatistics.h"
#include "framework/webservice/WebServiceFixture.h"
#include "support/MainLoop.h"

namespace corvane::testing {
namespace {

using Fields = std::map<std::string, std::string>;

class KSSearchClientsTest : public WebServiceFixture {};

TEST_F(KSSearchClientsTest, NewsKeepsTheLastGoodFetch) {
    reply("news", R"json([
        {"id": 3, "title": "Corvane 5", "body": "Out now", "date": "2021-03-14",
         "url": "https://example.com/news/3"},
        {"id": "2", "title": "Old", "url": "javascript:void(0)"},
        {"body": "no title"}
    ])json");
    const auto& retrieval = KSNewsRetrieval::instance();
    auto fetched = awaitCall([&](auto done) { retrieval->fetchNewsWithCompletionHandler(done); });
    EXPECT_FALSE(fetched.onMain);
    auto news = retrieval->news();
    ASSERT_EQ(news.size(), 2u);
    EXPECT_EQ(news[0].identifier, "3");
    EXPECT_EQ(news[0].title, "Corvane 5");
    EXPECT_EQ(news[0].body, "Out now");
    EXPECT_EQ(news[0].date, "2021-03-14");
    EXPECT_EQ(news[0].url, "https://example.com/news/3");
    EXPECT_FALSE(news[1].url);

    reply("news", "<html>", 502);
    awaitCall([&](auto done) { retrieval->fetchNewsWithCompletionHandler(done); });
    EXPECT_EQ(retrieval->news().size(), 2u);
}

TEST_F(KSSearchClientsTest, DeveloperSearchFillsTheProfilesOfThatName) {
    reply("developers", R"([
        {"name": "jane", "fullName": "Jane Doe", "avatarURL": "https://example.com/j.png",
         "bio": "Tweaks", "website": "ftp://example.com", "twitter": "janedoe"},
        {"fullName": "Only Full"},
        {"avatarURL": "https://example.com/x.png"}
    ])");
    const auto& search = KSSearchDeveloper::instance();
    auto found = await<std::vector<KSDeveloperProfile>>(
        [&](auto done) { search->searchDeveloper("Jane & Co", done); });
    EXPECT_FALSE(found.onMain);
    ASSERT_EQ(found.value.size(), 2u);
    EXPECT_EQ(search->developers().size(), 2u);
    EXPECT_EQ(found.value[0].fullName, "Jane Doe");
    EXPECT_EQ(found.value[0].avatarURL, "https://example.com/j.png");
    EXPECT_FALSE(found.value[0].website);
    EXPECT_EQ(found.value[1].name, "Only Full");
    EXPECT_EQ(formFields(requestsTo("developers").front().query), (Fields{{"name", "Jane & Co"}}));

    reply("developers", "[]", 500);
    auto failed = await<std::vector<KSDeveloperProfile>>(
        [&](auto done) { search->searchDeveloper("nobody", done); });
    EXPECT_TRUE(failed.value.empty());
    EXPECT_TRUE(search->developers().empty());
}

TEST_F(KSSearchClientsTest, TheRepositoryDirectoryKeepsOnlyWebLocations) {
    reply("repositories", R"([
        {"name": "Example", "location": "https://repo.example.com/", "description": "Tweaks",
         "iconURL": "https://repo.example.com/icon.png"},
        {"name": "Local", "location": "file:///var/lib"},
        {"name": "Nowhere"}
    ])");
    const auto& directory = KSSearchRepositories::instance();
    auto listed =
        awaitCall([&](auto done) { directory->listOnlineRepositoriesWithCompletionHandler(done); });
    EXPECT_FALSE(listed.onMain);
    auto repositories = directory->onlineRepositories();
    ASSERT_EQ(repositories.size(), 1u);
    EXPECT_EQ(repositories[0].name, "Example");
    EXPECT_EQ(repositories[0].location, "https://repo.example.com/");
    EXPECT_EQ(repositories[0].description, "Tweaks");
    EXPECT_EQ(repositories[0].iconURL, "https://repo.example.com/icon.png");

    // Started without a completion, as at launch; a broken directory keeps the last one.
    reply("repositories", R"({"oops": true})");
    directory->listOnlineRepositoriesWithCompletionHandler();
    ASSERT_TRUE(testing_support::pumpUntil([&] { return requestsTo("repositories").size() == 2; }));
    awaitCall([&](auto done) { directory->listOnlineRepositoriesWithCompletionHandler(done); });
    EXPECT_EQ(directory->onlineRepositories().size(), 1u);
}

TEST_F(KSSearchClientsTest, AViewStatisticCarriesThePackageFacts) {
    reply("statistics", R"({"answer": "Success"})");
    auto posted = await<bool>([](auto done) {
        KSStatistics().postPackageStatisticForIdentifier(
            "com.example.tweak", "Jane", "https://repo.example.com/", std::nullopt, 0, 1, done);
    });
    EXPECT_TRUE(posted.value);
    EXPECT_FALSE(posted.onMain);
    auto request = requestsTo("statistics").front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_FALSE(request.header("Authorization"));
    EXPECT_EQ(formFields(request.body), (Fields{{"package", "com.example.tweak"},
                                                {"developer", "Jane"},
                                                {"repository", "https://repo.example.com/"},
                                                {"downloads", "0"},
                                                {"views", "1"}}));
}

}  // namespace
}  // namespace corvane::testing
