// The developer page as a link of the application's own scheme presents it: the profile from
// the maker's service, a picture served on 127.0.0.1, and the developer's stored packages.
#include "screens/developers/DeveloperDetailsViewController.h"

#include <gtest/gtest.h>

#include "screens/PageScreenFixture.h"
#include "screens/packages/AllDevPackagesViewController.h"
#include "screens/website/WebViewViewController.h"
#include "support/Pixels.h"
#include "uikit/Hands.h"
#include "uikit/InterfaceHands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;
using testing_support::pumpUntil;

class DeveloperDetailsTest : public PageScreenFixture {
  protected:
    void SetUp() override {
        PageScreenFixture::SetUp();
        const auto picture = uikit::Image::withColor(uikit::Color(0.9, 0.4, 0.1), {120, 120});
        const auto png = picture->pngData();
        ASSERT_TRUE(png);
        served = uikit::Image::fromData(*png);
        service.route("/avatars/ada.png",
                      {.body = std::string(png->begin(), png->end()), .contentType = "image/png"});
        service.route(
            "/avatars/missing.png",
            {.status = 404, .body = "<html>Not found</html>", .contentType = "text/html"});
        service.route("/ada",
                      {.body = "<html><title>Ada</title></html>", .contentType = "text/html"});
    }

    KSDeveloperProfile ada() const {
        KSDeveloperProfile profile;
        profile.name = "Ada Sample";
        profile.fullName = "Ada S.";
        profile.bio = "Makes small tweaks that do one thing well, and the libraries they share.";
        profile.avatarURL = service.url("/avatars/ada.png");
        profile.website = service.url("/ada");
        profile.twitter = "@ada";
        return profile;
    }
    std::shared_ptr<DeveloperDetailsViewController> present(KSDeveloperProfile profile) {
        KSScreenFactory::Request request;
        request.developerProfile = std::move(profile);
        request.isPresented = true;
        return presentInNavigation<DeveloperDetailsViewController>(Screen::developerDetails,
                                                                   request);
    }
    static std::shared_ptr<uikit::ViewController> topOf(DeveloperDetailsViewController& page) {
        return page.navigationController()->topViewController();
    }

    std::shared_ptr<uikit::Image> served;
};

TEST_F(DeveloperDetailsTest, ShowsTheProfileAndLeadsToThePackagesAndTheWebsite) {
    auto page = present(ada());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title(), "Ada S.");
    EXPECT_EQ(page->nameLbl->text(), "Ada S.");
    EXPECT_EQ(page->bioLbl->text(), ada().bio);
    EXPECT_GT(page->bioLbl->frame().height(), page->bioLbl->font().lineHeight());
    EXPECT_EQ(page->packagesBtn->currentTitle(), "Ada Sample's Packages");
    EXPECT_FALSE(page->packagesBtn->isHidden());
    EXPECT_FALSE(page->websiteBtn->isHidden());
    EXPECT_TRUE(page->twitterBtn->isHidden());
    EXPECT_GE(page->packagesBtn->frame().minY(), page->bioLbl->frame().maxY());
    ASSERT_TRUE(pumpUntil([&] { return page->avatarView->image() != nullptr; }));
    ASSERT_TRUE(served);
    EXPECT_EQ(page->avatarView->image()->size(), served->size());
    snapshot("developer-details");

    ASSERT_TRUE(uikit::hands::tap(page->packagesBtn));
    advanceClock(1);
    auto packages = std::dynamic_pointer_cast<AllDevPackagesViewController>(topOf(*page));
    ASSERT_TRUE(packages);
    EXPECT_EQ(packages->title(), "Ada Sample's Packages");
    EXPECT_EQ(packages->packages().size(), 3u);
    page->navigationController()->pop(false);
    advanceClock(1);

    ASSERT_TRUE(uikit::hands::tap(page->websiteBtn));
    advanceClock(1);
    auto website = std::dynamic_pointer_cast<WebViewViewController>(topOf(*page));
    ASSERT_TRUE(website);
    EXPECT_EQ(website->title(), "Ada S.'s website");
    EXPECT_EQ(website->websiteURL()->absoluteString(), service.url("/ada"));
}

TEST_F(DeveloperDetailsTest, APictureThatIsNoImageOrNoWebAddressLeavesThePlaceholder) {
    for (const auto& address :
         {service.url("/avatars/missing.png"), std::string("file:///x.png")}) {
        auto profile = ada();
        profile.avatarURL = address;
        auto page = present(profile);
        ASSERT_TRUE(page);
        testing_support::pumpFor(0.3);
        EXPECT_FALSE(page->avatarView->image()) << address;
        page->dismissVC();
        advanceClock(1);
    }
}

TEST_F(DeveloperDetailsTest, OnlyWhatTheDeveloperHasIsOfferedAndCloseDismisses) {
    KSDeveloperProfile profile;
    profile.name = profile.fullName = "Nobody Stored";
    profile.website = "javascript:alert(1)";
    profile.twitter = "https://twitter.example/nobody";
    auto page = present(profile);
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->packagesBtn->isHidden());
    EXPECT_TRUE(page->websiteBtn->isHidden());
    ASSERT_FALSE(page->twitterBtn->isHidden());
    EXPECT_EQ(page->twitterBtn->frame().minY(), page->packagesBtn->frame().minY());

    auto close = page->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->title(), "Close");
    ASSERT_TRUE(uikit::hands::tapBarButton(close));
    advanceClock(1);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
}

}  // namespace
}  // namespace corvane::testing
