// Ratings and reviews on the package page against the maker's service on 127.0.0.1: the user's
// own stars, stored and kept when the page comes back; the review form's bug-report warning;
// the first review, fetched once per appearance and kept through a failed request.
#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "framework/storage/KSRNotifications.h"
#include "screens/packages/OnlinePageFixture.h"
#include "screens/reviews/LeaveReviewViewController.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpFor;
using testing_support::pumpUntil;

// The image names of the five stars, in order.
std::vector<std::string> stars(PackageDetailsViewController& page) {
    std::vector<std::string> names;
    for (const auto& star : {page.header().rating1, page.header().rating2, page.header().rating3,
                             page.header().rating4, page.header().rating5}) {
        auto image = star->imageForState(uikit::ControlStates::normal);
        names.push_back(image ? image->name() : "");
    }
    return names;
}

const std::vector<std::string> kThreeStars = {"starSelected", "starSelected", "starSelected",
                                              "star", "star"};

class PackageDetailsReviewsTest : public OnlinePageFixture {
  protected:
    std::vector<testing_support::CapturedRequest> posts() const {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : requestsTo("/api/rating"))
            if (request.method == "POST")
                found.push_back(request);
        return found;
    }
    static void install(const std::string& identifier) {
        change(identifier, [](KSRPackage& package) { package.isInstalled = true; });
    }
    template <typename Controller>
    std::shared_ptr<Controller> presentedBy(uikit::ViewController& presenter) {
        return std::dynamic_pointer_cast<Controller>(presenter.presentedViewController());
    }
};

TEST_F(PackageDetailsReviewsTest, ARatedPackageShowsItsOwnStarsAndNoMore) {
    change("com.sample.theme", [](KSRPackage& package) { package.myRating = 3; });
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    EXPECT_EQ(stars(*page), kThreeStars);
    EXPECT_EQ(page->header().ratingLbl->text(), "3 out of 5 rating");
}

TEST_F(PackageDetailsReviewsTest, TheThirdStarStoresThreeShowsThreeAndStays) {
    signIn("ann");
    serveJSON("rating", R"({"rating": 4.5, "answer": "Success"})");
    install("com.sample.corelib");
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapOnPage(*page, page->header().rating3));
    EXPECT_EQ(stars(*page), kThreeStars);
    EXPECT_EQ(page->header().ratingLbl->text(), "3 out of 5 rating");
    auto record = stored("com.sample.corelib");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->myRating, 3);
    ASSERT_TRUE(pumpUntil([&] { return posts().size() == 1; }));
    EXPECT_EQ(posts()[0].body, "package=com.sample.corelib&user=ann&rate=3")
        << "a rating alone goes in the short form";

    reappear(*page);
    EXPECT_EQ(stars(*page), kThreeStars);
    EXPECT_EQ(page->header().ratingLbl->text(), "3 out of 5 rating");

    // Without the package installed: the panel, and nothing stored or sent.
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    ASSERT_TRUE(tapOnPage(*theme, theme->header().rating2));
    advanceClock(1);
    auto panel = presentedBy<ErrorViewController>(*theme);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->titleTxt(), "Leave a Review");
    EXPECT_EQ(panel->errorTxt(),
              "You need to install Night Sky Theme before being able to leave a review");
    EXPECT_EQ(stored("com.sample.theme")->myRating, 0);
    pumpFor(0.2);
    EXPECT_EQ(posts().size(), 1u);
}

TEST_F(PackageDetailsReviewsTest, AReviewThatReadsLikeABugReportBringsTheWarningInsteadOfPosting) {
    signIn("ann");
    serveJSON("rating", R"({"rating": 4, "answer": "Success"})");
    install("com.sample.corelib");
    change("com.sample.corelib", [](KSRPackage& package) { package.contact = "ada@sample.test"; });
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapOnPage(*page, page->reviews().leaveReviewBtn));
    advanceClock(1);
    auto forms = openedScreens(Screen::leaveReview);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(forms[0].request.packageIdentifier, "com.sample.corelib");
    auto delegate = forms[0].request.leaveReviewDelegate.lock();
    EXPECT_EQ(delegate.get(), static_cast<LeaveReviewDelegate*>(page.get()));
    EXPECT_EQ(page->presentedViewController(), forms[0].controller);
    EXPECT_EQ(forms[0].controller->modalPresentationStyle(),
              uikit::ModalPresentationStyle::overFullScreen);

    // The form finds "crash" in the title, goes away and leaves it to the page.
    page->dismiss(false);
    advanceClock(1);
    ASSERT_TRUE(delegate);
    delegate->showReviewWarningWithTitle("App CRASHES at launch", "Since 2.0", 2);
    advanceClock(1);
    auto warning = presentedBy<uikit::AlertController>(*page);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->title(), "Package Support");
    ASSERT_EQ(warning->actions().size(), 2u);
    EXPECT_EQ(warning->actions()[0]->title(), "Send email");
    EXPECT_EQ(warning->actions()[1]->title(), "Leave review");
    pumpFor(0.2);
    EXPECT_TRUE(posts().empty()) << "nothing is posted while the person decides";

    ASSERT_TRUE(uikit::hands::pickAlertAction(warning, "Send email"));
    advanceClock(1);
    const auto& opened = uikit::Application::shared().openedURLs();
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.back().absoluteString().rfind("mailto:ada@sample.test?subject=", 0), 0u);
    EXPECT_TRUE(posts().empty());

    // The person insists: the review is stored and posted, and the answer is shown.
    delegate->showReviewWarningWithTitle("App CRASHES at launch", "Since 2.0", 2);
    advanceClock(1);
    warning = presentedBy<uikit::AlertController>(*page);
    ASSERT_TRUE(warning);
    ASSERT_TRUE(uikit::hands::pickAlertAction(warning, "Leave review"));
    advanceClock(1);
    ASSERT_TRUE(pumpUntil([&] { return posts().size() == 1; }));
    EXPECT_EQ(posts()[0].body,
              "package=com.sample.corelib&user=ann&rate=2&title=App%20CRASHES%20at%20launch&"
              "description=Since%202.0");
    EXPECT_EQ(stored("com.sample.corelib")->myRating, 2);
    ASSERT_TRUE(pumpUntil([&] {
        return std::dynamic_pointer_cast<ErrorViewController>(
                   window->topmostPresentedViewController()) != nullptr;
    }));
    auto posted =
        std::dynamic_pointer_cast<ErrorViewController>(window->topmostPresentedViewController());
    EXPECT_EQ(posted->titleTxt(), "Core Library Review");
    EXPECT_EQ(posted->errorTxt(), "Review has been successfully posted");
    EXPECT_EQ(stars(*page)[1], "starSelected");
    EXPECT_EQ(stars(*page)[2], "star");
}

TEST_F(PackageDetailsReviewsTest, AReviewPostedFromTheFormShowsItsStarsAsTheFormCloses) {
    KSScreenFactory::registerScreen(Screen::leaveReview,
                                    [](const KSScreenFactory::Request& request) {
                                        auto form = std::make_shared<LeaveReviewViewController>();
                                        form->setPackageIdentifier(request.packageIdentifier);
                                        form->setDelegate(request.leaveReviewDelegate);
                                        return form;
                                    });
    signIn("ann");
    serveJSON("rating", R"({"rating": 4, "answer": "Success"})");
    install("com.sample.corelib");
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->header().ratingLbl->text(), "0 out of 5 rating");

    ASSERT_TRUE(tapOnPage(*page, page->reviews().leaveReviewBtn));
    advanceClock(1);
    auto form = presentedBy<LeaveReviewViewController>(*page);
    ASSERT_TRUE(form);
    ASSERT_TRUE(uikit::hands::tap(form->ratingButtons[3]));
    ASSERT_TRUE(uikit::hands::typeText(form->titleTextField, "Lovely"));
    form->reviewTextView->setText("Does what it says");
    ASSERT_TRUE(uikit::hands::tap(form->submitBtn));
    ASSERT_TRUE(pumpUntil([&] { return form->isBeingDismissed(); }));
    advanceClock(1);
    ASSERT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(stars(*page), (std::vector<std::string>{"starSelected", "starSelected",
                                                      "starSelected", "starSelected", "star"}));
    EXPECT_EQ(page->header().ratingLbl->text(), "4 out of 5 rating");
    EXPECT_EQ(stored("com.sample.corelib")->myRating, 4);
}

TEST_F(PackageDetailsReviewsTest, ReviewsAreFetchedOncePerAppearanceAndAFailureKeepsThemShown) {
    serveJSON("reviews", R"([{"title": "great little tweak", "desc": "Works on 14.3", "name": "bob",
                              "rating": 4, "upvotes": 3, "downvotes": 1, "reply": "Thanks!"},
                             {"title": "second", "desc": "Fine", "name": "cy", "rating": 2}])");
    serveJSON("rating", R"({"rating": 4.5})");
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return !page->reviews().reviewsCollectionView->isHidden(); }));
    ASSERT_TRUE(pumpUntil([&] { return page->reviews().packageRatingLbl->text() == "4.5"; }));
    pumpFor(0.2);
    EXPECT_EQ(requestsTo("/api/reviews").size(), 1u) << "once, however often the page lays out";
    EXPECT_TRUE(page->reviews().reviewsLbl->isHidden());
    EXPECT_FALSE(page->reviews().seeAllReviewsBtn->isHidden());
    page->reviews().reviewsCollectionView->layoutIfNeeded();
    EXPECT_EQ(page->reviews().reviewsCollectionView->numberOfItemsInSection(0), 1)
        << "the first review";
    auto cell = std::dynamic_pointer_cast<ReviewsCell>(
        page->reviews().reviewsCollectionView->cellForItemAtIndexPath(
            uikit::IndexPath::forItem(0, 0)));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->titleLbl->text(), "Great Little Tweak");
    EXPECT_EQ(cell->nameLbl->text(), "bob");
    EXPECT_EQ(cell->voteLbl->attributedText()->string(), "+3 -1");
    EXPECT_EQ(cell->commentLbl->attributedText()->string(),
              "Developer \"Ada Sample\" replied\n\nWorks on 14.3")
        << "the reply's header over the review, not the reply";
    EXPECT_EQ(cell->rating4->image()->name(), "starOtherUsers");
    EXPECT_EQ(cell->rating5->image()->name(), "star");

    // A rating changed elsewhere refreshes the average of its own package only.
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.post({KSRPackageInfoRatingChangedNotification, foundation::Value("com.sample.tweak")});
    serveJSON("rating", R"({"rating": 3.5})");
    center.post({KSRPackageInfoRatingChangedNotification, foundation::Value("com.sample.corelib")});
    ASSERT_TRUE(pumpUntil([&] { return page->reviews().packageRatingLbl->text() == "3.5"; }));
    EXPECT_EQ(requestsTo("/api/rating").size(), 2u);

    // A failed request leaves the reviews that were shown.
    serveJSON("reviews", R"({"error": "down"})", 500);
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return requestsTo("/api/reviews").size() == 2; }));
    pumpFor(0.3);
    EXPECT_FALSE(page->reviews().reviewsCollectionView->isHidden());
    EXPECT_EQ(page->model().packageReviews().size(), 2u);

    // None: the message, and an empty strip that reads no review.
    serveJSON("reviews", "[]");
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().packageReviews().empty(); }));
    EXPECT_FALSE(page->reviews().reviewsLbl->isHidden());
    EXPECT_TRUE(page->reviews().reviewsCollectionView->isHidden());
    EXPECT_EQ(page->reviews().reviewsCollectionView->dataSource()->numberOfItemsInSection(
                  *page->reviews().reviewsCollectionView, 0),
              0);
}

}  // namespace
}  // namespace corvane::testing
