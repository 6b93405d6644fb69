// The author's contact page as the package page pushes it: the mail it writes and the pages it
// opens, and what it refuses to offer.
#include "screens/developers/ContactDeveloperViewController.h"

#include <gtest/gtest.h>

#include "framework/links/KSMailLink.h"
#include "screens/PageScreenFixture.h"
#include "uikit/Application.h"
#include "uikit/Hands.h"

namespace corvane::testing {
namespace {

using testing_support::advanceClock;

class ContactDeveloperTest : public PageScreenFixture {
  protected:
    void SetUp() override {
        PageScreenFixture::SetUp();
        KSScreenFactory::registerScreen(Screen::website, [this](const auto& request) {
            browsed.push_back(request);
            return std::make_shared<uikit::ViewController>();
        });
    }

    std::shared_ptr<ContactDeveloperViewController> open(std::optional<std::string> email,
                                                         std::optional<std::string> twitter,
                                                         std::optional<std::string> donate) {
        KSScreenFactory::Request request;
        request.developerAvatar = uikit::Image::withColor(uikit::Color(0.2, 0.5, 0.9), {96, 96});
        request.developerName = "Ada Sample";
        request.email = std::move(email);
        request.packageName = "Sample Tweak";
        request.twitter = twitter ? foundation::URL::withString(*twitter) : std::nullopt;
        request.donateLink = donate ? foundation::URL::withString(*donate) : std::nullopt;
        return push<ContactDeveloperViewController>(Screen::contactDeveloper, request);
    }
    static std::vector<std::string> opened() {
        std::vector<std::string> texts;
        for (const auto& url : uikit::Application::shared().openedURLs())
            texts.push_back(url.absoluteString());
        return texts;
    }

    std::vector<KSScreenFactory::Request> browsed;
    foundation::ObservationToken opener =
        uikit::Application::shared().setURLOpener([](const std::string&) { return true; });
};

TEST_F(ContactDeveloperTest, MailsTheAuthorAboutThePackageAndOpensTheirPages) {
    auto contact =
        open("ada@sample.test", "https://twitter.example/ada", "https://pay.example/ada?x=1");
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->developerNameLbl->text(), "Ada Sample");
    EXPECT_EQ(contact->packageNameLbl->text(), "Sample Tweak");
    ASSERT_TRUE(contact->developerIconView->image());
    snapshot("contact-developer");

    ASSERT_TRUE(uikit::hands::tap(contact->emailBtn));
    EXPECT_EQ(opened(), std::vector<std::string>{
                            "mailto:ada@sample.test?subject=Corvane%205%3A%20Question%20regarding%"
                            "20Sample%20Tweak"});
    ASSERT_TRUE(uikit::hands::tap(contact->twitterBtn));
    advanceClock(1);
    navigation->pop(false);
    advanceClock(1);
    ASSERT_TRUE(uikit::hands::tap(contact->donateBtn));
    advanceClock(1);
    ASSERT_EQ(browsed.size(), 2u);
    EXPECT_EQ(browsed[0].title, "Ada Sample's Twitter");
    EXPECT_EQ(browsed[0].websiteURL->absoluteString(), "https://twitter.example/ada");
    EXPECT_EQ(browsed[1].title, "Ada Sample's Donate Link");
    EXPECT_EQ(browsed[1].websiteURL->absoluteString(), "https://pay.example/ada?x=1");
}

TEST_F(ContactDeveloperTest, OnlyAPlainAddressAndWebPagesAreOffered) {
    for (const char* address : {"ada@sample.test?cc=eve@evil.test", "ada@sample.test,eve@evil.test",
                                "Ada <ada@sample.test>", "ada@localhost", "ada@sample.test&body=x",
                                "ada..b@sample.test", "@sample.test"}) {
        auto contact = open(address, "javascript:alert(1)", "file:///etc/passwd");
        ASSERT_TRUE(contact);
        EXPECT_TRUE(contact->emailBtn->isHidden()) << address;
        EXPECT_TRUE(contact->twitterBtn->isHidden());
        EXPECT_TRUE(contact->donateBtn->isHidden());
        contact->sendEmail();
        contact->openTwitter();
        contact->donate();
    }
    EXPECT_TRUE(opened().empty());
    EXPECT_TRUE(browsed.empty());
}

TEST_F(ContactDeveloperTest, OfferedWaysCloseUpWhereOneIsMissing) {
    auto every = open("ada@sample.test", "https://twitter.example/ada", "https://pay.example/ada");
    auto contact = open(std::nullopt, std::nullopt, "http://pay.example/ada");
    ASSERT_TRUE(every && contact);
    EXPECT_TRUE(contact->emailBtn->isHidden());
    EXPECT_TRUE(contact->twitterBtn->isHidden());
    ASSERT_FALSE(contact->donateBtn->isHidden());
    EXPECT_EQ(contact->donateBtn->frame(), every->emailBtn->frame());
}

TEST_F(ContactDeveloperTest, RecipientAndSubjectAreEscapedWhole) {
    const auto link =
        KSMailLink::make("a+b@sample.test", KSMailLink::questionSubject("Tweak&body=Hi?cc=x@y.z"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->absoluteString(),
              "mailto:a%2Bb@sample.test?subject=Corvane%205%3A%20Question%20regarding%20"
              "Tweak%26body%3DHi%3Fcc%3Dx%40y.z");
    EXPECT_FALSE(KSMailLink::isPlainAddress(""));
    EXPECT_FALSE(KSMailLink::isPlainAddress(".ann@sample.test"));
    EXPECT_FALSE(KSMailLink::isPlainAddress("ann..b@sample.test"));
    EXPECT_FALSE(KSMailLink::isPlainAddress(std::string(65, 'a') + "@sample.test"));
}

}  // namespace
}  // namespace corvane::testing
