// The package page reads the depiction of the package from a server on 127.0.0.1: a native one
// fills description, changelog, screenshots and banner; the web pages of the four repositories
// the page knows fill it when there is none or it fails; and every outcome, failures included,
// ends the wait, so no empty block stays reserved for screenshots that never come.
#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/DispatchQueue.h"
#include "foundation/Strings.h"
#include "framework/depictions/KSVostrelLayout.h"
#include "framework/network/KSImageFetcher.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "screens/packages/OnlinePageFixture.h"
#include "screens/packages/PackageScreenshots.h"
#include "support/SilentListener.h"
#include "support/ThreadCount.h"

namespace corvane::testing {
namespace {

using testing_support::pumpFor;
using testing_support::pumpUntil;
using uikit::Color;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class PackageDetailsDepictionTest : public OnlinePageFixture {
  protected:
    void TearDown() override {
        KSImageFetcher::setTimeoutSeconds(KSImageFetcher::kTimeoutSeconds);
        OnlinePageFixture::TearDown();
    }

    // A native depiction whose only tab is its details.
    std::string nativeDepiction(const std::string& details, const std::string& changelogLink) {
        return R"({"tabs": [{"tabname": "Details", "views": [
                    {"class": "DepictionMarkdownView", "markdown": ")" +
               details + R"("},
                    {"class": "DepictionTableButtonView", "title": "Changelog", "action": ")" +
               changelogLink + R"("}]}]})";
    }
    static std::string description(PackageDetailsViewController& page) {
        return page.description().descriptionLbl->attributedText().string();
    }
    static std::string changelog(PackageDetailsViewController& page) {
        return page.changelog().changelogContentLbl->attributedText().string();
    }
    // The block between the description and what stands above it holds nothing.
    static void expectNoEmptyBlock(PackageDetailsViewController& page) {
        EXPECT_TRUE(page.screenshots().screenshotsCollectionView->isHidden());
        EXPECT_DOUBLE_EQ(page.screenshots().screenshotsCollectionView->frame().height(), 0);
        EXPECT_DOUBLE_EQ(page.description().descriptionTitle->frame().minY(),
                         page.screenshots().screenshotsSeparator->frame().maxY() + 20);
    }
};

TEST_F(PackageDetailsDepictionTest, ANativeDepictionFillsDescriptionChangelogAndScreenshots) {
    auto page = open("com.sample.nativedepiction");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] {
        return page->model().screenshotsDictionary().size() == 2 &&
               page->model().cydiaPackageHaveChangelog();
    }));
    EXPECT_TRUE(contains(description(*page), "A tweak described by a native depiction."))
        << description(*page);
    EXPECT_TRUE(contains(changelog(*page), "Faster start-up")) << changelog(*page);
    EXPECT_EQ(page->changelog().changelogVersionLbl->text(), "2.4");
    EXPECT_FALSE(page->changelog().changelogTitle->isHidden());
    EXPECT_GT(page->changelog().changelogContentLbl->frame().height(), 40)
        << "placed at its text's height";
    EXPECT_GE(page->changelog().changelogContentLbl->frame().minY(),
              page->changelog().changelogVersionLbl->frame().maxY());
    EXPECT_DOUBLE_EQ(page->changelog().changelogSeparator->frame().minY(),
                     page->changelog().changelogContentLbl->frame().maxY() + 20);
    EXPECT_FALSE(page->screenshots().screenshotsCollectionView->isHidden());
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsCollectionView->frame().height(), 441);
    EXPECT_DOUBLE_EQ(page->screenshots().screenshotsTitle->frame().minY(),
                     page->changelog().changelogSeparator->frame().maxY() + 20);
    auto record = stored("com.sample.nativedepiction");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots.size(), 2u);
    EXPECT_EQ(record->screenshotsLocalPaths.size(), 2u);
}

TEST_F(PackageDetailsDepictionTest, AFailedNativeDepictionOfABigBossPackageFallsBackToItsPage) {
    serve("/bb/depiction.html",
          "<h1 id='name'>Scraped Tweak</h1><div id='description'><p>Scraped words.</p></div>"
          "<div id='changelog'><p>1.3: fewer crashes</p></div>"
          "<div id='screenshots'><img src='s1.png'><img src='s2.png'></div>");
    serveImage("/bb/s1.png", Color::systemRed());
    serveImage("/bb/s2.png", Color::systemBlue());
    const std::string native = web.url("/bb/missing.json");
    const std::string website = web.url("/bb/depiction.html");
    change("com.sample.tweak", [&](KSRPackage& package) {
        package.sourceLocation = KSKnownRepositories::kBigBossLocation;
        package.sileoDepiction = native;
        package.website = website;
    });
    auto page = open("com.sample.tweak");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] {
        return page->header().nameLbl->text() == "Scraped Tweak" &&
               page->model().screenshotsDictionary().size() == 2 &&
               page->model().cydiaPackageHaveChangelog();
    }));
    EXPECT_TRUE(contains(description(*page), "Scraped words.")) << description(*page);
    EXPECT_EQ(page->changelog().changelogContentLbl->text(), "1.3: fewer crashes");
    EXPECT_EQ(requestsTo("/bb/missing.json").size(), 1u);
    auto scraped = requestsTo("/bb/depiction.html");
    ASSERT_EQ(scraped.size(), 1u);
    EXPECT_EQ(scraped[0].header("User-Agent"), "Telesphoreo APT-HTTP/1.0.592");
    EXPECT_FALSE(scraped[0].header("X-Unique-ID"))
        << "a host the package names is not the repository's own";
    EXPECT_FALSE(scraped[0].header("X-Machine"));
}

TEST_F(PackageDetailsDepictionTest, TheVostrelAndPellithPagesFillThePageFromTheirOwnPages) {
    setenv(KSVostrelLayout::kSiteEnvironmentVariable, web.url("/").c_str(), 1);
    serve("/info/com.sample.corelib/",
          "<div class='package-name'>Night Core</div>"
          "<div class='package-description'>Dims the core at night.</div>"
          "<div class='screenshots'><img src='/vostrel/night.png'></div>");
    serve("/changelog/com.sample.corelib/", "<div class='changelog'><p>1.4: dark</p></div>");
    serveImage("/vostrel/night.png", Color::systemPurple());
    change("com.sample.corelib", [](KSRPackage& package) {
        package.sourceLocation = KSKnownRepositories::kModMyiLocation;
    });
    auto vostrel = open("com.sample.corelib");
    ASSERT_TRUE(vostrel);
    ASSERT_TRUE(pumpUntil([&] {
        return vostrel->model().screenshotsDictionary().size() == 1 &&
               vostrel->model().cydiaPackageHaveChangelog();
    }));
    EXPECT_EQ(vostrel->header().nameLbl->text(), "Night Core");
    EXPECT_TRUE(contains(description(*vostrel), "Dims the core at night."));
    EXPECT_EQ(vostrel->changelog().changelogContentLbl->text(), "1.4: dark");

    serve("/pellith/package.html",
          "<div class='description'><p>Adds gestures.</p></div>"
          "<a class='changelog' href='changelog.html'>Changelog</a>"
          "<a class='screenshots' href='gallery.html'>Screenshots</a>");
    serve("/pellith/changelog.html", "<div id='changelog'><p>1.2: iPad</p></div>");
    serve("/pellith/gallery.html", "<div id='screenshots'><img src='one.png'></div>");
    serveImage("/pellith/one.png", Color::systemOrange());
    const std::string website = web.url("/pellith/package.html");
    change("com.sample.theme", [&](KSRPackage& package) {
        package.sourceLocation = KSKnownRepositories::kPellithLocation;
        package.website = website;
    });
    auto pellith = open("com.sample.theme");
    ASSERT_TRUE(pellith);
    ASSERT_TRUE(pumpUntil([&] {
        return pellith->model().screenshotsDictionary().size() == 1 &&
               pellith->model().cydiaPackageHaveChangelog();
    }));
    EXPECT_EQ(pellith->header().nameLbl->text(), "Night Sky Theme") << "this layout names nothing";
    EXPECT_TRUE(contains(description(*pellith), "Adds gestures."));
    EXPECT_EQ(pellith->changelog().changelogContentLbl->text(), "1.2: iPad");
}

// As repositories write them: a subheader per version over a list of its changes.
TEST_F(PackageDetailsDepictionTest, AChangelogKeepsItsVersionHeadingsAndEachChangeBesideItsBullet) {
    std::string views;
    for (const char* version : {"Version 1.5.0", "1.1", "1.0.2"}) {
        const std::string tag = foundation::replace(version, "Version ", "");
        views +=
            std::string(R"({"class": "DepictionSubheaderView", "useBoldText": true, "title": ")") +
            version + R"("}, {"class": "DepictionMarkdownView", "markdown": "- Fixed )" + tag +
            R"( a\n- Added )" + tag + R"( b\n- Faster )" + tag +
            R"( c"}, {"class": "DepictionSeparatorView"},)";
    }
    views.pop_back();
    serve("/d/versions.json",
          R"({"tabs": [{"tabname": "Details", "views": [{"class": "DepictionMarkdownView",
              "markdown": "Words"}]}, {"tabname": "Changelog", "views": [)" +
              views + "]}]}",
          200, "application/json");
    const std::string address = web.url("/d/versions.json");
    change("com.sample.theme", [&](KSRPackage& package) { package.sileoDepiction = address; });
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().cydiaPackageHaveChangelog(); }));

    std::vector<std::string> lines;
    for (const auto& line : foundation::split(changelog(*page), "\n"))
        if (!line.empty())
            lines.push_back(line);
    const std::string bullet = "\u2022 ";
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Version 1.5.0", bullet + "Fixed 1.5.0 a",
                                        bullet + "Added 1.5.0 b", bullet + "Faster 1.5.0 c", "1.1",
                                        bullet + "Fixed 1.1 a", bullet + "Added 1.1 b",
                                        bullet + "Faster 1.1 c", "1.0.2", bullet + "Fixed 1.0.2 a",
                                        bullet + "Added 1.0.2 b", bullet + "Faster 1.0.2 c"}));
    const auto& text = page->changelog().changelogContentLbl->attributedText();
    const auto heading = text.attributesAt(text.string().find("1.1")).font;
    ASSERT_TRUE(heading);
    EXPECT_TRUE(heading->isBold()) << "a version reads as a heading";
}

TEST_F(PackageDetailsDepictionTest, AFirstReleaseOnlyOrMissingChangelogShowsNoneAndNoEmptyBlock) {
    serve("/d/first.json", nativeDepiction("Depiction words", web.url("/d/first.html")), 200,
          "application/json");
    serve("/d/first.html", "<section class='content'><ul><li>Initial release</li></ul></section>");
    const std::string first = web.url("/d/first.json");
    change("com.sample.theme", [&](KSRPackage& package) { package.sileoDepiction = first; });
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] {
        return page->model().refreshForCydiaPackages() && !requestsTo("/d/first.html").empty();
    }));
    pumpFor(0.3);
    EXPECT_FALSE(page->model().cydiaPackageHaveChangelog());
    EXPECT_TRUE(page->changelog().changelogTitle->isHidden());
    EXPECT_EQ(description(*page), "Depiction words");
    expectNoEmptyBlock(*page);

    // A changelog page that cannot be fetched leaves what the depiction set.
    serve("/d/broken.json", nativeDepiction("Broken words", web.url("/d/nope.html")), 200,
          "application/json");
    const std::string broken = web.url("/d/broken.json");
    change("com.sample.corelib", [&](KSRPackage& package) { package.sileoDepiction = broken; });
    auto failed = open("com.sample.corelib");
    ASSERT_TRUE(failed);
    ASSERT_TRUE(pumpUntil([&] {
        return failed->model().refreshForCydiaPackages() && !requestsTo("/d/nope.html").empty();
    }));
    pumpFor(0.3);
    EXPECT_TRUE(failed->changelog().changelogTitle->isHidden());
    EXPECT_EQ(description(*failed), "Broken words") << "the stored labels never come back over it";
    expectNoEmptyBlock(*failed);
}

TEST_F(PackageDetailsDepictionTest, ResultsOfAnEarlierAppearanceAreDropped) {
    serve("/slow/depiction.json", nativeDepiction("Slow words", ""), 200, "application/json", 0.5);
    const std::string slow = web.url("/slow/depiction.json");
    change("com.sample.theme", [&](KSRPackage& package) { package.sileoDepiction = slow; });
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return !requestsTo("/slow/depiction.json").empty(); }));
    // The page is left and shown again; its next depiction fails at once.
    change("com.sample.theme", [](KSRPackage& package) { package.sileoDepiction.reset(); });
    reappear(*page);
    pumpFor(0.8);
    EXPECT_NE(description(*page), "Slow words");
    EXPECT_EQ(page->description().descriptionLbl->text(),
              stored("com.sample.theme")->Description.value_or(""));
}

TEST_F(PackageDetailsDepictionTest, ManyScreenshotsAtASilentServerHoldFewThreadsAndEndInTimeOuts) {
    testing_support::SilentListener silent;
    std::string shots;
    for (int i = 0; i < 300; ++i)
        shots += std::string(i ? "," : "") + R"({"url": ")" +
                 silent.url("/" + std::to_string(i) + ".png") + R"("})";
    serve("/d/many.json",
          R"({"tabs": [{"tabname": "Details", "views": [{"class": "DepictionScreenshotsView",
              "screenshots": [)" +
              shots + "]}]}]}",
          200, "application/json");
    const std::string many = web.url("/d/many.json");
    change("com.sample.theme", [&](KSRPackage& package) { package.sileoDepiction = many; });
    KSImageFetcher::setTimeoutSeconds(0.3);

    // The global queues' threads are made at their first use, and stay.
    foundation::DispatchQueue::global(foundation::DispatchQueue::Priority::Default);
    const std::size_t before = testing_support::threadCount();
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    std::size_t most = 0;
    ASSERT_TRUE(pumpUntil(
        [&] {
            most = std::max(most, testing_support::threadCount());
            return page->model().refreshForCydiaPackages();
        },
        30));
    EXPECT_TRUE(page->model().screenshotRetrievingFail());
    // A few connections of the image session, and the page's other loads that come and go.
    EXPECT_LE(most, before + 4 + 10) << before << " threads before the page opened";
    auto record = stored("com.sample.theme");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots.size(), PackageScreenshots::kMaximumScreenshots)
        << "a silent server is no answer about the screenshots, and the list is cut";
    EXPECT_EQ(record->screenshots.front(), silent.url("/0.png"));
}

}  // namespace
}  // namespace corvane::testing
