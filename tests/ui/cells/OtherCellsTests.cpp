// The featured banner's press and hold, the category icon, the multi-line header row, and the
// outlets every cell nib must give its screens.
#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "support/MainLoop.h"
#include "ui/cells/AllReviewsCell.h"
#include "ui/cells/BigFeaturedCell.h"
#include "ui/cells/CategoriesCell.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/cells/KSCellNibs.h"
#include "ui/cells/MultiLineHeaderFooterView.h"
#include "ui/cells/NewsCell.h"
#include "ui/cells/PackageCell.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "ui/cells/SearchCell.h"
#include "ui/cells/SourcesCell.h"
#include "ui/cells/TasksCell.h"
#include "uikit/Hands.h"
#include "uikit/NibRegistry.h"
#include "uikit/TouchSequence.h"
#include "uikit/Window.h"

namespace corvane {
namespace {

using testing_support::advanceClock;
using uikit::AffineTransform;

template <typename Cell>
std::shared_ptr<Cell> fromNib(const char* name) {
    KSCellNibs::registerNibs();
    return std::dynamic_pointer_cast<Cell>(uikit::NibRegistry::shared().instantiate(name));
}

class BigFeaturedCellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        banner_ = fromNib<BigFeaturedCell>(BigFeaturedCell::kNibName);
        ASSERT_TRUE(banner_);
        banner_->setPackageIdentifier("com.example.featured");
        banner_->setFrame({16, 100, 343, 220});
        window_->addSubview(banner_);
        window_->makeKeyAndVisible();
        window_->layoutIfNeeded();
        auto& center = foundation::NotificationCenter::defaultCenter();
        began_ = center.addObserver(kLongPressBeganNotification,
                                    [this](const foundation::Notification&) { ++begins_; });
        ended_ = center.addObserver(
            kLongPressEndedNotification, [this](const foundation::Notification& note) {
                endedIdentifiers_.push_back(note.userInfo["identifier"].stringValue());
            });
    }

    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<BigFeaturedCell> banner_;
    int begins_ = 0;
    std::vector<std::string> endedIdentifiers_;
    foundation::ObservationToken began_;
    foundation::ObservationToken ended_;
};

TEST_F(BigFeaturedCellTest, AHeldPressShrinksTheBannerAndTellsTheFeaturedScreen) {
    ASSERT_TRUE(uikit::hands::longPress(banner_, 0.05));
    EXPECT_EQ(begins_, 0) << "too short to count";
    EXPECT_TRUE(endedIdentifiers_.empty());

    {
        uikit::TouchSequence finger(window_, banner_->frame().center());
        advanceClock(0.15);
        EXPECT_EQ(begins_, 1);
        EXPECT_TRUE(banner_->isPressed());
        EXPECT_EQ(banner_->transform(), AffineTransform::makeScale(0.95, 0.95));
        finger.end();
    }
    EXPECT_EQ(endedIdentifiers_, std::vector<std::string>{"com.example.featured"});
    EXPECT_TRUE(banner_->transform().isIdentity());
    advanceClock(0.5);
    EXPECT_FALSE(banner_->isPressed()) << "once the spring has settled";

    {
        uikit::TouchSequence finger(window_, banner_->frame().center());
        advanceClock(0.15);
        finger.cancel();
    }
    EXPECT_EQ(begins_, 2);
    EXPECT_EQ(endedIdentifiers_.size(), 2u) << "a cancelled press ends too";
    EXPECT_EQ(banner_->gestureRecognizers().size(), 1u) << "layout adds the press once";
}

TEST(CategoriesCell, TheTypePicksTheIconAndAnUnknownTypeKeepsIt) {
    auto row = fromNib<CategoriesCell>(CategoriesCell::kNibName);
    ASSERT_TRUE(row);
    auto icon = [&] { return row->imageView()->image() ? row->imageView()->image()->name() : ""; };
    row->setCategoriesType(2);
    EXPECT_EQ(icon(), "KSCAT_Installed");
    row->setCategoriesType(5);
    EXPECT_EQ(icon(), "KSCAT_Installed");
    row->setCategoriesType(3);
    EXPECT_EQ(icon(), "KSCAT_Updated");
    row->setCategoriesType(4);
    EXPECT_EQ(icon(), "KSCAT_Other");
}

TEST(MultiLineHeaderFooterView, WrapsBothTextsInTheSubtitleStyleWhateverIsAskedFor) {
    MultiLineHeaderFooterView row(uikit::TableViewCell::Style::value1, "explanation");
    EXPECT_EQ(row.style(), uikit::TableViewCell::Style::subtitle);
    EXPECT_EQ(row.reuseIdentifier(), "explanation");
    row.setFrame({0, 0, 320, 44});
    row.textLabel()->setText("Packages");
    const double oneLine = row.sizeThatFits({320, 1000}).height;
    row.detailTextLabel()->setText(
        "These packages are removed because another package in the queue conflicts with them, "
        "and the queue cannot go on while they stay installed on the device.");
    EXPECT_GT(row.sizeThatFits({320, 1000}).height,
              oneLine + 2 * row.textLabel()->font().lineHeight());
}

TEST(CellNibs, EveryNibGivesItsScreensTheirOutlets) {
    auto package = fromNib<PackageCell>(PackageCell::kNibName);
    ASSERT_TRUE(package);
    EXPECT_EQ(package->reuseIdentifier(), "cell");
    for (const auto& outlet : std::initializer_list<std::shared_ptr<uikit::View>>{
             package->iconView, package->nameLbl, package->versionLbl, package->subinfoLbl,
             package->descriptionLbl, package->installOrQueueStatusImageView,
             package->compatibilityView, package->separator})
        EXPECT_TRUE(outlet && outlet->isDescendantOf(package.get()));
    EXPECT_TRUE(package->descriptionLblTrailingConstraint->isActive());

    auto get = fromNib<GetPackageCell>(GetPackageCell::kNibName);
    EXPECT_TRUE(get && get->getBtn && get->getBtnWidthConstraint && get->maintainerLbl);
    auto task = fromNib<TasksCell>(TasksCell::kNibName);
    EXPECT_TRUE(task && task->indicator && task->taskProgressBar && task->taskStatusLbl);
    EXPECT_FALSE(task->progress) << "the extra bar is the task list's";
    auto search = fromNib<SearchCell>(SearchCell::kNibName);
    EXPECT_TRUE(search && search->followBtn && search->nameLbl);
    auto news = fromNib<NewsCell>(NewsCell::kNibName);
    EXPECT_TRUE(news && news->newsTitleLbl && news->newsContentLbl && news->separator);
    auto review = fromNib<ReviewsCell>(ReviewsCell::kNibName);
    EXPECT_TRUE(review && review->rating1 && review->rating5 && review->commentLbl);
    auto allReviews = fromNib<AllReviewsCell>(AllReviewsCell::kNibName);
    EXPECT_TRUE(allReviews && allReviews->view && allReviews->rating3 &&
                allReviews->commentLbl->isDescendantOf(allReviews->view.get()));
    auto source = fromNib<SourcesCell>(SourcesCell::kNibName);
    EXPECT_TRUE(source && source->lastRepoRegenLbl && source->containerView);
    auto developer = fromNib<DeveloperCell>(DeveloperCell::kNibName);
    EXPECT_TRUE(developer && developer->developerIconView && developer->developerNameLbl);
    auto screenshot = fromNib<ScreenshotsCell>(ScreenshotsCell::kNibName);
    EXPECT_TRUE(screenshot && screenshot->screenshotImageView);
    auto category = fromNib<CategoriesCell>(CategoriesCell::kNibName);
    EXPECT_TRUE(category && category->nameLbl && category->separatorTrailingConstraint);
}

}  // namespace
}  // namespace corvane
