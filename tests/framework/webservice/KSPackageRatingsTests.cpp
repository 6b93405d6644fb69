#include "framework/webservice/KSPackageRatings.h"

#include <gtest/gtest.h>

#include "framework/webservice/WebServiceFixture.h"

namespace corvane::testing {
namespace {

using foundation::Value;
using Fields = std::map<std::string, std::string>;

constexpr const char* kReviews = R"([
    {"title": "great", "desc": "Works well", "name": "ann", "rating": 5, "upvotes": 3,
     "downvotes": 1, "reply": "Thanks!"},
    {"title": "meh", "desc": "Crashes", "name": "bo", "rating": 2, "upvotes": 0,
     "downvotes": 0, "reply": null},
    {"title": "bogus", "rating": 9},
    "not a review"
])";

class KSPackageRatingsTest : public WebServiceFixture {
  protected:
    static Delivered<std::string> post(const std::optional<std::string>& user,
                                       const std::string& description, const std::string& title,
                                       int rate) {
        auto ratings = std::make_shared<KSPackageRatings>(user);
        return await<std::string>([&](auto done) {
            ratings->postRatingReview("com.example.tweak", description, title, rate, done);
        });
    }
    static Delivered<Value> getReviews(const std::shared_ptr<KSPackageRatings>& ratings) {
        return await<Value>(
            [&](auto done) { ratings->getReviews("com.example.tweak", std::move(done)); });
    }
    static std::optional<std::string> averageRate() {
        return await<std::optional<std::string>>([](auto done) {
                   std::make_shared<KSPackageRatings>()->getAverageRate("com.example.tweak",
                                                                        std::move(done));
               })
            .value;
    }
};

TEST_F(KSPackageRatingsTest, AReviewPostWhileSignedOutSendsNothing) {
    reply("rating", R"({"answer": "Success"})");
    auto withoutUser = post(std::nullopt, "Nice", "Title", 4);
    EXPECT_EQ(withoutUser.value, KSPackageRatings::kNotSignedInAnswer);
    EXPECT_FALSE(withoutUser.onMain);
    EXPECT_EQ(post("alice", "Nice", "Title", 4).value, KSPackageRatings::kNotSignedInAnswer);

    signIn("bob");
    EXPECT_EQ(post("alice", "", "", 4).value, KSPackageRatings::kNotSignedInAnswer);
    KSAccount::instance()->signOut();
    EXPECT_EQ(post("bob", "", "", 4).value, KSPackageRatings::kNotSignedInAnswer);
    EXPECT_TRUE(requestsTo("rating").empty());
}

TEST_F(KSPackageRatingsTest, ARatingWithoutTitleAndTextSendsOnlyPackageUserAndRate) {
    signIn("alice", "tok-a");
    reply("rating", R"({"answer": "Success"})");
    auto rated = post("alice", "", "", 4);
    EXPECT_EQ(rated.value, "Success");
    EXPECT_FALSE(rated.onMain);

    reply("rating", R"({"answer": "Successfully updated"})");
    EXPECT_EQ(post("alice", "Works & fine", "", 5).value, "Successfully updated");

    auto requests = requestsTo("rating");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(formFields(requests[0].body),
              (Fields{{"package", "com.example.tweak"}, {"user", "alice"}, {"rate", "4"}}));
    EXPECT_EQ(requests[0].header("Authorization"), "Bearer tok-a");
    EXPECT_EQ(formFields(requests[1].body), (Fields{{"package", "com.example.tweak"},
                                                    {"user", "alice"},
                                                    {"rate", "5"},
                                                    {"title", ""},
                                                    {"description", "Works & fine"}}));
}

TEST_F(KSPackageRatingsTest, TheAnswerIsTheServicesTextOrFailed) {
    signIn("alice");
    reply("rating", R"({"answer": "You already reviewed this package"})");
    EXPECT_EQ(post("alice", "t", "x", 3).value, "You already reviewed this package");
    reply("rating", R"({"answer": "Failed"})");
    EXPECT_EQ(post("alice", "t", "x", 3).value, "Failed");
    reply("rating", "Success");
    EXPECT_EQ(post("alice", "t", "x", 3).value, KSPackageRatings::kFailedAnswer);
    reply("rating", R"({"answer": "Success"})", 500);
    EXPECT_EQ(post("alice", "t", "x", 3).value, KSPackageRatings::kFailedAnswer);
    reply("rating", R"({"result": "Success"})");
    EXPECT_EQ(post("alice", "t", "x", 3).value, KSPackageRatings::kFailedAnswer);

    const auto sent = requestsTo("rating").size();
    EXPECT_NE(post("alice", "", "", 0).value, "Success");
    EXPECT_NE(post("alice", "", "", 6).value, "Success");
    EXPECT_EQ(requestsTo("rating").size(), sent);
}

TEST_F(KSPackageRatingsTest, ReviewsReplaceThePackageReviews) {
    reply("reviews", kReviews);
    auto ratings = std::make_shared<KSPackageRatings>();
    EXPECT_FALSE(ratings->packageReviews());
    auto result = getReviews(ratings);
    EXPECT_EQ(result.value, Value("Success"));
    EXPECT_FALSE(result.onMain);

    auto reviews = ratings->packageReviews();
    ASSERT_TRUE(reviews);
    ASSERT_EQ(reviews->size(), 2u);
    const auto& first = (*reviews)[0];
    EXPECT_EQ(first.title, "great");
    EXPECT_EQ(first.desc, "Works well");
    EXPECT_EQ(first.name, "ann");
    EXPECT_EQ(first.rating, 5);
    EXPECT_EQ(first.upvotes, 3);
    EXPECT_EQ(first.downvotes, 1);
    EXPECT_EQ(first.reply, "Thanks!");
    EXPECT_FALSE((*reviews)[1].reply);

    auto requests = requestsTo("reviews");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(formFields(requests[0].query), (Fields{{"package", "com.example.tweak"}}));
}

TEST_F(KSPackageRatingsTest, AReplyThatIsNoListOfReviewsGivesNil) {
    for (const auto& [body, status] : std::vector<std::pair<std::string, int>>{
             {"<html>Oops</html>", 200}, {R"({"reviews": []})", 200}, {kReviews, 500}}) {
        reply("reviews", body, status);
        auto ratings = std::make_shared<KSPackageRatings>();
        auto result = getReviews(ratings);
        EXPECT_TRUE(result.value.isNil()) << body;
        EXPECT_FALSE(result.onMain);
        EXPECT_FALSE(ratings->packageReviews()) << body;
    }

    auto ratings = std::make_shared<KSPackageRatings>();
    reply("reviews", kReviews);
    getReviews(ratings);
    reply("reviews", "garbage");
    EXPECT_TRUE(getReviews(ratings).value.isNil());
    ASSERT_TRUE(ratings->packageReviews());
    EXPECT_EQ(ratings->packageReviews()->size(), 2u);
}

TEST_F(KSPackageRatingsTest, TheAverageRateComesAsText) {
    reply("rating", R"({"rating": 4.5})");
    EXPECT_EQ(averageRate(), "4.5");
    reply("rating", R"({"rating": 3})");
    EXPECT_EQ(averageRate(), "3");
    reply("rating", R"({"rating": "4.2"})");
    EXPECT_EQ(averageRate(), "4.2");
    reply("rating", R"({"rating": null})");
    EXPECT_FALSE(averageRate());
    reply("rating", "4.5 stars");
    EXPECT_FALSE(averageRate());
    reply("rating", R"({"rating": 4.5})", 404);
    EXPECT_FALSE(averageRate());

    auto request = requestsTo("rating").front();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(formFields(request.query), (Fields{{"package", "com.example.tweak"}}));
}

}  // namespace
}  // namespace corvane::testing
