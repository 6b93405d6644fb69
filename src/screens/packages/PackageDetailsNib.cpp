#include "screens/packages/PackageDetailsNib.h"

#include <string>
#include <utility>

#include "foundation/Localization.h"
#include "screens/packages/PackageDetailsContentView.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/ViewController.h"

namespace corvane {

namespace {

using uikit::LayoutAnchor;
using uikit::LayoutConstraint;
using uikit::LayoutPriority;
using uikit::View;
using Constraint = std::shared_ptr<LayoutConstraint>;

constexpr double kMargin = PackageDetailsNib::kMargin;

// Adds the views to the content view, one after the other, and ties them with constraints.
class Builder {
  public:
    Builder(PackageDetailsOutlets& page, View& content) : page_(page), content_(content) {}

    template <typename T, typename... Arguments>
    std::shared_ptr<T>& add(std::shared_ptr<T>& outlet, Arguments&&... arguments) {
        outlet = std::make_shared<T>(std::forward<Arguments>(arguments)...);
        outlet->setTranslatesAutoresizingMaskIntoConstraints(false);
        content_.addSubview(outlet);
        return outlet;
    }
    std::shared_ptr<uikit::Label>& label(std::shared_ptr<uikit::Label>& outlet,
                                         const std::string& text, const uikit::Font& font,
                                         int lines = 1) {
        add(outlet);
        outlet->setText(foundation::localized(text));
        outlet->setFont(font);
        outlet->setNumberOfLines(lines);
        return outlet;
    }
    std::shared_ptr<uikit::Label>& title(std::shared_ptr<uikit::Label>& outlet,
                                         const std::string& text) {
        return label(outlet, text, uikit::Font::boldSystemFont(22));
    }
    std::shared_ptr<View>& separator(std::shared_ptr<View>& outlet) {
        add(outlet);
        outlet->setBackgroundColor(uikit::Color::white(0.5, 0.3));
        on(outlet->heightAnchor().constraintEqualToConstant(1));
        wide(*outlet);
        return outlet;
    }
    // A text button of the page: its title takes the tint, as a system button's does.
    std::shared_ptr<uikit::Button>& button(std::shared_ptr<uikit::Button>& outlet,
                                           const std::string& title) {
        add(outlet, uikit::ButtonType::system);
        outlet->setTitle(foundation::localized(title));
        outlet->titleLabel()->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
        return outlet;
    }

    static Constraint on(Constraint constraint) {
        constraint->setActive(true);
        return constraint;
    }
    static Constraint off(Constraint constraint) { return constraint; }
    // Holds only while the constraints the page switches are off.
    static void fallback(Constraint constraint) {
        constraint->setPriority(LayoutPriority::defaultLow);
        constraint->setActive(true);
    }
    // Folds the view at no height under the anchor once its own constraints are off.
    static void folds(View& view, const LayoutAnchor& under) {
        fallback(view.topAnchor().constraintEqualTo(under));
        fallback(view.heightAnchor().constraintEqualToConstant(0));
    }
    static Constraint below(View& view, const LayoutAnchor& anchor, double constant) {
        return view.topAnchor().constraintEqualTo(anchor, constant);
    }
    void wide(View& view) {
        on(view.leadingAnchor().constraintEqualTo(content_.leadingAnchor(), kMargin));
        on(view.trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
    }
    void leading(View& view, double x, double width) {
        on(view.leadingAnchor().constraintEqualTo(content_.leadingAnchor(), x));
        on(view.widthAnchor().constraintEqualToConstant(width));
    }
    void trailing(View& view, double width) {
        on(view.trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
        on(view.widthAnchor().constraintEqualToConstant(width));
    }
    // A caption and its value on one row, closed by a separator under the taller of the two.
    void row(std::shared_ptr<uikit::Label>& caption, std::shared_ptr<uikit::Label>& value,
             std::shared_ptr<View>& rowSeparator, const std::string& text,
             const LayoutAnchor& under) {
        label(caption, text, uikit::Font::systemFont(15), 1);
        caption->setTextColor(uikit::Color::systemGray());
        label(value, "", uikit::Font::systemFont(15), 0);
        value->setTextAlignment(uikit::TextAlignment::right);
        leading(*caption, kMargin, PackageDetailsNib::kCaptionWidth);
        on(value->leadingAnchor().constraintEqualTo(caption->trailingAnchor(), 8));
        on(value->trailingAnchor().constraintEqualTo(content_.trailingAnchor(), -kMargin));
        on(below(*caption, under, 12));
        on(value->topAnchor().constraintEqualTo(caption->topAnchor()));
        separator(rowSeparator);
        on(below(*rowSeparator, value->bottomAnchor(), 12));
    }

    PackageDetailsOutlets& page() { return page_; }
    View& content() { return content_; }

  private:
    PackageDetailsOutlets& page_;
    View& content_;
};

std::shared_ptr<uikit::CollectionView> horizontalCollection() {
    auto layout = std::make_shared<uikit::CollectionViewFlowLayout>();
    layout->setScrollDirection(uikit::CollectionViewFlowLayout::ScrollDirection::horizontal);
    return std::make_shared<uikit::CollectionView>(uikit::Rect{}, layout);
}

void addCollection(Builder& b, std::shared_ptr<uikit::CollectionView>& outlet) {
    outlet = horizontalCollection();
    outlet->setTranslatesAutoresizingMaskIntoConstraints(false);
    outlet->setBackgroundColor(uikit::Color::clear());
    b.content().addSubview(outlet);
}

void buildHeader(Builder& b) {
    auto& p = b.page();
    auto& content = b.content();
    b.add(p.iconView);
    p.iconView->setContentMode(uikit::ContentMode::scaleAspectFit);
    b.on(p.iconView->topAnchor().constraintEqualTo(content.topAnchor(), 20));
    b.on(p.iconView->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    p.iconViewWidthConstraint = b.on(p.iconView->widthAnchor().constraintEqualToConstant(120));
    p.iconViewHeightConstraint = b.on(p.iconView->heightAnchor().constraintEqualToConstant(120));

    b.label(p.nameLbl, "", uikit::Font::systemFont(24, uikit::FontWeight::bold), 2);
    b.on(p.nameLbl->topAnchor().constraintEqualTo(p.iconView->topAnchor()));
    b.on(p.nameLbl->leadingAnchor().constraintEqualTo(p.iconView->trailingAnchor(), 14));
    b.on(p.nameLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    b.label(p.authorLbl, "", uikit::Font::systemFont(15), 1);
    p.authorLbl->setTextColor(uikit::Color::systemGray());
    b.on(b.below(*p.authorLbl, p.nameLbl->bottomAnchor(), 2));
    b.on(p.authorLbl->leadingAnchor().constraintEqualTo(p.nameLbl->leadingAnchor()));
    b.on(p.authorLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -44));
    b.add(p.verifiedIconView);
    b.on(p.verifiedIconView->centerYAnchor().constraintEqualTo(p.authorLbl->centerYAnchor()));
    b.trailing(*p.verifiedIconView, 18);
    b.on(p.verifiedIconView->heightAnchor().constraintEqualToConstant(18));

    for (auto* button : {&p.getBtn, &p.shareBtn}) {
        b.add(*button);
        b.on((*button)->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kGetButtonHeight));
    }
    p.getBtn->titleLabel()->setFont(uikit::Font::boldSystemFont(13));
    p.getBtn->setTitleColor(uikit::Color::white());
    p.shareBtn->setTitle("\u2191");
    p.getBtnTopConstraintToIconView =
        b.on(p.getBtn->bottomAnchor().constraintEqualTo(p.iconView->bottomAnchor()));
    p.getBtnTopConstraintToAuthorLbl = b.off(b.below(*p.getBtn, p.authorLbl->bottomAnchor(), 30));
    b.on(p.getBtn->leadingAnchor().constraintEqualTo(p.nameLbl->leadingAnchor()));
    p.getBtnWidthConstraint = b.on(p.getBtn->widthAnchor().constraintEqualToConstant(80));
    p.shareBtnTopConstraintToIconView =
        b.on(p.shareBtn->bottomAnchor().constraintEqualTo(p.iconView->bottomAnchor()));
    p.shareBtnTopConstraintToAuthorLbl =
        b.off(b.below(*p.shareBtn, p.authorLbl->bottomAnchor(), 30));
    b.trailing(*p.shareBtn, PackageDetailsNib::kGetButtonHeight);

    std::shared_ptr<uikit::Button>* stars[] = {&p.rating1, &p.rating2, &p.rating3, &p.rating4,
                                               &p.rating5};
    Constraint* widths[] = {&p.rating1WidthConstraint, &p.rating2WidthConstraint,
                            &p.rating3WidthConstraint, &p.rating4WidthConstraint,
                            &p.rating5WidthConstraint};
    Constraint* heights[] = {&p.rating1HeightConstraint, &p.rating2HeightConstraint,
                             &p.rating3HeightConstraint, &p.rating4HeightConstraint,
                             &p.rating5HeightConstraint};
    for (int index = 0; index < 5; ++index) {
        auto& star = b.add(*stars[index]);
        star->setImage(uikit::Image::named("star"));
        *widths[index] = b.on(star->widthAnchor().constraintEqualToConstant(25));
        *heights[index] = b.on(star->heightAnchor().constraintEqualToConstant(25));
        if (index == 0) {
            b.on(b.below(*star, p.getBtn->bottomAnchor(), 20));
            b.on(star->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
        } else {
            b.on(star->topAnchor().constraintEqualTo(p.rating1->topAnchor()));
            b.on(star->leadingAnchor().constraintEqualTo((*stars[index - 1])->trailingAnchor(), 6));
        }
    }
    b.label(p.ratingLbl, "0 out of 5 rating", uikit::Font::systemFont(13));
    p.ratingLbl->setTextColor(uikit::Color::systemGray());
    b.on(p.ratingLbl->centerYAnchor().constraintEqualTo(p.rating1->centerYAnchor()));
    b.on(p.ratingLbl->leadingAnchor().constraintEqualTo(p.rating5->trailingAnchor(), 12));
    b.on(p.ratingLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    p.ratingLblHeightConstraint = b.on(p.ratingLbl->heightAnchor().constraintEqualToConstant(25));

    const auto caption = uikit::Font::systemFont(17, uikit::FontWeight::semibold);
    b.label(p.versionLbl, "Version", caption);
    b.label(p.packageVersionLbl, "", uikit::Font::systemFont(15));
    b.label(p.categoryLbl, "Category", caption);
    b.label(p.packageCategoryLbl, "", uikit::Font::systemFont(15));
    // The palette never recolours these four: grey reads on every background it has.
    for (auto* label : {&p.versionLbl, &p.packageVersionLbl, &p.categoryLbl, &p.packageCategoryLbl})
        (*label)->setTextColor(uikit::Color::systemGray());
    b.on(b.below(*p.versionLbl, p.rating1->bottomAnchor(), 16));
    b.on(b.below(*p.categoryLbl, p.versionLbl->bottomAnchor(), 4));
    p.versionLblHeightConstraint = b.on(p.versionLbl->heightAnchor().constraintEqualToConstant(25));
    p.categoryLblHeightConstraint =
        b.on(p.categoryLbl->heightAnchor().constraintEqualToConstant(25));
    b.leading(*p.versionLbl, kMargin, PackageDetailsNib::kCaptionWidth);
    b.leading(*p.categoryLbl, kMargin, PackageDetailsNib::kCaptionWidth);
    for (auto* value : {&p.packageVersionLbl, &p.packageCategoryLbl}) {
        (*value)->setTextAlignment(uikit::TextAlignment::right);
        b.on((*value)->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
        b.on((*value)->leadingAnchor().constraintEqualTo(p.versionLbl->trailingAnchor(), 8));
    }
    b.on(p.packageVersionLbl->topAnchor().constraintEqualTo(p.versionLbl->topAnchor()));
    b.on(p.packageCategoryLbl->topAnchor().constraintEqualTo(p.categoryLbl->topAnchor()));
    p.packageVersionLblHeightConstraint =
        b.on(p.packageVersionLbl->heightAnchor().constraintEqualToConstant(25));
    p.packageCategoryLblHeightConstraint =
        b.on(p.packageCategoryLbl->heightAnchor().constraintEqualToConstant(25));
    b.separator(p.topSeparator);
    b.on(b.below(*p.topSeparator, p.categoryLbl->bottomAnchor(), 16));
}

void buildChangelogAndVideo(Builder& b) {
    auto& p = b.page();
    b.title(p.changelogTitle, "What's New");
    b.wide(*p.changelogTitle);
    p.changelogTitleTopConstraint =
        b.on(b.below(*p.changelogTitle, p.topSeparator->bottomAnchor(), 20));
    p.changelogTitleHeightConstraint =
        b.on(p.changelogTitle->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kTitleHeight));
    b.label(p.changelogVersionLbl, "", uikit::Font::systemFont(15));
    p.changelogVersionLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*p.changelogVersionLbl);
    p.changelogVersionLblTopConstraint =
        b.on(b.below(*p.changelogVersionLbl, p.changelogTitle->bottomAnchor(), 4));
    b.add(p.changelogContentLbl);
    p.changelogContentLbl->setScrollEnabled(false);
    p.changelogContentLbl->setEditable(false);
    p.changelogContentLbl->setFont(uikit::Font::systemFont(15));
    b.wide(*p.changelogContentLbl);
    p.changelogContentLblTopConstraint =
        b.on(b.below(*p.changelogContentLbl, p.changelogVersionLbl->bottomAnchor(), 8));
    b.separator(p.changelogSeparator);
    p.changelogSeparatorTopConstraint =
        b.on(b.below(*p.changelogSeparator, p.changelogContentLbl->bottomAnchor(), 20));
    for (View* view : {static_cast<View*>(p.changelogTitle.get()),
                       static_cast<View*>(p.changelogVersionLbl.get()),
                       static_cast<View*>(p.changelogContentLbl.get()), p.changelogSeparator.get()})
        Builder::fallback(view->topAnchor().constraintEqualTo(p.topSeparator->bottomAnchor()));
    // The version and the text keep their own heights: a height of 0 would win over their text
    // when the section shows, and nothing hangs under them while it is folded.
    Builder::fallback(p.changelogTitle->heightAnchor().constraintEqualToConstant(0));

    b.title(p.videoPreviewTitle, "Video Preview");
    b.wide(*p.videoPreviewTitle);
    p.videoPreviewTitleTopConstraint =
        b.on(b.below(*p.videoPreviewTitle, p.changelogSeparator->bottomAnchor(), 20));
    p.videoPreviewTitleTopConstraintToTopSeparator =
        b.off(b.below(*p.videoPreviewTitle, p.topSeparator->bottomAnchor(), 20));
    p.videoPreviewTitleHeightConstraint =
        b.on(p.videoPreviewTitle->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kTitleHeight));
    b.add(p.videoPreviewPlayer);
    b.wide(*p.videoPreviewPlayer);
    p.videoPreviewPlayerTopConstraint =
        b.on(b.below(*p.videoPreviewPlayer, p.videoPreviewTitle->bottomAnchor(), 10));
    p.videoPreviewPlayerHeightConstraint =
        b.on(p.videoPreviewPlayer->heightAnchor().constraintEqualToConstant(200));
    b.separator(p.videoPreviewSeparator);
    p.videoPreviewSeparatorTopConstraint =
        b.on(b.below(*p.videoPreviewSeparator, p.videoPreviewPlayer->bottomAnchor(), 20));
    Builder::folds(*p.videoPreviewTitle, p.changelogSeparator->bottomAnchor());
    Builder::folds(*p.videoPreviewPlayer, p.changelogSeparator->bottomAnchor());
    Builder::fallback(p.videoPreviewSeparator->topAnchor().constraintEqualTo(
        p.changelogSeparator->bottomAnchor()));
}

void buildScreenshots(Builder& b) {
    auto& p = b.page();
    b.title(p.screenshotsTitle, "Screenshots");
    b.wide(*p.screenshotsTitle);
    p.screenshotsTitleTopConstraint =
        b.on(b.below(*p.screenshotsTitle, p.videoPreviewSeparator->bottomAnchor(), 20));
    p.screenshotsTitleTopConstraintToChangelogSeparator =
        b.off(b.below(*p.screenshotsTitle, p.changelogSeparator->bottomAnchor(), 20));
    p.screenshotsTitleTopConstraintToTopSeparator =
        b.off(b.below(*p.screenshotsTitle, p.topSeparator->bottomAnchor(), 20));
    p.screenshotsTitleHeightConstraint =
        b.on(p.screenshotsTitle->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kTitleHeight));
    addCollection(b, p.screenshotsCollectionView);
    b.wide(*p.screenshotsCollectionView);
    p.screenshotsCollectionViewTopConstraint =
        b.on(b.below(*p.screenshotsCollectionView, p.screenshotsTitle->bottomAnchor(), 10));
    p.screenshotsCollectionViewHeightConstraint =
        b.on(p.screenshotsCollectionView->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kScreenshotsHeight));
    b.label(p.screenshotsLbl, "", uikit::Font::systemFont(15), 0);
    p.screenshotsLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*p.screenshotsLbl);
    p.screenshotsLblTopConstraint =
        b.on(b.below(*p.screenshotsLbl, p.screenshotsTitle->bottomAnchor(), 10));
    p.screenshotsLblHeightConstraint =
        b.on(p.screenshotsLbl->heightAnchor().constraintEqualToConstant(40));
    Builder::folds(*p.screenshotsCollectionView, p.screenshotsTitle->bottomAnchor());
    Builder::folds(*p.screenshotsLbl, p.screenshotsTitle->bottomAnchor());

    b.title(p.beforeAfterTitle, "Before & After");
    b.wide(*p.beforeAfterTitle);
    p.beforeAfterTitleTopConstraint =
        b.off(b.below(*p.beforeAfterTitle, p.screenshotsCollectionView->bottomAnchor(), 20));
    p.beforeAfterTitleTopConstraintToScreenshotsLbl =
        b.off(b.below(*p.beforeAfterTitle, p.screenshotsLbl->bottomAnchor(), 30));
    b.on(p.beforeAfterTitle->heightAnchor().constraintEqualToConstant(
        PackageDetailsNib::kTitleHeight));
    addCollection(b, p.beforeAfterCollectionView);
    b.wide(*p.beforeAfterCollectionView);
    p.beforeAfterCollectionViewTopConstraint =
        b.off(b.below(*p.beforeAfterCollectionView, p.beforeAfterTitle->bottomAnchor(), 10));
    b.on(p.beforeAfterCollectionView->heightAnchor().constraintEqualToConstant(
        PackageDetailsNib::kScreenshotsHeight));
    b.add(p.beforeImageView);
    p.beforeImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    b.wide(*p.beforeImageView);
    b.on(
        p.beforeImageView->topAnchor().constraintEqualTo(p.beforeAfterCollectionView->topAnchor()));
    b.on(p.beforeImageView->heightAnchor().constraintEqualTo(
        p.beforeAfterCollectionView->heightAnchor()));
    b.label(p.beforeAfterLbl, "The before and after pictures could not be loaded",
            uikit::Font::systemFont(15), 0);
    p.beforeAfterLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*p.beforeAfterLbl);
    p.beforeAfterLblTopConstraint =
        b.off(b.below(*p.beforeAfterLbl, p.beforeAfterTitle->bottomAnchor(), 10));
    for (View* view : {static_cast<View*>(p.beforeAfterTitle.get()),
                       static_cast<View*>(p.beforeAfterCollectionView.get()),
                       static_cast<View*>(p.beforeAfterLbl.get())})
        Builder::folds(*view, p.screenshotsTitle->bottomAnchor());

    b.separator(p.screenshotsSeparator);
    p.screenshotsSeparatorTopConstraint =
        b.off(b.below(*p.screenshotsSeparator, p.beforeAfterCollectionView->bottomAnchor(), 20));
    p.screenshotsSeparatorTopConstraintToBeforeAfterLbl =
        b.off(b.below(*p.screenshotsSeparator, p.beforeAfterLbl->bottomAnchor(), 20));
    p.screenshotsSeparatorTopConstraintToCV =
        b.on(b.below(*p.screenshotsSeparator, p.screenshotsCollectionView->bottomAnchor(), 20));
    p.screenshotsSeparatorTopConstraintToLbl =
        b.off(b.below(*p.screenshotsSeparator, p.screenshotsLbl->bottomAnchor(), 20));
    p.screenshotsSeparatorHeightConstraint = p.screenshotsSeparator->constraints().front();
}

void buildDescription(Builder& b) {
    auto& p = b.page();
    b.title(p.descriptionTitle, "Description");
    b.wide(*p.descriptionTitle);
    b.on(b.below(*p.descriptionTitle, p.screenshotsSeparator->bottomAnchor(), 20));
    b.add(p.descriptionLbl);
    p.descriptionLbl->setScrollEnabled(false);
    p.descriptionLbl->setEditable(false);
    p.descriptionLbl->setFont(uikit::Font::systemFont(15));
    b.wide(*p.descriptionLbl);
    b.on(b.below(*p.descriptionLbl, p.descriptionTitle->bottomAnchor(), 10));
    b.add(p.adsWebView);
    b.on(b.below(*p.adsWebView, p.descriptionLbl->bottomAnchor(), 10));
    b.on(p.adsWebView->centerXAnchor().constraintEqualTo(b.content().centerXAnchor()));
    b.on(p.adsWebView->widthAnchor().constraintEqualToConstant(300));
    b.on(p.adsWebView->heightAnchor().constraintEqualToConstant(250));
    addCollection(b, p.authorCollectionView);
    b.wide(*p.authorCollectionView);
    b.on(p.authorCollectionView->heightAnchor().constraintEqualToConstant(80));
    p.authorCollectionViewTopConstraintToAdsWebView =
        b.off(b.below(*p.authorCollectionView, p.adsWebView->bottomAnchor(), 20));
    p.authorCollectionViewTopConstraintToDescriptionLbl =
        b.on(b.below(*p.authorCollectionView, p.descriptionLbl->bottomAnchor(), 30));
    b.separator(p.authorSeparator);
    b.on(b.below(*p.authorSeparator, p.authorCollectionView->bottomAnchor(), 20));
}

void buildReviews(Builder& b) {
    auto& p = b.page();
    auto& content = b.content();
    b.title(p.reviewsTitle, "Ratings & Reviews");
    b.on(b.below(*p.reviewsTitle, p.authorSeparator->bottomAnchor(), 20));
    b.leading(*p.reviewsTitle, kMargin, 240);
    b.button(p.seeAllReviewsBtn, "See All");
    b.on(p.seeAllReviewsBtn->topAnchor().constraintEqualTo(p.reviewsTitle->topAnchor()));
    b.trailing(*p.seeAllReviewsBtn, 70);
    p.seeAllReviewsBtnHeightConstraint =
        b.on(p.seeAllReviewsBtn->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kTitleHeight));
    Builder::fallback(p.seeAllReviewsBtn->heightAnchor().constraintEqualToConstant(0));

    b.label(p.packageRatingLbl, "", uikit::Font::systemFont(40, uikit::FontWeight::bold));
    b.leading(*p.packageRatingLbl, kMargin, 120);
    p.packageRatingLblTopConstraint =
        b.on(b.below(*p.packageRatingLbl, p.reviewsTitle->bottomAnchor(), 10));
    p.packageRatingLblHeightConstraint =
        b.on(p.packageRatingLbl->heightAnchor().constraintEqualToConstant(44));
    b.label(p.packageRatingSubLbl, "out of 5", uikit::Font::systemFont(13));
    b.leading(*p.packageRatingSubLbl, kMargin, 120);
    p.packageRatingSubLblTopConstraint =
        b.on(b.below(*p.packageRatingSubLbl, p.packageRatingLbl->bottomAnchor(), 2));
    p.packageRatingSubLblHeightConstraint =
        b.on(p.packageRatingSubLbl->heightAnchor().constraintEqualToConstant(18));
    addCollection(b, p.reviewsCollectionView);
    b.wide(*p.reviewsCollectionView);
    p.reviewsCollectionViewTopConstraint =
        b.on(b.below(*p.reviewsCollectionView, p.packageRatingSubLbl->bottomAnchor(), 10));
    p.reviewsCollectionViewHeightConstraint =
        b.on(p.reviewsCollectionView->heightAnchor().constraintEqualToConstant(155));
    b.label(p.reviewsLbl, "No reviews yet", uikit::Font::systemFont(15), 0);
    p.reviewsLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*p.reviewsLbl);
    p.reviewsLblTopConstraint = b.on(b.below(*p.reviewsLbl, p.reviewsTitle->bottomAnchor(), 10));
    for (View* view : {static_cast<View*>(p.packageRatingLbl.get()),
                       static_cast<View*>(p.packageRatingSubLbl.get()),
                       static_cast<View*>(p.reviewsCollectionView.get()),
                       static_cast<View*>(p.reviewsLbl.get())})
        Builder::folds(*view, p.reviewsTitle->bottomAnchor());

    b.button(p.contactDeveloperBtn, "Contact Developer");
    b.button(p.leaveReviewBtn, "Leave a Review");
    for (auto* button : {&p.contactDeveloperBtn, &p.leaveReviewBtn})
        b.on((*button)->heightAnchor().constraintEqualToConstant(44));
    b.on(
        p.contactDeveloperBtn->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    b.on(p.contactDeveloperBtn->trailingAnchor().constraintEqualTo(content.centerXAnchor(), -6));
    b.on(p.leaveReviewBtn->leadingAnchor().constraintEqualTo(content.centerXAnchor(), 6));
    b.on(p.leaveReviewBtn->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    p.contactDeveloperBtnTopConstraint =
        b.on(b.below(*p.contactDeveloperBtn, p.reviewsCollectionView->bottomAnchor(), 20));
    p.contactDeveloperBtnTopConstraintToLbl =
        b.off(b.below(*p.contactDeveloperBtn, p.reviewsLbl->bottomAnchor(), 30));
    p.leaveReviewBtnTopConstraint =
        b.on(b.below(*p.leaveReviewBtn, p.reviewsCollectionView->bottomAnchor(), 20));
    p.leaveReviewBtnTopConstraintToLbl =
        b.off(b.below(*p.leaveReviewBtn, p.reviewsLbl->bottomAnchor(), 30));
    b.separator(p.reviewsSeparator);
    b.on(b.below(*p.reviewsSeparator, p.contactDeveloperBtn->bottomAnchor(), 20));
}

void buildInformation(Builder& b) {
    auto& p = b.page();
    auto& content = b.content();
    b.title(p.informationsTitle, "Information");
    b.wide(*p.informationsTitle);
    b.on(b.below(*p.informationsTitle, p.reviewsSeparator->bottomAnchor(), 20));
    b.button(p.installedFilesBtn, "See Installed Files");
    b.wide(*p.installedFilesBtn);
    p.installedFilesBtnTopConstraint =
        b.on(b.below(*p.installedFilesBtn, p.informationsTitle->bottomAnchor(), 10));
    b.on(p.installedFilesBtn->heightAnchor().constraintEqualToConstant(44));
    Builder::fallback(
        p.installedFilesBtn->topAnchor().constraintEqualTo(p.informationsTitle->bottomAnchor()));

    b.row(p.developerLbl, p.developerNameLbl, p.developerSeparator, "Developer",
          p.installedFilesBtn->bottomAnchor());
    // The row's own tops give way to the two pairs the page switches.
    for (const auto& constraint : p.developerLbl->constraints())
        if (constraint->firstAttribute() == uikit::LayoutAttribute::top)
            constraint->setActive(false);
    p.developerLblTopConstraintToInstalledFilesBtn =
        b.on(b.below(*p.developerLbl, p.installedFilesBtn->bottomAnchor(), 10));
    p.developerLblTopConstraintToInformationTitle =
        b.off(b.below(*p.developerLbl, p.informationsTitle->bottomAnchor(), 30));
    for (const auto& constraint : p.developerNameLbl->constraints())
        if (constraint->firstAttribute() == uikit::LayoutAttribute::top)
            constraint->setActive(false);
    p.developerNameLblTopConstraintToInstalledFilesBtn =
        b.on(b.below(*p.developerNameLbl, p.installedFilesBtn->bottomAnchor(), 10));
    p.developerNameLblTopConstraintToInformationsTitle =
        b.off(b.below(*p.developerNameLbl, p.informationsTitle->bottomAnchor(), 30));

    b.row(p.sizeLbl, p.packageSizeLbl, p.sizeSeparator, "Size",
          p.developerSeparator->bottomAnchor());
    b.row(p.compatibilityLbl, p.packageCompatibilityLbl, p.compatibilitySeparator, "Compatibility",
          p.sizeSeparator->bottomAnchor());
    b.row(p.dependenciesLbl, p.packageDependenciesLbl, p.dependenciesSeparator, "Dependencies",
          p.compatibilitySeparator->bottomAnchor());
    b.row(p.conflictsLbl, p.packageConflictsLbl, p.conflictsSeparator, "Conflicts",
          p.dependenciesSeparator->bottomAnchor());
    b.row(p.postInstallActionLbl, p.packagePostInstallActionLbl, p.postInstallActionSeparator,
          "Post-Install Action", p.conflictsSeparator->bottomAnchor());

    const auto& afterActions = p.postInstallActionSeparator->bottomAnchor();
    b.label(p.dateLbl, "Date", uikit::Font::systemFont(15));
    p.dateLbl->setTextColor(uikit::Color::systemGray());
    b.leading(*p.dateLbl, kMargin, PackageDetailsNib::kCaptionWidth);
    p.dateLblTopConstraint = b.on(b.below(*p.dateLbl, afterActions, 12));
    p.dateLblHeightConstraint = b.on(p.dateLbl->heightAnchor().constraintEqualToConstant(20));
    b.label(p.packageDateLbl, "", uikit::Font::systemFont(15));
    p.packageDateLbl->setTextAlignment(uikit::TextAlignment::right);
    b.on(p.packageDateLbl->leadingAnchor().constraintEqualTo(p.dateLbl->trailingAnchor(), 8));
    b.on(p.packageDateLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    p.packageDateLblTopConstraint = b.on(b.below(*p.packageDateLbl, afterActions, 12));
    p.packageDateLblHeightConstraint =
        b.on(p.packageDateLbl->heightAnchor().constraintEqualToConstant(20));
    b.separator(p.dateSeparator);
    p.dateSeparatorHeightConstraint = p.dateSeparator->constraints().front();
    p.dateSeparatorTopConstraint = b.on(b.below(*p.dateSeparator, p.dateLbl->bottomAnchor(), 12));
    for (View* view : {static_cast<View*>(p.dateLbl.get()),
                       static_cast<View*>(p.packageDateLbl.get()), p.dateSeparator.get()})
        Builder::folds(*view, afterActions);

    b.button(p.developerWebsiteBtn, "Developer Website");
    b.wide(*p.developerWebsiteBtn);
    b.on(p.developerWebsiteBtn->heightAnchor().constraintEqualToConstant(44));
    p.developerWebsiteBtnTopConstraint =
        b.on(b.below(*p.developerWebsiteBtn, p.dateSeparator->bottomAnchor(), 0));
    p.developerWebsiteBtnTopConstraintToPostInstallActionSeparator =
        b.on(b.below(*p.developerWebsiteBtn, afterActions, 0));
    b.add(p.developerWebsiteImageView);
    b.trailing(*p.developerWebsiteImageView, 24);
    b.on(p.developerWebsiteImageView->heightAnchor().constraintEqualToConstant(24));
    p.developerWebsiteImageViewTopConstraint =
        b.on(b.below(*p.developerWebsiteImageView, p.dateSeparator->bottomAnchor(), 10));
    p.developerWebsiteImageViewTopConstraintToPostInstallActionSeparator =
        b.on(b.below(*p.developerWebsiteImageView, afterActions, 10));
    b.separator(p.developerWebsiteSeparator);
    p.developerWebsiteSeparatorHeightConstraint =
        p.developerWebsiteSeparator->constraints().front();
    p.developerWebSiteSeparatorTopConstraint =
        b.on(b.below(*p.developerWebsiteSeparator, p.developerWebsiteBtn->bottomAnchor(), 0));
    Builder::folds(*p.developerWebsiteSeparator, p.developerWebsiteBtn->bottomAnchor());

    b.button(p.donateBtn, "Donate");
    b.wide(*p.donateBtn);
    p.donateBtnTopConstraint =
        b.on(b.below(*p.donateBtn, p.developerWebsiteSeparator->bottomAnchor(), 0));
    p.donateBtnHeightConstraint = b.on(p.donateBtn->heightAnchor().constraintEqualToConstant(44));
    b.add(p.donateImageView);
    b.on(p.donateImageView->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    p.donateImageViewTopConstraint =
        b.on(b.below(*p.donateImageView, p.developerWebsiteSeparator->bottomAnchor(), 10));
    p.donateImageViewWidthConstraint =
        b.on(p.donateImageView->widthAnchor().constraintEqualToConstant(24));
    p.donateImageViewHeightConstraint =
        b.on(p.donateImageView->heightAnchor().constraintEqualToConstant(24));
    b.separator(p.donateSeparator);
    p.donateSeparatorHeightConstraint = p.donateSeparator->constraints().front();
    p.donateSeparatorTopConstraint =
        b.on(b.below(*p.donateSeparator, p.donateBtn->bottomAnchor(), 0));
    for (View* view : {static_cast<View*>(p.donateBtn.get()),
                       static_cast<View*>(p.donateImageView.get()), p.donateSeparator.get()})
        Builder::folds(*view, p.developerWebsiteSeparator->bottomAnchor());

    b.label(p.isBetaLbl, "Beta", uikit::Font::systemFont(15));
    p.isBetaLbl->setTextColor(uikit::Color::systemGray());
    b.leading(*p.isBetaLbl, kMargin, PackageDetailsNib::kCaptionWidth);
    p.isBetaLblTopConstraint = b.on(b.below(*p.isBetaLbl, p.donateSeparator->bottomAnchor(), 12));
    b.label(p.packageIsBetaLbl, "Yes", uikit::Font::systemFont(15));
    b.on(
        p.packageIsBetaLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    p.packageIsBetaLblTopConstraint =
        b.on(b.below(*p.packageIsBetaLbl, p.donateSeparator->bottomAnchor(), 12));
    p.packageIsBetaLblHeightConstraint =
        b.on(p.packageIsBetaLbl->heightAnchor().constraintEqualToConstant(20));
    p.packageIsbetaLblWidthConstraint =
        b.on(p.packageIsBetaLbl->widthAnchor().constraintEqualToConstant(60));
    for (View* view :
         {static_cast<View*>(p.isBetaLbl.get()), static_cast<View*>(p.packageIsBetaLbl.get())})
        Builder::folds(*view, p.donateSeparator->bottomAnchor());

    b.separator(p.informationsSeparator);
    p.informationsSeparatorTopConstraint =
        b.on(b.below(*p.informationsSeparator, p.isBetaLbl->bottomAnchor(), 20));
    p.informationsSeparatorTopConstraintToDonateBtn =
        b.on(b.below(*p.informationsSeparator, p.donateBtn->bottomAnchor(), 20));
    p.informationsSeparatorTopConstraintToDeveloperWebsiteBtn =
        b.on(b.below(*p.informationsSeparator, p.developerWebsiteBtn->bottomAnchor(), 20));
}

void buildRepositoryAndMore(Builder& b) {
    auto& p = b.page();
    auto& content = b.content();
    b.title(p.repositoryTitle, "Repository");
    b.wide(*p.repositoryTitle);
    b.on(b.below(*p.repositoryTitle, p.informationsSeparator->bottomAnchor(), 20));
    b.add(p.repositoryIconImageView);
    b.leading(*p.repositoryIconImageView, kMargin, 60);
    b.on(p.repositoryIconImageView->heightAnchor().constraintEqualToConstant(60));
    b.on(b.below(*p.repositoryIconImageView, p.repositoryTitle->bottomAnchor(), 10));
    b.label(p.repositoryNameLbl, "", uikit::Font::systemFont(17, uikit::FontWeight::semibold));
    b.label(p.repositoryDescriptionLbl, "", uikit::Font::systemFont(13), 2);
    p.repositoryDescriptionLbl->setTextColor(uikit::Color::systemGray());
    for (auto* label : {&p.repositoryNameLbl, &p.repositoryDescriptionLbl}) {
        b.on((*label)->leadingAnchor().constraintEqualTo(
            p.repositoryIconImageView->trailingAnchor(), 12));
        b.on((*label)->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    }
    b.on(p.repositoryNameLbl->topAnchor().constraintEqualTo(p.repositoryIconImageView->topAnchor(),
                                                            6));
    b.on(b.below(*p.repositoryDescriptionLbl, p.repositoryNameLbl->bottomAnchor(), 2));

    b.title(p.moreDevPackagesTitle, "");
    b.on(b.below(*p.moreDevPackagesTitle, p.repositoryIconImageView->bottomAnchor(), 30));
    b.on(p.moreDevPackagesTitle->leadingAnchor().constraintEqualTo(content.leadingAnchor(),
                                                                   kMargin));
    b.on(p.moreDevPackagesTitle->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -90));
    b.button(p.seeAllDevPackagesBtn, "See All");
    b.on(p.seeAllDevPackagesBtn->trailingAnchor().constraintEqualTo(content.trailingAnchor(),
                                                                    -kMargin));
    p.seeAllDevPackagesBtnTopConstraint = b.on(
        p.seeAllDevPackagesBtn->topAnchor().constraintEqualTo(p.moreDevPackagesTitle->topAnchor()));
    p.seeAllDevPackagesBtnWidthConstraint =
        b.on(p.seeAllDevPackagesBtn->widthAnchor().constraintEqualToConstant(70));
    p.seeAllDevPackagesBtnHeightConstraint =
        b.on(p.seeAllDevPackagesBtn->heightAnchor().constraintEqualToConstant(
            PackageDetailsNib::kTitleHeight));
    b.add(p.otherDevPackagesTableView);
    p.otherDevPackagesTableView->setScrollEnabled(false);
    p.otherDevPackagesTableView->setRowHeight(GetPackageCell::kRowHeight);
    b.on(p.otherDevPackagesTableView->leadingAnchor().constraintEqualTo(content.leadingAnchor()));
    b.on(p.otherDevPackagesTableView->trailingAnchor().constraintEqualTo(content.trailingAnchor()));
    p.otherDevPackagesTableViewTopConstraint =
        b.on(b.below(*p.otherDevPackagesTableView, p.moreDevPackagesTitle->bottomAnchor(), 10));
    p.otherDevPackagesTableViewHeightConstraint =
        b.on(p.otherDevPackagesTableView->heightAnchor().constraintEqualToConstant(140));
    Builder::folds(*p.otherDevPackagesTableView, p.moreDevPackagesTitle->bottomAnchor());
    b.label(p.otherDevPackagesLbl, "No other packages by this developer",
            uikit::Font::systemFont(15), 0);
    p.otherDevPackagesLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*p.otherDevPackagesLbl);
    p.otherDevPackagesLblTopConstraint =
        b.on(b.below(*p.otherDevPackagesLbl, p.moreDevPackagesTitle->bottomAnchor(), 10));
    Builder::folds(*p.otherDevPackagesLbl, p.moreDevPackagesTitle->bottomAnchor());
    b.separator(p.devPackagesSeparator);
    p.devPackagesSeparatorTopConstraint =
        b.on(b.below(*p.devPackagesSeparator, p.otherDevPackagesTableView->bottomAnchor(), 20));
    p.devPackagesSeparatorTopConstraintToOtherDevPackagesLbl =
        b.off(b.below(*p.devPackagesSeparator, p.otherDevPackagesLbl->bottomAnchor(), 20));

    b.label(p.copyrightLbl, "", uikit::Font::systemFont(12), 0);
    p.copyrightLbl->setTextColor(uikit::Color::systemGray());
    p.copyrightLbl->setTextAlignment(uikit::TextAlignment::center);
    b.wide(*p.copyrightLbl);
    b.on(b.below(*p.copyrightLbl, p.devPackagesSeparator->bottomAnchor(), 20));
    b.on(p.copyrightLbl->bottomAnchor().constraintEqualTo(content.bottomAnchor(), -30));
}

}  // namespace

std::shared_ptr<uikit::View> PackageDetailsNib::build(PackageDetailsOutlets& outlets) {
    const uikit::Rect bounds = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(bounds);
    root->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                              uikit::Autoresizing::flexibleHeight);
    outlets.backgroundView = std::make_shared<uikit::View>(bounds);
    outlets.backgroundView->setAutoresizingMask(root->autoresizingMask());
    root->addSubview(outlets.backgroundView);
    outlets.scrollView = std::make_shared<uikit::ScrollView>(bounds);
    outlets.scrollView->setAutoresizingMask(root->autoresizingMask());
    outlets.scrollView->setAlwaysBounceVertical(true);
    root->addSubview(outlets.scrollView);
    auto content = std::make_shared<PackageDetailsContentView>(
        uikit::Rect{0, 0, bounds.width(), bounds.height()});
    content->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    outlets.contentView = content;
    outlets.scrollView->addSubview(content);
    outlets.secondBackgroundView = std::make_shared<uikit::View>(content->bounds());
    outlets.secondBackgroundView->setAutoresizingMask(root->autoresizingMask());
    content->addSubview(outlets.secondBackgroundView);

    Builder builder(outlets, *content);
    buildHeader(builder);
    buildChangelogAndVideo(builder);
    buildScreenshots(builder);
    buildDescription(builder);
    buildReviews(builder);
    buildInformation(builder);
    buildRepositoryAndMore(builder);
    return root;
}

void PackageDetailsNib::registerNib() {
    ScreenshotsCell::registerNib();
    DeveloperCell::registerNib();
    ReviewsCell::registerNib();
    GetPackageCell::registerNib();
    uikit::NibRegistry::shared().registerNib(
        kNibName, [](const std::shared_ptr<uikit::ViewController>& owner) -> std::shared_ptr<View> {
            auto* outlets = dynamic_cast<PackageDetailsOutlets*>(owner.get());
            return outlets ? build(*outlets) : nullptr;
        });
}

}  // namespace corvane
