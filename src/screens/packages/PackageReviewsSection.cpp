#include "screens/packages/PackageReviewsSection.h"

#include <algorithm>
#include <array>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "screens/packages/PackagePageModel.h"

namespace corvane {

namespace {

using foundation::localized;
constexpr double kMargin = PackageSectionBuilder::kMargin;

uikit::AttributedString votes(const KSReviews& review) {
    uikit::AttributedString votes;
    uikit::TextAttributes up;
    up.foregroundColor = uikit::Color(1, 0, 0, 1);
    votes.append(foundation::format("+%@ ", std::to_string(review.upvotes)), up);
    uikit::TextAttributes down;
    down.foregroundColor = uikit::Color(0.46, 0.53, 1, 1);
    votes.append(foundation::format("-%@", std::to_string(review.downvotes)), down);
    return votes;
}

uikit::AttributedString repliedComment(const KSReviews& review, const std::string& maintainer) {
    uikit::AttributedString comment;
    uikit::TextAttributes header;
    header.font = uikit::Font::italicSystemFont(15);
    comment.append(foundation::format(localized("Developer \"%@\" replied\n\n"), maintainer),
                   header);
    uikit::TextAttributes body;
    body.font = uikit::Font::systemFont(15);
    comment.append(review.desc, body);
    return comment;
}

}  // namespace

void PackageReviewsSection::build(PackageSectionBuilder& b, const uikit::View& authorSeparator) {
    b.title(reviewsTitle, "Ratings & Reviews");
    b.on(b.below(*reviewsTitle, authorSeparator.bottomAnchor(), 20));
    b.leading(*reviewsTitle, kMargin, 240);
    b.button(seeAllReviewsBtn, "See All");
    b.on(seeAllReviewsBtn->topAnchor().constraintEqualTo(reviewsTitle->topAnchor()));
    b.trailing(*seeAllReviewsBtn, 70);
    seeAllReviewsBtnHeightConstraint =
        b.on(seeAllReviewsBtn->heightAnchor().constraintEqualToConstant(
            PackageSectionBuilder::kTitleHeight));
    b.fallback(seeAllReviewsBtn->heightAnchor().constraintEqualToConstant(0));
    buildRating(b);
    buildButtons(b);
}

void PackageReviewsSection::buildRating(PackageSectionBuilder& b) {
    b.label(packageRatingLbl, "", uikit::Font::systemFont(40, uikit::FontWeight::bold));
    b.leading(*packageRatingLbl, kMargin, 120);
    packageRatingLblTopConstraint =
        b.on(b.below(*packageRatingLbl, reviewsTitle->bottomAnchor(), 10));
    packageRatingLblHeightConstraint =
        b.on(packageRatingLbl->heightAnchor().constraintEqualToConstant(44));
    b.label(packageRatingSubLbl, "out of 5", uikit::Font::systemFont(13));
    b.leading(*packageRatingSubLbl, kMargin, 120);
    packageRatingSubLblTopConstraint =
        b.on(b.below(*packageRatingSubLbl, packageRatingLbl->bottomAnchor(), 2));
    packageRatingSubLblHeightConstraint =
        b.on(packageRatingSubLbl->heightAnchor().constraintEqualToConstant(18));
    b.collection(reviewsCollectionView);
    b.wide(*reviewsCollectionView);
    reviewsCollectionViewTopConstraint =
        b.on(b.below(*reviewsCollectionView, packageRatingSubLbl->bottomAnchor(), 10));
    reviewsCollectionViewHeightConstraint =
        b.on(reviewsCollectionView->heightAnchor().constraintEqualToConstant(kReviewHeight));
    b.label(reviewsLbl, "No reviews yet", uikit::Font::systemFont(15), 0);
    reviewsLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*reviewsLbl);
    reviewsLblTopConstraint = b.on(b.below(*reviewsLbl, reviewsTitle->bottomAnchor(), 10));
    for (uikit::View* view : {static_cast<uikit::View*>(packageRatingLbl.get()),
                              static_cast<uikit::View*>(packageRatingSubLbl.get()),
                              static_cast<uikit::View*>(reviewsCollectionView.get()),
                              static_cast<uikit::View*>(reviewsLbl.get())})
        b.folds(*view, reviewsTitle->bottomAnchor());
}

void PackageReviewsSection::buildButtons(PackageSectionBuilder& b) {
    auto& content = b.content();
    b.button(contactDeveloperBtn, "Contact Developer");
    b.button(leaveReviewBtn, "Leave a Review");
    for (auto* button : {&contactDeveloperBtn, &leaveReviewBtn})
        b.on((*button)->heightAnchor().constraintEqualToConstant(44));
    b.on(contactDeveloperBtn->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    b.on(contactDeveloperBtn->trailingAnchor().constraintEqualTo(content.centerXAnchor(), -6));
    b.on(leaveReviewBtn->leadingAnchor().constraintEqualTo(content.centerXAnchor(), 6));
    b.on(leaveReviewBtn->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    contactDeveloperBtnTopConstraint =
        b.on(b.below(*contactDeveloperBtn, reviewsCollectionView->bottomAnchor(), 20));
    contactDeveloperBtnTopConstraintToLbl =
        b.off(b.below(*contactDeveloperBtn, reviewsLbl->bottomAnchor(), 30));
    leaveReviewBtnTopConstraint =
        b.on(b.below(*leaveReviewBtn, reviewsCollectionView->bottomAnchor(), 20));
    leaveReviewBtnTopConstraintToLbl =
        b.off(b.below(*leaveReviewBtn, reviewsLbl->bottomAnchor(), 30));
    b.separator(reviewsSeparator);
    b.on(b.below(*reviewsSeparator, contactDeveloperBtn->bottomAnchor(), 20));
}

void PackageReviewsSection::connect(std::shared_ptr<const PackagePageModel> model,
                                    std::weak_ptr<KSPalettedViewController> screen,
                                    std::function<void()> seeAll) {
    model_ = std::move(model);
    screen_ = std::move(screen);
    seeAll_ = std::move(seeAll);
    reviewsCollectionView->registerNib("ReviewsCell", "cell");
}

void PackageReviewsSection::layoutButtons() {
    for (auto* button : {contactDeveloperBtn.get(), leaveReviewBtn.get()}) {
        button->layer().setCornerRadius(10);
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    }
}

void PackageReviewsSection::layout(bool hasReviews) {
    for (uikit::View* view : {static_cast<uikit::View*>(seeAllReviewsBtn.get()),
                              static_cast<uikit::View*>(packageRatingLbl.get()),
                              static_cast<uikit::View*>(packageRatingSubLbl.get()),
                              static_cast<uikit::View*>(reviewsCollectionView.get())})
        view->setHidden(!hasReviews);
    for (const auto& constraint :
         {seeAllReviewsBtnHeightConstraint, packageRatingLblTopConstraint,
          packageRatingLblHeightConstraint, packageRatingSubLblTopConstraint,
          packageRatingSubLblHeightConstraint, reviewsCollectionViewTopConstraint,
          reviewsCollectionViewHeightConstraint, contactDeveloperBtnTopConstraint,
          leaveReviewBtnTopConstraint})
        constraint->setActive(hasReviews);
    reviewsLbl->setHidden(hasReviews);
    reviewsLblTopConstraint->setActive(!hasReviews);
    for (const auto& constraint :
         {contactDeveloperBtnTopConstraintToLbl, leaveReviewBtnTopConstraintToLbl}) {
        if (!hasReviews)
            constraint->setConstant(30);
        constraint->setActive(!hasReviews);
    }
    if (hasReviews)
        reviewsCollectionView->reloadData();
}

void PackageReviewsSection::paletteDidChange(const KSPalette& palette, bool darkMode) {
    reviewsTitle->setTextColor(palette.primaryTextColor());
    for (const auto& button : {leaveReviewBtn, contactDeveloperBtn}) {
        button->setTitleColor(darkMode ? palette.primaryTextColor() : palette.getButtonTextColor());
        button->setBackgroundColor(darkMode ? palette.highlightColor()
                                            : palette.getButtonBackgoundColor());
    }
}

void PackageReviewsSection::showAverageRating(const std::optional<std::string>& rating) {
    packageRatingLbl->setText(rating);
}

void PackageReviewsSection::fillCell(ReviewsCell& cell, const KSReviews& review,
                                     const std::string& maintainer,
                                     const std::optional<KSPalette>& palette) {
    cell.titleLbl->setText(foundation::capitalized(review.title));
    cell.nameLbl->setText(review.name);
    cell.voteLbl->setAttributedText(votes(review));
    if (review.reply)
        cell.commentLbl->setAttributedText(repliedComment(review, maintainer));
    else
        cell.commentLbl->setText(review.desc);
    if (palette) {
        cell.setBackgroundColor(palette->foregroundColor());
        cell.nameLbl->setTextColor(palette->primaryTextColor());
        cell.commentLbl->setTextColor(palette->primaryTextColor());
    }
    cell.layer().setCornerRadius(kCellCornerRadius);
    const std::array stars{cell.rating1, cell.rating2, cell.rating3, cell.rating4, cell.rating5};
    for (std::size_t index = 0; index < stars.size(); ++index)
        stars[index]->setImage(uikit::Image::named(
            static_cast<int>(index) < review.rating ? "starOtherUsers" : "star"));
}

int PackageReviewsSection::numberOfItemsInSection(uikit::CollectionView&, int) {
    return std::min<int>(1, static_cast<int>(model_->packageReviews().size()));
}

std::shared_ptr<uikit::CollectionViewCell> PackageReviewsSection::cellForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    auto review = std::dynamic_pointer_cast<ReviewsCell>(cell);
    auto screen = screen_.lock();
    if (review && screen && !model_->packageReviews().empty())
        fillCell(*review, model_->packageReviews().front(), model_->text("maintainer"),
                 screen->palette());
    return cell;
}

void PackageReviewsSection::didSelectItemAtIndexPath(uikit::CollectionView&,
                                                     const uikit::IndexPath&) {
    seeAll_();
}

std::optional<uikit::Size> PackageReviewsSection::sizeForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath&) {
    return uikit::Size{collectionView.bounds().width(), kReviewHeight};
}

std::optional<double> PackageReviewsSection::minimumLineSpacingForSectionAtIndex(
    uikit::CollectionView&, int) {
    return PackageSectionBuilder::kLineSpacing;
}

}  // namespace corvane
