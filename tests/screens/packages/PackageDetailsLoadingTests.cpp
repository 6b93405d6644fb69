// What the package page loads on every appearance, against a server on 127.0.0.1: its
// screenshots (numbered in address order, cached, kept through failures that may pass), its
// banner (only from an image that came), and its author's avatar.
#include <gtest/gtest.h>

#include "foundation/FileManager.h"
#include "screens/packages/OnlinePageFixture.h"
#include "screens/packages/PackageBanner.h"
#include "screens/packages/PackageScreenshots.h"
#include "screens/packages/PackageScreenshotsSection.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane::testing {
namespace {

using testing_support::pumpFor;
using testing_support::pumpUntil;
using uikit::Color;

// The colour in the middle of an image, away from its rounded corners.
Color middleOf(const std::shared_ptr<uikit::Image>& image) {
    return image ? image->pixelAt(image->pixelWidth() / 2, image->pixelHeight() / 2)
                 : Color::clear();
}

class PackageDetailsLoadingTest : public OnlinePageFixture {
  protected:
    void SetUp() override {
        OnlinePageFixture::SetUp();
        changeSource([](KSRSource& source) { source.isUsingInfoJson = true; }, location);
    }
    void storeScreenshots(const std::string& identifier, std::vector<std::string> addresses) {
        change(identifier, [&](KSRPackage& package) { package.screenshots = addresses; });
    }
    std::size_t requestsUnder(const std::string& folder) const {
        std::size_t count = 0;
        for (const auto& request : web.requests())
            count += request.path.starts_with(folder);
        return count;
    }
};

TEST_F(PackageDetailsLoadingTest, ThreeAddressesWithTheLastFailingGiveImagesOneAndTwoCached) {
    // The first answers last: numbers follow the addresses, not the answers.
    serveImage("/shots/1.png", Color::systemRed(), 0.3);
    serveImage("/shots/2.png", Color::systemBlue());
    serve("/shots/3.png", "<html>Not Found</html>", 404);
    const std::vector<std::string> addresses = {web.url("/shots/1.png"), web.url("/shots/2.png"),
                                                web.url("/shots/3.png")};
    storeScreenshots("com.sample.theme", addresses);
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));

    ASSERT_EQ(page->model().screenshotsDictionary().size(), 2u);
    EXPECT_EQ(middleOf(page->model().screenshotsDictionary().at(1)), Color::systemRed());
    EXPECT_EQ(middleOf(page->model().screenshotsDictionary().at(2)), Color::systemBlue());
    EXPECT_EQ(page->model().screenshotsDictionary().at(1)->pixelAt(0, 0).alpha(), 0)
        << "rounded corners";
    EXPECT_FALSE(page->model().screenshotRetrievingFail());
    const std::string first = PackageScreenshots::cachePath("com.sample.theme", 1);
    const std::string second = PackageScreenshots::cachePath("com.sample.theme", 2);
    EXPECT_EQ(middleOf(uikit::Image::fromFile(first)), Color::systemRed());
    EXPECT_EQ(middleOf(uikit::Image::fromFile(second)), Color::systemBlue());
    EXPECT_FALSE(
        foundation::FileManager::fileExists(PackageScreenshots::cachePath("com.sample.theme", 3)));
    auto record = stored("com.sample.theme");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots, (std::vector<std::string>{addresses[0], addresses[1]}))
        << "the address that is gone for good is dropped";
    EXPECT_EQ(record->screenshotsLocalPaths, (std::vector<std::string>{first, second}));

    // The strip reloaded with the two images.
    EXPECT_FALSE(page->screenshots().screenshotsCollectionView->isHidden());
    page->screenshots().screenshotsCollectionView->layoutIfNeeded();
    EXPECT_EQ(page->screenshots().screenshotsCollectionView->numberOfItemsInSection(0), 2);
    auto cell = std::dynamic_pointer_cast<ScreenshotsCell>(
        page->screenshots().screenshotsCollectionView->cellForItemAtIndexPath(
            uikit::IndexPath::forItem(1, 0)));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->screenshotImageView->image(), page->model().screenshotsDictionary().at(2));

    // The next appearance reads the cached files and asks the server nothing.
    const std::size_t asked = requestsUnder("/shots/");
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));
    EXPECT_EQ(requestsUnder("/shots/"), asked);
    ASSERT_EQ(page->model().screenshotsDictionary().size(), 2u);
    EXPECT_EQ(middleOf(page->model().screenshotsDictionary().at(2)), Color::systemBlue());
}

TEST_F(PackageDetailsLoadingTest, AFirstAddressGoneForGoodLeavesTheSecondImageCachedAsImageOne) {
    serve("/first/gone.png", "<html>Not Found</html>", 404);
    serveImage("/first/kept.png", Color::systemGreen());
    const std::string kept = web.url("/first/kept.png");
    storeScreenshots("com.sample.theme", {web.url("/first/gone.png"), kept});
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));

    const std::string one = PackageScreenshots::cachePath("com.sample.theme", 1);
    auto record = stored("com.sample.theme");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots, std::vector<std::string>{kept});
    EXPECT_EQ(record->screenshotsLocalPaths, std::vector<std::string>{one});
    EXPECT_EQ(middleOf(uikit::Image::fromFile(one)), Color::systemGreen());
    EXPECT_FALSE(
        foundation::FileManager::fileExists(PackageScreenshots::cachePath("com.sample.theme", 2)));

    // The stored lists match, so the next visit shows the cached image and asks for nothing.
    const std::size_t asked = requestsUnder("/first/");
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));
    EXPECT_EQ(requestsUnder("/first/"), asked);
    ASSERT_EQ(page->model().screenshotsDictionary().size(), 1u);
    EXPECT_EQ(middleOf(page->model().screenshotsDictionary().at(1)), Color::systemGreen());
}

TEST_F(PackageDetailsLoadingTest, FailuresThatMayPassKeepTheStoredScreenshots) {
    testing_support::HttpServer offline;
    offline.start();
    const std::vector<std::string> unreachable = {offline.url("/a.png"), offline.url("/b.png")};
    offline.stop();
    storeScreenshots("com.sample.theme", unreachable);
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));
    EXPECT_TRUE(page->model().screenshotRetrievingFail());
    EXPECT_FALSE(page->screenshots().screenshotsLbl->isHidden());
    EXPECT_EQ(page->screenshots().screenshotsLbl->text(),
              "There was an error retrieving screenshots for \"Night Sky Theme\"");
    auto record = stored("com.sample.theme");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots, unreachable) << "offline is no answer about the screenshots";

    // The server's own trouble neither.
    serve("/busy.png", "", 503);
    storeScreenshots("com.sample.corelib", {web.url("/busy.png")});
    auto busy = open("com.sample.corelib");
    ASSERT_TRUE(busy);
    ASSERT_TRUE(pumpUntil([&] { return busy->model().refreshForCydiaPackages(); }));
    record = stored("com.sample.corelib");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots, std::vector<std::string>{web.url("/busy.png")});
}

TEST_F(PackageDetailsLoadingTest, DefiniteFailuresClearOnlyTheListTheyStartedFrom) {
    serve("/gone.png", "", 410);
    storeScreenshots("com.sample.theme", {web.url("/gone.png"), "file:///etc/passwd"});
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().refreshForCydiaPackages(); }));
    auto record = stored("com.sample.theme");
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->screenshots.empty()) << "every address gave a definite answer";
    EXPECT_TRUE(page->model().screenshotRetrievingFail());

    // The stored list changes while the batch waits: the batch leaves it alone.
    serve("/late.png", "<html>Not Found</html>", 404, "text/html", 0.5);
    storeScreenshots("com.sample.corelib", {web.url("/late.png")});
    auto late = open("com.sample.corelib");
    ASSERT_TRUE(late);
    const std::vector<std::string> newer = {web.url("/newer.png")};
    storeScreenshots("com.sample.corelib", newer);
    ASSERT_TRUE(pumpUntil([&] { return late->model().refreshForCydiaPackages(); }));
    record = stored("com.sample.corelib");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->screenshots, newer);
}

TEST_F(PackageDetailsLoadingTest, TwoOverlappingAppearancesNeverMixTheirScreenshots) {
    serveImage("/o/1.png", Color::systemRed(), 1.0);
    serveImage("/o/2.png", Color::systemRed(), 1.0);
    storeScreenshots("com.sample.theme", {web.url("/o/1.png"), web.url("/o/2.png")});
    auto page = open("com.sample.theme");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil([&] { return requestsUnder("/o/") == 2; }));

    // While the first appearance waits, the page is shown again and the server answers at once.
    serveImage("/o/1.png", Color::systemGreen());
    serveImage("/o/2.png", Color::systemGreen());
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return page->model().screenshotsDictionary().size() == 2; }));
    pumpFor(1.5);
    EXPECT_EQ(requestsUnder("/o/"), 4u);
    ASSERT_EQ(page->model().screenshotsDictionary().size(), 2u);
    for (int number : {1, 2}) {
        EXPECT_EQ(middleOf(page->model().screenshotsDictionary().at(number)), Color::systemGreen())
            << number;
        EXPECT_EQ(middleOf(uikit::Image::fromFile(
                      PackageScreenshots::cachePath("com.sample.theme", number))),
                  Color::systemGreen())
            << number;
    }
}

TEST_F(PackageDetailsLoadingTest, ABannerShowsOnlyFromAnImageThatCame) {
    auto page = open("com.sample.nativedepiction");
    ASSERT_TRUE(page);
    ASSERT_TRUE(pumpUntil(
        [&] { return !!ScrollViewInteractiveHeader::interactiveHeader(*page->scrollView); }));
    // The header takes its place in the layout pass after the turn that added it, as it does
    // before a person sees it; that pass is not always queued behind the banner already.
    testing_support::advanceClock(0);
    auto header = ScrollViewInteractiveHeader::interactiveHeader(*page->scrollView);
    ASSERT_TRUE(header->image());
    EXPECT_EQ(header->image()->pixelWidth(), 320);
    EXPECT_DOUBLE_EQ(header->defaultHeight(), PackageBanner::kHeight);
    EXPECT_DOUBLE_EQ(header->frame().height(), -PackageBanner::kRestOffset)
        << "pulled down past its height, it fills what it uncovers";
    EXPECT_DOUBLE_EQ(page->scrollView->contentOffset().y, PackageBanner::kRestOffset);
    EXPECT_DOUBLE_EQ(navigation->navigationBar()->alpha(), 0);
    EXPECT_TRUE(PackageBanner::isCached("com.sample.nativedepiction"));

    // A banner answered with an error page, even one that decodes, is no banner.
    serve("/bad/depiction.json",
          R"({"headerImage": ")" + web.url("/bad/banner.png") + R"(", "tabs": []})", 200,
          "application/json");
    serve("/bad/banner.png", png(Color::systemRed()), 404, "image/png");
    const std::string address = web.url("/bad/depiction.json");
    change("com.sample.theme", [&](KSRPackage& package) { package.sileoDepiction = address; });
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    ASSERT_TRUE(pumpUntil([&] { return !requestsTo("/bad/banner.png").empty(); }));
    pumpFor(0.3);
    EXPECT_FALSE(ScrollViewInteractiveHeader::interactiveHeader(*theme->scrollView));
    EXPECT_FALSE(PackageBanner::isCached("com.sample.theme"));
    EXPECT_DOUBLE_EQ(navigation->navigationBar()->alpha(), 1);
}

TEST_F(PackageDetailsLoadingTest, TheAvatarComesFromTheFirstMatchingDeveloper) {
    serveImage("/avatars/other.png", Color::systemRed());
    serveImage("/avatars/ada.png", Color::systemBlue());
    serveImage("/avatars/ada-2.png", Color::systemGreen());
    serveJSON("developers", R"([{"name": "other", "fullName": "Other Sample", "avatarURL": ")" +
                                web.url("/avatars/other.png") +
                                R"("}, {"name": "ada", "fullName": "Ada Sample", "avatarURL": ")" +
                                web.url("/avatars/ada.png") +
                                R"("}, {"name": "ada2", "fullName": "Ada Sample", "avatarURL": ")" +
                                web.url("/avatars/ada-2.png") + R"("}])");
    auto page = open("com.sample.corelib");
    ASSERT_TRUE(page);
    ASSERT_TRUE(
        pumpUntil([&] { return middleOf(page->model().authorAvatar()) == Color::systemBlue(); }));
    ASSERT_EQ(requestsTo("/api/developers").size(), 1u);
    EXPECT_EQ(requestsTo("/api/developers")[0].query, "name=Ada%20Sample");
    page->description().authorCollectionView->layoutIfNeeded();
    auto cell = std::dynamic_pointer_cast<DeveloperCell>(
        page->description().authorCollectionView->cellForItemAtIndexPath(
            uikit::IndexPath::forItem(0, 0)));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->developerIconView->image(), page->model().authorAvatar());
    EXPECT_EQ(cell->developerNameLbl->text(), "Ada Sample");

    // The next search fails: the placeholder never takes the downloaded avatar's place.
    serveJSON("developers", R"({"error": "down"})", 500);
    reappear(*page);
    ASSERT_TRUE(pumpUntil([&] { return requestsTo("/api/developers").size() == 2; }));
    pumpFor(0.3);
    EXPECT_EQ(middleOf(page->model().authorAvatar()), Color::systemBlue());

    // Nobody of that name: the placeholder.
    auto theme = open("com.sample.theme");
    ASSERT_TRUE(theme);
    ASSERT_TRUE(pumpUntil([&] { return theme->model().authorAvatar() != nullptr; }));
    EXPECT_EQ(theme->model().authorAvatar()->name(), "iTunesArtwork");
}

TEST(PackageScreenshotsSection, AScreenshotIsNoTallerThanItsStripAndKeepsItsShape) {
    EXPECT_EQ(PackageScreenshotsSection::screenshotSize({500, 1000}, 422, false, 375),
              (uikit::Size{211, 422}));
    EXPECT_EQ(PackageScreenshotsSection::screenshotSize({80, 200}, 422, false, 375),
              (uikit::Size{80, 200}))
        << "a small one keeps its size";
    EXPECT_EQ(PackageScreenshotsSection::screenshotSize({500, 1000}, 287, false, 768),
              (uikit::Size{143.5, 287}));
    EXPECT_EQ(PackageScreenshotsSection::screenshotSize({500, 1000}, 422, true, 375),
              (uikit::Size{343, 422}))
        << "alone, it spans the page less 32 points";
}

}  // namespace
}  // namespace corvane::testing
