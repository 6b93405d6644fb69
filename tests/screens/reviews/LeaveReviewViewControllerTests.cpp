// The review form as the package page presents it, posting to the maker's service on
// 127.0.0.1, and its rule for reviews that read like requests for support.
#include "screens/reviews/LeaveReviewViewController.h"

#include <gtest/gtest.h>

#include <atomic>

#include "foundation/Strings.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackageRatings.h"
#include "screens/PageScreenFixture.h"
#include "uikit/AlertController.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

// The package page as far as the form can tell.
class RecordingReviewDelegate : public LeaveReviewDelegate {
  public:
    struct Warning {
        std::string title;
        std::string text;
        int rate;
        bool operator==(const Warning&) const = default;
    };
    void updateRatingInfo() override { ++updates; }
    void showReviewWarningWithTitle(const std::string& title, const std::string& text,
                                    int rate) override {
        warnings.push_back({title, text, rate});
    }
    int updates = 0;
    std::vector<Warning> warnings;
};

std::map<std::string, std::string> formFields(const std::string& body) {
    std::map<std::string, std::string> fields;
    for (const auto& pair : foundation::split(body, "&")) {
        const auto equals = pair.find('=');
        fields[foundation::percentDecode(pair.substr(0, equals)).value_or("?")] =
            foundation::percentDecode(pair.substr(equals + 1)).value_or("?");
    }
    return fields;
}

class LeaveReviewTest : public PageScreenFixture {
  protected:
    void signIn(const std::string& username) {
        replyJSON("account/signin", R"({"userID": 7, "token": "tok", "premium": 1})");
        std::atomic<bool> done = false;
        KSAccount::instance()->signIn(username, "secret", [&](auto) { done = true; });
        ASSERT_TRUE(pumpUntil([&] { return done.load(); }));
        ASSERT_EQ(KSAccount::instance()->returnUsername(), username);
    }

    // Presented over the page, as the page presents it.
    std::shared_ptr<LeaveReviewViewController> open() {
        KSScreenFactory::Request request;
        request.packageIdentifier = "com.sample.tweak";
        request.leaveReviewDelegate = delegate;
        auto form = std::dynamic_pointer_cast<LeaveReviewViewController>(
            KSScreenFactory::make(Screen::leaveReview, request));
        EXPECT_TRUE(form);
        if (!form)
            return nullptr;
        navigation->present(form, true);
        advanceClock(1);
        return form;
    }
    static void write(LeaveReviewViewController& form, int stars, const std::string& title,
                      const std::string& text) {
        ASSERT_TRUE(uikit::hands::tap(form.ratingButtons[static_cast<std::size_t>(stars - 1)]));
        ASSERT_TRUE(uikit::hands::typeText(form.titleTextField, title));
        ASSERT_TRUE(uikit::hands::tap(form.reviewTextView));
        form.reviewTextView->setText(text);
    }
    std::vector<testing_support::CapturedRequest> posts() const {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : service.requests())
            if (request.path == "/api/rating")
                found.push_back(request);
        return found;
    }
    bool formShown() const { return navigation->presentedViewController() != nullptr; }
    static int storedRating() { return stored("com.sample.tweak")->myRating; }

    std::shared_ptr<RecordingReviewDelegate> delegate = std::make_shared<RecordingReviewDelegate>();
};

TEST_F(LeaveReviewTest, AReviewIsStoredPostedAndTheFormCloses) {
    signIn("ann");
    replyJSON("rating", R"({"answer": "Success"})");
    auto form = open();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->modalPresentationStyle(), uikit::ModalPresentationStyle::overFullScreen);
    EXPECT_FALSE(form->submitBtn->isEnabled());
    write(*form, 3, "Lovely", "Does all I need.");
    EXPECT_EQ(form->rate(), 3);
    EXPECT_EQ(form->ratingButtons[2]->imageForState(uikit::ControlStates::normal)->name(),
              "starSelected");
    EXPECT_EQ(form->ratingButtons[3]->imageForState(uikit::ControlStates::normal)->name(), "star");
    snapshot("leave-review");

    ASSERT_TRUE(uikit::hands::tap(form->submitBtn));
    EXPECT_EQ(storedRating(), 3);
    ASSERT_TRUE(pumpUntil([&] { return delegate->updates == 1; }));
    advanceClock(1);
    EXPECT_FALSE(formShown());
    EXPECT_TRUE(delegate->warnings.empty());
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(formFields(posts()[0].body),
              (std::map<std::string, std::string>{{"package", "com.sample.tweak"},
                                                  {"user", "ann"},
                                                  {"rate", "3"},
                                                  {"title", "Lovely"},
                                                  {"description", "Does all I need."}}));
}

TEST_F(LeaveReviewTest, AReviewThatReadsLikeASupportRequestGoesBackToThePage) {
    signIn("ann");
    const std::vector<std::pair<std::string, std::string>> requests = {
        {"App crashes on launch", "Otherwise fine"},
        {"Nice", "but it has a BUG in the settings"},
        {"Respring fails", ""},
        {"", "One issue left"},
    };
    for (const auto& [title, text] : requests) {
        auto form = open();
        ASSERT_TRUE(form);
        write(*form, 4, title, text);
        ASSERT_TRUE(uikit::hands::tap(form->submitBtn));
        advanceClock(1);
        EXPECT_FALSE(formShown()) << title;
        ASSERT_FALSE(delegate->warnings.empty());
        EXPECT_EQ(delegate->warnings.back(), (RecordingReviewDelegate::Warning{title, text, 4}));
    }
    EXPECT_EQ(delegate->warnings.size(), requests.size());
    EXPECT_EQ(delegate->updates, 0);
    EXPECT_EQ(storedRating(), 0);
    EXPECT_TRUE(posts().empty());
}

TEST_F(LeaveReviewTest, AReviewTheServiceRefusesStaysWithTheReason) {
    replyJSON("rating", R"({"answer": "Failed"})");
    auto form = open();
    ASSERT_TRUE(form);
    write(*form, 5, "Great", "Love it");
    ASSERT_TRUE(uikit::hands::tap(form->submitBtn));
    ASSERT_TRUE(pumpUntil([&] { return delegate->updates == 1; }));
    advanceClock(1);
    auto alert = std::dynamic_pointer_cast<uikit::AlertController>(form->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), KSPackageRatings::kNotSignedInAnswer);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(storedRating(), 5);
    ASSERT_TRUE(uikit::hands::pickAlertAction(alert, "OK"));
    advanceClock(1);

    signIn("ann");
    ASSERT_TRUE(uikit::hands::tap(form->submitBtn));
    ASSERT_TRUE(pumpUntil([&] { return delegate->updates == 2; }));
    advanceClock(1);
    alert = std::dynamic_pointer_cast<uikit::AlertController>(form->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "There was an error while posting the review");
    EXPECT_EQ(form->titleTextField->text(), "Great");
    EXPECT_TRUE(form->submitBtn->isEnabled());
    EXPECT_EQ(posts().size(), 1u);
}

TEST_F(LeaveReviewTest, TheStoredRatingIsPickedAndCancelSendsNothing) {
    change("com.sample.tweak", [](KSRPackage& package) { package.myRating = 2; });
    auto form = open();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->rate(), 2);
    EXPECT_TRUE(form->submitBtn->isEnabled());
    ASSERT_TRUE(uikit::hands::tap(form->ratingButtons[4]));
    ASSERT_TRUE(uikit::hands::tap(form->cancelBtn));
    advanceClock(1);
    EXPECT_FALSE(formShown());
    EXPECT_EQ(storedRating(), 2);
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(delegate->updates, 0);
}

}  // namespace
}  // namespace corvane::testing
