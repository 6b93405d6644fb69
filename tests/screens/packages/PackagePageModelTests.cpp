// What the package page's model tells the page: each change once, in the order the page must
// show them, and nothing from a reply that came too late.
#include "screens/packages/PackagePageModel.h"

#include <gtest/gtest.h>

#include <vector>

#include "uikit/Color.h"

namespace corvane::testing {
namespace {

using Change = PackagePageModel::Change;

class PackagePageModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model.setListener([this](Change change) { heard.push_back(change); });
    }
    static std::shared_ptr<uikit::Image> image() {
        return uikit::Image::withColor(uikit::Color::white(), {10, 10});
    }

    PackagePageModel model{"com.sample.tweak"};
    std::vector<Change> heard;
};

TEST_F(PackagePageModelTest, ABatchNumbersItsImagesAndOnlyAClearedOneAsksTheDepictionAgain) {
    PackageScreenshots::Outcome outcome;
    outcome.images = {image(), image()};
    model.applyScreenshots(outcome, true);
    EXPECT_EQ(model.screenshotsDictionary().size(), 2u);
    EXPECT_EQ(model.screenshotsDictionary().at(2), outcome.images[1]);
    EXPECT_TRUE(model.refreshForCydiaPackages());
    EXPECT_FALSE(model.screenshotRetrievingFail());
    EXPECT_EQ(heard, std::vector<Change>{Change::screenshots});

    // A batch that brought nothing keeps what was shown.
    model.applyScreenshots({}, true);
    EXPECT_EQ(model.screenshotsDictionary().size(), 2u);

    PackageScreenshots::Outcome cleared;
    cleared.cleared = true;
    heard.clear();
    model.applyScreenshots(cleared, true);
    EXPECT_TRUE(model.screenshotsDictionary().empty());
    EXPECT_TRUE(model.screenshotRetrievingFail());
    EXPECT_EQ(heard, (std::vector<Change>{Change::screenshots, Change::screenshotsGone}));
}

TEST_F(PackagePageModelTest, AReviewsReplyOlderThanTheLastAnsweredIsDropped) {
    const auto first = model.beginReviewsRequest();
    const auto second = model.beginReviewsRequest();
    EXPECT_FALSE(model.reviewsSettled());
    model.answerReviews(second, std::vector<KSReviews>(1));
    model.answerReviews(first, std::vector<KSReviews>(3));
    EXPECT_EQ(model.packageReviews().size(), 1u);
    EXPECT_TRUE(model.reviewsSettled());
    EXPECT_EQ(heard, std::vector<Change>{Change::reviews});

    // A failed request keeps the reviews shown, and is heard all the same.
    model.answerReviews(model.beginReviewsRequest(), std::nullopt);
    EXPECT_EQ(model.packageReviews().size(), 1u);
    EXPECT_EQ(heard.size(), 2u);
}

TEST_F(PackagePageModelTest, ThePlaceholderNeverTakesTheDownloadedAvatarsPlace) {
    model.setAuthorAvatar(nullptr);
    ASSERT_TRUE(model.authorAvatar());
    EXPECT_EQ(model.authorAvatar()->name(), "iTunesArtwork");
    auto avatar = image();
    model.setAuthorAvatar(avatar);
    model.setAuthorAvatar(nullptr);
    EXPECT_EQ(model.authorAvatar(), avatar);
    EXPECT_EQ(heard, std::vector<Change>(3, Change::avatar));
}

TEST_F(PackagePageModelTest, AMissingChangelogIsHeardAsOne) {
    model.setChangelog("1.1: faster", true);
    EXPECT_TRUE(model.cydiaPackageHaveChangelog());
    EXPECT_TRUE(model.changelogIsMarkdown());
    model.setChangelog(std::nullopt, false);
    EXPECT_FALSE(model.cydiaPackageHaveChangelog());
    EXPECT_EQ(model.changelog(), "");
    EXPECT_EQ(heard, std::vector<Change>(2, Change::changelog));
}

}  // namespace
}  // namespace corvane::testing
