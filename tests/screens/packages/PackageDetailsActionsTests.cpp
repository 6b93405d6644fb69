// Every button, strip and link of the package page does what it says: queue, options, share,
// mail the author, the author's website and donation page, the wishlist, the installed files,
// the author's other packages, the reviews, the screenshots. The screens the page opens are
// stand-ins here that note what they were asked for.
#include <gtest/gtest.h>

#include "screens/packages/OnlinePageFixture.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class PackageDetailsActionsTest : public OnlinePageFixture {
  protected:
    std::shared_ptr<ErrorViewController> panelOn(PackageDetailsViewController& page) {
        advanceClock(1);
        return std::dynamic_pointer_cast<ErrorViewController>(page.presentedViewController());
    }
    // The stand-in the page pushed, taken off again.
    void expectPushed(const Opened& screen) {
        EXPECT_EQ(navigation->topViewController(), screen.controller);
        navigation->pop(false);
        advanceClock(1);
    }
    std::string lastOpenedURL() const {
        const auto& opened = uikit::Application::shared().openedURLs();
        return opened.empty() ? std::string() : opened.back().absoluteString();
    }
};

TEST_F(PackageDetailsActionsTest, TheHeaderQueuesOffersOptionsAndShares) {
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_TRUE(uikit::hands::tap(page->header().getBtn));
    EXPECT_EQ(services->queued, std::vector<std::string>{"com.sample.tweak"});
    ASSERT_TRUE(uikit::hands::longPress(page->header().getBtn, 0.5));
    EXPECT_EQ(services->options, std::vector<std::string>{"com.sample.tweak"})
        << "one sheet for one press";
    ASSERT_TRUE(uikit::hands::tap(page->header().shareBtn));
    EXPECT_EQ(services->shared, std::vector<std::string>{"com.sample.tweak"});
}

TEST_F(PackageDetailsActionsTest, MailToTheAuthorNamesOnlyAPlainAddress) {
    change("com.sample.tweak", [](KSRPackage& package) { package.contact = "ada@sample.test"; });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapOnPage(*page, page->reviews().contactDeveloperBtn));
    EXPECT_EQ(lastOpenedURL(),
              "mailto:ada@sample.test?subject=Corvane%205%3A%20Question%20regarding%20Sample%"
              "20Tweak");

    change("com.sample.theme", [](KSRPackage& package) {
        package.contact = "cy@sample.test?bcc=everyone@example.org&body=Hello";
    });
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    ASSERT_TRUE(tapOnPage(*theme, theme->reviews().contactDeveloperBtn));
    EXPECT_EQ(lastOpenedURL(),
              "mailto:?subject=Corvane%205%3A%20Question%20regarding%20Night%20Sky%20Theme");
}

TEST_F(PackageDetailsActionsTest, TheWebsiteOpensInsideOnlyWhenItCanBeFetched) {
    change("com.sample.tweak",
           [](KSRPackage& package) { package.website = "https://ada.example.org/tweak"; });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->information().developerWebsiteBtn->currentTitleColor(),
              page->view()->tintColor())
        << "a text button reads in the tint, not white on white";
    ASSERT_TRUE(tapOnPage(*page, page->information().developerWebsiteBtn));
    advanceClock(1);
    auto websites = openedScreens(Screen::website);
    ASSERT_EQ(websites.size(), 1u);
    EXPECT_EQ(websites[0].request.title, "Ada Sample's website");
    ASSERT_TRUE(websites[0].request.websiteURL);
    EXPECT_EQ(websites[0].request.websiteURL->absoluteString(), "https://ada.example.org/tweak");
    EXPECT_FALSE(websites[0].request.isPresented);
    expectPushed(websites[0]);

    change("com.sample.theme",
           [](KSRPackage& package) { package.website = "javascript:alert(document.cookie)"; });
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    ASSERT_TRUE(tapOnPage(*theme, theme->information().developerWebsiteBtn));
    auto panel = panelOn(*theme);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->titleTxt(), "No Website Link");
    EXPECT_EQ(panel->errorTxt(), "Cy Sample hasn't provided a website link");
    EXPECT_EQ(panel->closeBtnTxt(), "OK");
    EXPECT_EQ(panel->numberOfBtn(), 1);
    EXPECT_EQ(openedScreens(Screen::website).size(), 1u);
}

TEST_F(PackageDetailsActionsTest, DonatingWithoutALinkSaysWhoHasNotGivenOne) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_FALSE(page->information().donateBtn->isHidden())
        << "an info-JSON source offers donations";
    ASSERT_TRUE(tapOnPage(*page, page->information().donateBtn));
    auto panel = panelOn(*page);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->titleTxt(), "No Donate Link");
    EXPECT_EQ(panel->errorTxt(), "Ada Sample hasn't provided a donate link.");
}

TEST_F(PackageDetailsActionsTest, AnAlertOfThePageComesOverItAnimated) {
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    auto alert =
        uikit::AlertController::create("Title", "Message", uikit::AlertController::Style::alert);
    page->showAlert(alert);
    EXPECT_EQ(page->presentedViewController(), alert);
    EXPECT_TRUE(alert->isBeingPresented()) << "animated";
    advanceClock(1);
    EXPECT_FALSE(alert->isBeingPresented());
    EXPECT_EQ(window->topmostPresentedViewController(), alert);
}

TEST_F(PackageDetailsActionsTest, TheWishlistTappedTwiceRestoresTheStoredValue) {
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    auto wishlist = page->navigationItem()->rightBarButtonItem();
    ASSERT_EQ(wishlist, page->wishlistBtn());
    ASSERT_TRUE(uikit::hands::tapBarButton(wishlist));
    EXPECT_TRUE(stored("com.sample.tweak")->isInWishlist);
    EXPECT_EQ(wishlist->image()->name(), "Fav");
    ASSERT_TRUE(uikit::hands::tapBarButton(wishlist));
    EXPECT_FALSE(stored("com.sample.tweak")->isInWishlist);
    EXPECT_EQ(wishlist->image()->name(), "Not Fav");
    reappear(*page);
    EXPECT_EQ(page->wishlistBtn()->image()->name(), "Not Fav");
}

TEST_F(PackageDetailsActionsTest, InstalledFilesAndTheAuthorsPackagesOpenForThisPackage) {
    change("com.sample.conflicting", [](KSRPackage& package) { package.isInstalled = true; });
    auto page = open("com.sample.conflicting");
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapOnPage(*page, page->information().installedFilesBtn));
    auto files = openedScreens(Screen::installedFiles);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].request.packageIdentifier, "com.sample.conflicting");
    expectPushed(files[0]);

    ASSERT_TRUE(tapOnPage(*page, page->moreByDeveloper().seeAllDevPackagesBtn));
    auto packages = openedScreens(Screen::developerPackages);
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(packages[0].request.title, "Bo Sample's Packages");
    EXPECT_EQ(packages[0].request.maintainer, "Bo Sample");
    expectPushed(packages[0]);

    // A row of "More by" opens that package's own page.
    bringIntoSight(*page, page->moreByDeveloper().otherDevPackagesTableView);
    ASSERT_TRUE(uikit::hands::selectRow(page->moreByDeveloper().otherDevPackagesTableView, {0, 0}));
    advanceClock(1);
    auto next =
        std::dynamic_pointer_cast<PackageDetailsViewController>(navigation->topViewController());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->packageIdentifier(), page->model().devPackages().front());
    settle(*next);
}

TEST_F(PackageDetailsActionsTest, TheStripsOpenTheReviewsTheAuthorAndTheScreenshots) {
    serveJSON("reviews", R"([{"title": "Fine", "desc": "Works", "name": "bob", "rating": 4}])");
    serveImage("/shot.png", uikit::Color::systemGreen());
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    const std::string shot = web.url("/shot.png");
    change("com.sample.tweak", [&](KSRPackage& package) {
        package.contact = "ada@sample.test";
        package.screenshots = {shot};
    });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] {
        return !page->reviews().reviewsCollectionView->isHidden() &&
               page->model().screenshotsDictionary().size() == 1;
    }));

    ASSERT_TRUE(tapOnPage(*page, page->reviews().seeAllReviewsBtn));
    auto reviews = openedScreens(Screen::allReviews);
    ASSERT_EQ(reviews.size(), 1u);
    EXPECT_EQ(reviews[0].request.packageIdentifier, "com.sample.tweak");
    EXPECT_EQ(reviews[0].request.maintainer, "Ada Sample");
    expectPushed(reviews[0]);
    bringIntoSight(*page, page->reviews().reviewsCollectionView);
    ASSERT_TRUE(uikit::hands::selectItem(page->reviews().reviewsCollectionView, {0, 0}));
    ASSERT_EQ(openedScreens(Screen::allReviews).size(), 2u);
    expectPushed(openedScreens(Screen::allReviews)[1]);

    bringIntoSight(*page, page->description().authorCollectionView);
    ASSERT_TRUE(uikit::hands::selectItem(page->description().authorCollectionView, {0, 0}));
    auto author = openedScreens(Screen::contactDeveloper);
    ASSERT_EQ(author.size(), 1u);
    EXPECT_EQ(author[0].request.developerName, "Ada Sample");
    EXPECT_EQ(author[0].request.email, "ada@sample.test");
    EXPECT_EQ(author[0].request.packageName, "Sample Tweak");
    EXPECT_EQ(author[0].request.developerAvatar, page->model().authorAvatar());
    expectPushed(author[0]);

    bringIntoSight(*page, page->screenshots().screenshotsCollectionView);
    ASSERT_TRUE(uikit::hands::selectItem(page->screenshots().screenshotsCollectionView, {0, 0}));
    advanceClock(1);
    auto pager = openedScreens(Screen::screenshots);
    ASSERT_EQ(pager.size(), 1u);
    EXPECT_EQ(pager[0].request.screenshotsDictionary, page->model().screenshotsDictionary());
    auto presented = std::dynamic_pointer_cast<uikit::NavigationController>(
        navigation->presentedViewController());
    ASSERT_TRUE(presented) << "the pager comes in a navigation controller of its own";
    EXPECT_EQ(presented->topViewController(), pager[0].controller);
}

TEST_F(PackageDetailsActionsTest, LinksOfTheDescriptionOpenOnlyOnTheWebOrInMail) {
    changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    change("com.sample.tweak", [](KSRPackage& package) {
        package.Description =
            "See [the site](https://ada.example.org/x) or "
            "[write](mailto:ada@sample.test?cc=eve@example.org&body=Hi).";
    });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    page->description().descriptionLbl->tapLink("https://ada.example.org/x");
    advanceClock(1);
    auto websites = openedScreens(Screen::website);
    ASSERT_EQ(websites.size(), 1u);
    EXPECT_EQ(websites[0].request.title, "Sample Tweak's Link");
    EXPECT_EQ(websites[0].request.websiteURL->absoluteString(), "https://ada.example.org/x");
    expectPushed(websites[0]);

    page->description().descriptionLbl->tapLink(
        "mailto:ada@sample.test?cc=eve@example.org&body=Hi");
    EXPECT_EQ(lastOpenedURL(), "mailto:ada@sample.test") << "the recipient, nobody else";

    const std::size_t openedBefore = uikit::Application::shared().openedURLs().size();
    for (const char* hostile :
         {"file:///etc/passwd", "javascript:alert(1)", "tel:123", "mailto:?to=eve@example.org"})
        EXPECT_FALSE(page->textViewShouldInteractWithURL(*page->description().descriptionLbl,
                                                         hostile, {}, uikit::TextItemInteraction{}))
            << hostile;
    advanceClock(1);
    EXPECT_EQ(uikit::Application::shared().openedURLs().size(), openedBefore);
    EXPECT_EQ(openedScreens(Screen::website).size(), 1u);
    EXPECT_EQ(navigation->topViewController(), page);
}

}  // namespace
}  // namespace corvane::testing
