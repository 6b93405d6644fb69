// A package's reviews as the maker's service on 127.0.0.1 lists them, one card each.
#include "screens/reviews/AllReviewsViewController.h"

#include <gtest/gtest.h>

#include "screens/PageScreenFixture.h"
#include "uikit/Hands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

constexpr const char* kReviews = R"([
    {"title": "works great on ios 14", "desc": "Does what it says.", "name": "ann", "rating": 4,
     "upvotes": 3, "downvotes": 1, "reply": "Thanks!"},
    {"title": "long", "desc": "A long review that goes on about every setting the tweak offers, how each of them changed the home screen, what the author could do next and why the reviewer keeps it installed on every device they own.",
     "name": "bo", "rating": 2, "upvotes": 0, "downvotes": 5}
])";

class AllReviewsTest : public PageScreenFixture {
  protected:
    std::shared_ptr<AllReviewsViewController> open() {
        KSScreenFactory::Request request;
        request.packageIdentifier = "com.sample.tweak";
        request.maintainer = "Ada Sample";
        return push<AllReviewsViewController>(Screen::allReviews, request);
    }
    static std::shared_ptr<AllReviewsCell> card(AllReviewsViewController& screen, int row) {
        auto& table = *screen.reviewsTableView;
        const auto indexPath = uikit::IndexPath::forRow(row, 0);
        table.scrollToRowAtIndexPath(indexPath, uikit::TableView::ScrollPosition::none, false);
        return std::dynamic_pointer_cast<AllReviewsCell>(table.cellForRowAtIndexPath(indexPath));
    }
    std::vector<testing_support::CapturedRequest> reviewRequests() const {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : service.requests())
            if (request.path == "/api/reviews")
                found.push_back(request);
        return found;
    }
    // Another screen pushed over the list and popped again.
    void coverAndReturn() {
        navigation->push(std::make_shared<uikit::ViewController>(), false);
        advanceClock(1);
        navigation->pop(false);
        advanceClock(1);
    }
};

TEST_F(AllReviewsTest, EachReviewIsACardWithItsStarsVotesAndText) {
    replyJSON("reviews", kReviews);
    auto screen = open();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "Reviews");
    ASSERT_TRUE(pumpUntil([&] { return screen->reviews().size() == 2; }));
    ASSERT_EQ(reviewRequests().size(), 1u);
    EXPECT_EQ(reviewRequests()[0].query, "package=com.sample.tweak");

    auto first = card(*screen, 0);
    ASSERT_TRUE(first && screen->palette());
    EXPECT_EQ(first->titleLbl->text(), "Works Great On Ios 14");
    EXPECT_EQ(first->nameLbl->text(), "ann");
    const auto votes = first->voteLbl->attributedText();
    ASSERT_TRUE(votes);
    EXPECT_EQ(votes->string(), "+3 -1");
    EXPECT_EQ(votes->attributesAt(0).foregroundColor, uikit::Color(1, 0, 0, 1));
    EXPECT_EQ(votes->attributesAt(3).foregroundColor, uikit::Color(0.46, 0.53, 1, 1));
    const auto comment = first->commentLbl->attributedText();
    ASSERT_TRUE(comment);
    EXPECT_EQ(comment->string(), "Developer \"Ada Sample\" replied\n\nDoes what it says.");
    EXPECT_TRUE(comment->attributesAt(0).font->isItalic());
    EXPECT_FALSE(comment->attributesAt(comment->length() - 1).font->isItalic());
    EXPECT_EQ(first->rating4->image()->name(), "starOtherUsers");
    EXPECT_EQ(first->rating5->image()->name(), "star");
    EXPECT_EQ(first->view->backgroundColor(), screen->palette()->foregroundColor());
    EXPECT_EQ(first->titleLbl->textColor(), screen->palette()->primaryTextColor());

    auto second = card(*screen, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->commentLbl->text().value_or("").substr(0, 14), "A long review ");
    EXPECT_EQ(second->rating2->image()->name(), "starOtherUsers");
    EXPECT_EQ(second->rating3->image()->name(), "star");
    // The long text fits its card, which fits its row.
    const auto needed =
        second->commentLbl->sizeThatFits({second->commentLbl->frame().width(), 0}).height;
    EXPECT_GE(second->commentLbl->frame().height(), needed);
    EXPECT_GT(second->view->frame().height(), first->view->frame().height());
    EXPECT_LE(second->view->frame().maxY(), second->frame().height());
    EXPECT_GT(second->commentLbl->frame().maxY(), first->commentLbl->frame().maxY());
    snapshot("all-reviews");
}

TEST_F(AllReviewsTest, EveryAppearanceAsksAgainAndAFailureKeepsWhatIsShown) {
    replyJSON("reviews", kReviews);
    auto screen = open();
    ASSERT_TRUE(screen && pumpUntil([&] { return screen->reviews().size() == 2; }));

    replyJSON("reviews", R"([{"title": "new", "desc": "x", "name": "cy", "rating": 5}])");
    coverAndReturn();
    ASSERT_TRUE(pumpUntil([&] { return screen->reviews().size() == 1; }));
    EXPECT_EQ(screen->reviews()[0].name, "cy");

    replyJSON("reviews", "{}", 500);
    coverAndReturn();
    ASSERT_TRUE(pumpUntil([&] { return reviewRequests().size() == 3; }));
    testing_support::pumpFor(0.3);
    ASSERT_EQ(screen->reviews().size(), 1u);
    EXPECT_EQ(card(*screen, 0)->nameLbl->text(), "cy");
}

TEST_F(AllReviewsTest, AnAnswerToAnEarlierAppearanceArrivingLateIsDropped) {
    service.route("/api/reviews",
                  {.body = kReviews, .contentType = "application/json", .delaySeconds = 0.8});
    auto screen = open();
    ASSERT_TRUE(screen);
    ASSERT_TRUE(pumpUntil([&] { return reviewRequests().size() == 1; }));
    replyJSON("reviews", R"([{"title": "newest", "desc": "x", "name": "cy", "rating": 5}])");
    coverAndReturn();
    ASSERT_TRUE(pumpUntil([&] { return screen->reviews().size() == 1; }));
    testing_support::pumpFor(1.2);
    ASSERT_EQ(screen->reviews().size(), 1u);
    EXPECT_EQ(screen->reviews()[0].title, "newest");
}

}  // namespace
}  // namespace corvane::testing
