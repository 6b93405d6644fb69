#include "screens/packages/PackageHeaderSection.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"
#include "uikit/Screen.h"

namespace corvane {

namespace {

using foundation::localized;
using Constraint = PackageSectionBuilder::Constraint;
constexpr double kMargin = PackageSectionBuilder::kMargin;
constexpr double kUnderLabel = 30;

}  // namespace

void PackageHeaderSection::build(PackageSectionBuilder& b) {
    buildIdentity(b);
    buildButtons(b);
    buildStars(b);
    buildVersionRows(b);
}

void PackageHeaderSection::buildIdentity(PackageSectionBuilder& b) {
    auto& content = b.content();
    b.add(iconView);
    iconView->setContentMode(uikit::ContentMode::scaleAspectFit);
    b.on(iconView->topAnchor().constraintEqualTo(content.topAnchor(), 20));
    b.on(iconView->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    iconViewWidthConstraint = b.on(iconView->widthAnchor().constraintEqualToConstant(120));
    iconViewHeightConstraint = b.on(iconView->heightAnchor().constraintEqualToConstant(120));

    b.label(nameLbl, "", uikit::Font::systemFont(24, uikit::FontWeight::bold), 2);
    b.on(nameLbl->topAnchor().constraintEqualTo(iconView->topAnchor()));
    b.on(nameLbl->leadingAnchor().constraintEqualTo(iconView->trailingAnchor(), 14));
    b.on(nameLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -kMargin));
    b.label(authorLbl, "", uikit::Font::systemFont(15), 1);
    authorLbl->setTextColor(uikit::Color::systemGray());
    b.on(b.below(*authorLbl, nameLbl->bottomAnchor(), 2));
    b.on(authorLbl->leadingAnchor().constraintEqualTo(nameLbl->leadingAnchor()));
    b.on(authorLbl->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -44));
    b.add(verifiedIconView);
    b.on(verifiedIconView->centerYAnchor().constraintEqualTo(authorLbl->centerYAnchor()));
    b.trailing(*verifiedIconView, 18);
    b.on(verifiedIconView->heightAnchor().constraintEqualToConstant(18));
}

void PackageHeaderSection::buildButtons(PackageSectionBuilder& b) {
    for (auto* button : {&getBtn, &shareBtn}) {
        b.add(*button);
        b.on((*button)->heightAnchor().constraintEqualToConstant(kGetButtonHeight));
    }
    getBtn->titleLabel()->setFont(uikit::Font::boldSystemFont(13));
    getBtn->setTitleColor(uikit::Color::white());
    shareBtn->setTitle("\u2191");
    getBtnTopConstraintToIconView =
        b.on(getBtn->bottomAnchor().constraintEqualTo(iconView->bottomAnchor()));
    getBtnTopConstraintToAuthorLbl = b.off(b.below(*getBtn, authorLbl->bottomAnchor(), 30));
    b.on(getBtn->leadingAnchor().constraintEqualTo(nameLbl->leadingAnchor()));
    getBtnWidthConstraint = b.on(getBtn->widthAnchor().constraintEqualToConstant(80));
    shareBtnTopConstraintToIconView =
        b.on(shareBtn->bottomAnchor().constraintEqualTo(iconView->bottomAnchor()));
    shareBtnTopConstraintToAuthorLbl = b.off(b.below(*shareBtn, authorLbl->bottomAnchor(), 30));
    b.trailing(*shareBtn, kGetButtonHeight);
}

void PackageHeaderSection::buildStars(PackageSectionBuilder& b) {
    std::shared_ptr<uikit::Button>* buttons[] = {&rating1, &rating2, &rating3, &rating4, &rating5};
    Constraint* widths[] = {&rating1WidthConstraint, &rating2WidthConstraint,
                            &rating3WidthConstraint, &rating4WidthConstraint,
                            &rating5WidthConstraint};
    Constraint* heights[] = {&rating1HeightConstraint, &rating2HeightConstraint,
                             &rating3HeightConstraint, &rating4HeightConstraint,
                             &rating5HeightConstraint};
    for (int index = 0; index < 5; ++index) {
        auto& star = b.add(*buttons[index]);
        star->setImage(uikit::Image::named("star"));
        *widths[index] = b.on(star->widthAnchor().constraintEqualToConstant(25));
        *heights[index] = b.on(star->heightAnchor().constraintEqualToConstant(25));
        if (index == 0) {
            b.on(b.below(*star, getBtn->bottomAnchor(), 20));
            b.on(star->leadingAnchor().constraintEqualTo(b.content().leadingAnchor(), kMargin));
        } else {
            b.on(star->topAnchor().constraintEqualTo(rating1->topAnchor()));
            b.on(star->leadingAnchor().constraintEqualTo((*buttons[index - 1])->trailingAnchor(),
                                                         6));
        }
    }
    b.label(ratingLbl, "0 out of 5 rating", uikit::Font::systemFont(13));
    ratingLbl->setTextColor(uikit::Color::systemGray());
    b.on(ratingLbl->centerYAnchor().constraintEqualTo(rating1->centerYAnchor()));
    b.on(ratingLbl->leadingAnchor().constraintEqualTo(rating5->trailingAnchor(), 12));
    b.on(ratingLbl->trailingAnchor().constraintEqualTo(b.content().trailingAnchor(), -kMargin));
    ratingLblHeightConstraint = b.on(ratingLbl->heightAnchor().constraintEqualToConstant(25));
}

void PackageHeaderSection::buildVersionRows(PackageSectionBuilder& b) {
    const auto caption = uikit::Font::systemFont(17, uikit::FontWeight::semibold);
    b.label(versionLbl, "Version", caption);
    b.label(packageVersionLbl, "", uikit::Font::systemFont(15));
    b.label(categoryLbl, "Category", caption);
    b.label(packageCategoryLbl, "", uikit::Font::systemFont(15));
    // The palette never recolours these four: grey reads on every background it has.
    for (auto* label : {&versionLbl, &packageVersionLbl, &categoryLbl, &packageCategoryLbl})
        (*label)->setTextColor(uikit::Color::systemGray());
    b.on(b.below(*versionLbl, rating1->bottomAnchor(), 16));
    b.on(b.below(*categoryLbl, versionLbl->bottomAnchor(), 4));
    versionLblHeightConstraint = b.on(versionLbl->heightAnchor().constraintEqualToConstant(25));
    categoryLblHeightConstraint = b.on(categoryLbl->heightAnchor().constraintEqualToConstant(25));
    b.leading(*versionLbl, kMargin, PackageSectionBuilder::kCaptionWidth);
    b.leading(*categoryLbl, kMargin, PackageSectionBuilder::kCaptionWidth);
    for (auto* value : {&packageVersionLbl, &packageCategoryLbl}) {
        (*value)->setTextAlignment(uikit::TextAlignment::right);
        b.on((*value)->trailingAnchor().constraintEqualTo(b.content().trailingAnchor(), -kMargin));
        b.on((*value)->leadingAnchor().constraintEqualTo(versionLbl->trailingAnchor(), 8));
    }
    b.on(packageVersionLbl->topAnchor().constraintEqualTo(versionLbl->topAnchor()));
    b.on(packageCategoryLbl->topAnchor().constraintEqualTo(categoryLbl->topAnchor()));
    packageVersionLblHeightConstraint =
        b.on(packageVersionLbl->heightAnchor().constraintEqualToConstant(25));
    packageCategoryLblHeightConstraint =
        b.on(packageCategoryLbl->heightAnchor().constraintEqualToConstant(25));
    b.separator(topSeparator);
    b.on(b.below(*topSeparator, categoryLbl->bottomAnchor(), 16));
}

void PackageHeaderSection::layout(bool infoJson) {
    iconView->layer().setContinuousCorners(true);
    iconView->setClipsToBounds(true);
    const double height = uikit::Screen::main().bounds().height();
    const bool compact = height == 568 || height == 480;
    const double icon = infoJson ? (compact ? 100 : 120) : 80;
    iconView->layer().setCornerRadius(infoJson ? (compact ? 25 : 30) : 20);
    iconViewWidthConstraint->setConstant(icon);
    iconViewHeightConstraint->setConstant(icon);
    const bool buttonsUnderIcon = !compact && infoJson;
    getBtnTopConstraintToIconView->setActive(buttonsUnderIcon);
    shareBtnTopConstraintToIconView->setActive(buttonsUnderIcon);
    for (const auto& constraint :
         {getBtnTopConstraintToAuthorLbl, shareBtnTopConstraintToAuthorLbl}) {
        if (!buttonsUnderIcon)
            constraint->setConstant(kUnderLabel);
        constraint->setActive(!buttonsUnderIcon);
    }
    if (compact) {
        nameLbl->setFont(uikit::Font::systemFont(22, uikit::FontWeight::semibold));
        versionLbl->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
        categoryLbl->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
    } else {
        const bool tallName = nameLbl->frame().height() > 43;
        authorLbl->setAdjustsFontSizeToFitWidth(tallName);
        authorLbl->setNumberOfLines(tallName ? 1 : 2);
    }
    for (auto* button : {getBtn.get(), shareBtn.get()})
        button->layer().setCornerRadius(kGetButtonHeight / 2);
    const double star = compact ? 20 : 25;
    for (const auto& constraint :
         {rating1WidthConstraint, rating2WidthConstraint, rating3WidthConstraint,
          rating4WidthConstraint, rating5WidthConstraint, rating1HeightConstraint,
          rating2HeightConstraint, rating3HeightConstraint, rating4HeightConstraint,
          rating5HeightConstraint, ratingLblHeightConstraint, versionLblHeightConstraint,
          packageVersionLblHeightConstraint, categoryLblHeightConstraint,
          packageCategoryLblHeightConstraint})
        constraint->setConstant(star);
}

void PackageHeaderSection::paletteDidChange(const KSPalette& palette) {
    nameLbl->setTextColor(palette.primaryTextColor());
    for (const auto& button : {getBtn, shareBtn})
        button->setBackgroundColor(palette.tintColor());
}

void PackageHeaderSection::showPackage(const PackagePageModel& model) {
    iconView->setImage(KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(
        model.packageIdentifier()));
    nameLbl->setText(model.text("name"));
    nameLbl->setAdjustsFontSizeToFitWidth(true);
    verifiedIconView->setHidden(model.text("sourceLocation") !=
                                KSKnownRepositories::kMakerLocation);
}

void PackageHeaderSection::showStoredRating(const foundation::Value& rating) {
    if (!rating.isNumber() || rating.integerValue() <= 0) {
        showRatingLabel("0");
        return;
    }
    fillStars(static_cast<int>(rating.integerValue()));
    showRatingLabel(rating.stringValue());
}

void PackageHeaderSection::showOwnRating(int rating) {
    fillStars(rating);
    showRatingLabel(std::to_string(rating));
}

void PackageHeaderSection::fillStars(int rating) {
    const auto buttons = stars();
    for (std::size_t index = 0; index < buttons.size(); ++index)
        buttons[index]->setImage(
            uikit::Image::named(static_cast<int>(index) < rating ? "starSelected" : "star"));
}

void PackageHeaderSection::showRatingLabel(const std::string& rating) {
    ratingLbl->setText(foundation::format(localized("%@ out of 5 rating"), rating));
}

void PackageHeaderSection::showVersionAndCategory(const PackagePageModel& model) {
    std::string version = localized("None");
    if (PackageSnapshot::field(model.packageDictionary(), "isInstalled").boolValue() &&
        !model.text("installedVersion").empty())
        version = model.text("installedVersion");
    else if (!model.text("version").empty())
        version = model.text("version");
    packageVersionLbl->setText(version);
    const std::string category = model.text("category");
    packageCategoryLbl->setText(category.empty() ? localized("None") : category);
}

void PackageHeaderSection::setAuthor(const std::string& developer) {
    authorLbl->setText(developer);
    authorLbl->sizeToFit();
}

void PackageHeaderSection::setName(const std::string& name) {
    nameLbl->setText(name);
}

void PackageHeaderSection::setGetTitle(const std::string& title, bool enabled) {
    getBtn->setTitle(title);
    getBtn->setEnabled(enabled);
}

void PackageHeaderSection::setGetAlphaAndWidth(double alpha, double width) {
    getBtn->setAlpha(alpha);
    getBtnWidthConstraint->setConstant(width);
}

void PackageHeaderSection::setContentAlpha(double alpha, double getAlpha) {
    for (const auto& view : std::initializer_list<std::shared_ptr<uikit::View>>{authorLbl, nameLbl,
                                                                                iconView, shareBtn})
        view->setAlpha(alpha);
    getBtn->setAlpha(alpha * getAlpha);
}

bool PackageHeaderSection::showsAlpha(double alpha, double getAlpha) const {
    return getBtn->alpha() == alpha * getAlpha && authorLbl->alpha() == alpha;
}

}  // namespace corvane
