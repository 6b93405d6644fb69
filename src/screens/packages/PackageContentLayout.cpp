#include "screens/packages/PackageContentLayout.h"

#include <algorithm>
#include <initializer_list>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/misc/KSKnownRepositories.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "screens/packages/PackageDetailsNib.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageSnapshot.h"
#include "uikit/Device.h"
#include "uikit/Screen.h"

namespace corvane {

namespace {

using foundation::Value;
using uikit::LayoutConstraint;
using Constraint = std::shared_ptr<LayoutConstraint>;
constexpr auto field = &PackageSnapshot::field;

constexpr double kUnderLabel = PackageContentLayout::kUnderLabel;
constexpr double kUnderSeparator = PackageContentLayout::kUnderSeparator;

void setOn(std::initializer_list<Constraint> constraints, bool on) {
    for (const auto& constraint : constraints)
        constraint->setActive(on);
}
void setHidden(std::initializer_list<uikit::View*> views, bool hidden) {
    for (auto* view : views)
        view->setHidden(hidden);
}
void attach(const Constraint& constraint, double constant) {
    constraint->setConstant(constant);
    constraint->setActive(true);
}

bool hasChangelog(const PackageDetailsViewController& page) {
    return field(page.packageDictionary(), "changelog").count() > 0;
}
bool isInfoJson(const PackageDetailsViewController& page) {
    return field(page.sourceDictionary(), "isUsingInfoJson").boolValue();
}

void layoutHeader(PackageDetailsViewController& p) {
    p.iconView->layer().setContinuousCorners(true);
    p.iconView->setClipsToBounds(true);
    const double height = uikit::Screen::main().bounds().height();
    const bool compact = height == 568 || height == 480;
    const bool infoJson = isInfoJson(p);
    const double icon = infoJson ? (compact ? 100 : 120) : 80;
    p.iconView->layer().setCornerRadius(infoJson ? (compact ? 25 : 30) : 20);
    p.iconViewWidthConstraint->setConstant(icon);
    p.iconViewHeightConstraint->setConstant(icon);
    const bool buttonsUnderIcon = !compact && infoJson;
    p.getBtnTopConstraintToIconView->setActive(buttonsUnderIcon);
    p.shareBtnTopConstraintToIconView->setActive(buttonsUnderIcon);
    if (buttonsUnderIcon) {
        setOn({p.getBtnTopConstraintToAuthorLbl, p.shareBtnTopConstraintToAuthorLbl}, false);
    } else {
        attach(p.getBtnTopConstraintToAuthorLbl, kUnderLabel);
        attach(p.shareBtnTopConstraintToAuthorLbl, kUnderLabel);
    }
    if (compact) {
        p.nameLbl->setFont(uikit::Font::systemFont(22, uikit::FontWeight::semibold));
        p.versionLbl->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
        p.categoryLbl->setFont(uikit::Font::systemFont(15, uikit::FontWeight::semibold));
    } else {
        const bool tallName = p.nameLbl->frame().height() > 43;
        p.authorLbl->setAdjustsFontSizeToFitWidth(tallName);
        p.authorLbl->setNumberOfLines(tallName ? 1 : 2);
    }
    for (auto* button : {p.getBtn.get(), p.shareBtn.get()})
        button->layer().setCornerRadius(PackageDetailsNib::kGetButtonHeight / 2);
    const double star = compact ? 20 : 25;
    for (const auto& constraint :
         {p.rating1WidthConstraint, p.rating2WidthConstraint, p.rating3WidthConstraint,
          p.rating4WidthConstraint, p.rating5WidthConstraint, p.rating1HeightConstraint,
          p.rating2HeightConstraint, p.rating3HeightConstraint, p.rating4HeightConstraint,
          p.rating5HeightConstraint, p.ratingLblHeightConstraint, p.versionLblHeightConstraint,
          p.packageVersionLblHeightConstraint, p.categoryLblHeightConstraint,
          p.packageCategoryLblHeightConstraint})
        constraint->setConstant(star);
}

void layoutChangelog(PackageDetailsViewController& p) {
    if (hasChangelog(p))
        return;
    const bool shown = !isInfoJson(p) && PackageContentLayout::depictionsMayBeRead(p) &&
                       p.cydiaPackageHaveChangelog;
    setHidden({p.changelogTitle.get(), p.changelogVersionLbl.get(), p.changelogContentLbl.get(),
               p.changelogSeparator.get()},
              !shown);
    setOn({p.changelogTitleTopConstraint, p.changelogTitleHeightConstraint,
           p.changelogVersionLblTopConstraint, p.changelogContentLblTopConstraint,
           p.changelogSeparatorTopConstraint},
          shown);
}

void layoutVideo(PackageDetailsViewController& p) {
    const bool present =
        isInfoJson(p) && foundation::isPresentText(field(p.packageDictionary(), "youtube"));
    setHidden(
        {p.videoPreviewTitle.get(), p.videoPreviewPlayer.get(), p.videoPreviewSeparator.get()},
        !present);
    if (!present) {
        setOn({p.videoPreviewTitleHeightConstraint, p.videoPreviewTitleTopConstraint,
               p.videoPreviewTitleTopConstraintToTopSeparator, p.videoPreviewPlayerTopConstraint,
               p.videoPreviewPlayerHeightConstraint, p.videoPreviewSeparatorTopConstraint},
              false);
        return;
    }
    setOn({p.videoPreviewTitleHeightConstraint, p.videoPreviewPlayerTopConstraint,
           p.videoPreviewPlayerHeightConstraint, p.videoPreviewSeparatorTopConstraint},
          true);
    p.videoPreviewPlayer->layer().setCornerRadius(10);
    p.videoPreviewPlayer->setClipsToBounds(true);
    const bool underHeader = !hasChangelog(p);
    p.videoPreviewTitleTopConstraint->setActive(!underHeader);
    if (underHeader)
        attach(p.videoPreviewTitleTopConstraintToTopSeparator, kUnderSeparator);
    else
        p.videoPreviewTitleTopConstraintToTopSeparator->setActive(false);
}

class ScreenshotsLayout {
  public:
    explicit ScreenshotsLayout(PackageDetailsViewController& page) : p(page) {}

    void apply() {
        if (isInfoJson(p))
            infoJson();
        else
            otherSource();
    }

  private:
    // Under the changelog's separator when there is a changelog, else under the header's.
    void titleAnchor(double constant) {
        const bool changelog = hasChangelog(p) || p.cydiaPackageHaveChangelog;
        const auto& used = changelog ? p.screenshotsTitleTopConstraintToChangelogSeparator
                                     : p.screenshotsTitleTopConstraintToTopSeparator;
        const auto& other = changelog ? p.screenshotsTitleTopConstraintToTopSeparator
                                      : p.screenshotsTitleTopConstraintToChangelogSeparator;
        other->setActive(false);
        attach(used, constant);
    }
    void emptyVideoReanchoring() {
        const Value& video = field(p.packageDictionary(), "youtube");
        if (video.isString() && video.stringValue().empty()) {
            p.screenshotsTitleTopConstraint->setActive(false);
            titleAnchor(kUnderSeparator);
        }
    }
    // Spacings a collapse set to 0 come back whenever the section shows again.
    void restoreSpacings() {
        p.screenshotsTitleHeightConstraint->setConstant(PackageDetailsNib::kTitleHeight);
        p.screenshotsCollectionViewTopConstraint->setConstant(10);
        p.screenshotsLblTopConstraint->setConstant(10);
        p.screenshotsLblHeightConstraint->setConstant(40);
        p.screenshotsSeparatorHeightConstraint->setConstant(1);
        p.screenshotsSeparatorTopConstraintToLbl->setConstant(kUnderSeparator);
        p.screenshotsSeparatorTopConstraintToCV->setConstant(kUnderSeparator);
        if (!isPadWithPadScreenshots())
            p.screenshotsCollectionViewHeightConstraint->setConstant(
                PackageDetailsNib::kScreenshotsHeight);
    }
    // The title goes too: a title at no height would stand over the next section.
    void collapse() {
        p.screenshotsTitle->setHidden(true);
        for (const auto& constraint :
             {p.screenshotsTitleTopConstraint, p.screenshotsTitleHeightConstraint,
              p.screenshotsLblTopConstraint, p.screenshotsLblHeightConstraint,
              p.screenshotsCollectionViewTopConstraint, p.screenshotsCollectionViewHeightConstraint,
              p.screenshotsSeparatorTopConstraintToLbl, p.screenshotsSeparatorTopConstraintToCV,
              p.screenshotsSeparatorHeightConstraint})
            constraint->setConstant(0);
        titleAnchor(0);
    }
    void collectionShown() {
        restoreSpacings();
        p.screenshotsTitle->setHidden(false);
        p.screenshotsCollectionView->setHidden(false);
        p.screenshotsCollectionViewHeightConstraint->setActive(true);
        p.screenshotsCollectionViewTopConstraint->setActive(true);
        p.screenshotsLbl->setHidden(true);
        p.screenshotsLblTopConstraint->setActive(false);
        attach(p.screenshotsSeparatorTopConstraintToCV, kUnderSeparator);
        p.screenshotsSeparatorTopConstraintToLbl->setActive(false);
        p.screenshotsTitleTopConstraint->setActive(false);
        titleAnchor(kUnderSeparator);
    }
    bool isPadWithPadScreenshots() const {
        return uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad &&
               field(p.packageDictionary(), "iPadScreenshots").count() > 0;
    }

    void infoJson() {
        const auto& package = p.packageDictionary();
        const bool available = (field(package, "screenshots").count() > 0 ||
                                field(package, "iPadScreenshots").count() > 0) &&
                               !p.screenshotRetrievingFail;
        restoreSpacings();
        p.screenshotsTitle->setHidden(false);
        p.screenshotsCollectionView->setHidden(!available);
        p.screenshotsCollectionViewHeightConstraint->setActive(available);
        p.screenshotsCollectionViewTopConstraint->setActive(available);
        p.screenshotsLbl->setHidden(available);
        p.screenshotsLblTopConstraint->setActive(!available);
        if (available &&
            uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
            p.screenshotsCollectionViewHeightConstraint->setConstant(
                field(package, "iPadScreenshots").count() ? 307 : 441);
        if (available)
            emptyVideoReanchoring();
        beforeAfter(available);
        if (!available) {
            p.screenshotsSeparatorTopConstraintToCV->setActive(false);
            if (p.screenshotRetrievingFail)
                p.screenshotsLbl->setText(foundation::format(
                    foundation::localized("There was an error retrieving screenshots for \"%@\""),
                    field(package, "name").stringValue()));
            emptyVideoReanchoring();
        }
    }
    bool beforeAfterPresent() const {
        return field(p.packageDictionary(), "beforeAfter").count() > 0;
    }
    void beforeAfter(bool screenshotsAvailable) {
        if (!beforeAfterPresent()) {
            setHidden({p.beforeAfterTitle.get(), p.beforeAfterLbl.get(),
                       p.beforeAfterCollectionView.get(), p.beforeImageView.get()},
                      true);
            setOn({p.beforeAfterTitleTopConstraint, p.beforeAfterTitleTopConstraintToScreenshotsLbl,
                   p.beforeAfterCollectionViewTopConstraint, p.beforeAfterLblTopConstraint,
                   p.screenshotsSeparatorTopConstraint,
                   p.screenshotsSeparatorTopConstraintToBeforeAfterLbl},
                  false);
            if (screenshotsAvailable) {
                p.screenshotsSeparatorTopConstraintToLbl->setActive(false);
                attach(p.screenshotsSeparatorTopConstraintToCV, kUnderSeparator);
            } else {
                attach(p.screenshotsSeparatorTopConstraintToLbl, kUnderSeparator);
            }
            return;
        }
        const bool failed = p.beforeAfterScreenshotsRetrievingFail;
        p.beforeAfterTitle->setHidden(false);
        p.beforeAfterTitleTopConstraint->setActive(screenshotsAvailable);
        if (screenshotsAvailable)
            p.beforeAfterTitleTopConstraintToScreenshotsLbl->setActive(false);
        else
            attach(p.beforeAfterTitleTopConstraintToScreenshotsLbl, kUnderLabel);
        setHidden({p.beforeAfterCollectionView.get(), p.beforeImageView.get()}, failed);
        p.beforeAfterCollectionViewTopConstraint->setActive(!failed);
        p.beforeAfterLbl->setHidden(!failed);
        p.beforeAfterLblTopConstraint->setActive(failed);
        p.screenshotsSeparatorTopConstraint->setActive(!failed);
        if (failed)
            attach(p.screenshotsSeparatorTopConstraintToBeforeAfterLbl, kUnderSeparator);
        else
            p.screenshotsSeparatorTopConstraintToBeforeAfterLbl->setActive(false);
        setOn({p.screenshotsSeparatorTopConstraintToLbl, p.screenshotsSeparatorTopConstraintToCV},
              false);
    }

    void otherSource() {
        setHidden({p.beforeAfterTitle.get(), p.beforeAfterLbl.get(),
                   p.beforeAfterCollectionView.get(), p.beforeImageView.get()},
                  true);
        setOn({p.beforeAfterTitleTopConstraint, p.beforeAfterTitleTopConstraintToScreenshotsLbl,
               p.beforeAfterLblTopConstraint, p.beforeAfterCollectionViewTopConstraint,
               p.screenshotsSeparatorTopConstraint,
               p.screenshotsSeparatorTopConstraintToBeforeAfterLbl},
              false);
        p.screenshotsLbl->setHidden(true);
        const bool expected = PackageContentLayout::depictionExpected(p);
        const bool loading = expected && !p.refreshForCydiaPackages;
        const bool gotScreenshots = expected && p.refreshForCydiaPackages &&
                                    !p.screenshotsDictionary.empty() && !p.screenshotRetrievingFail;
        if (loading || gotScreenshots) {
            collectionShown();
        } else {
            p.screenshotsCollectionView->setHidden(true);
            collapse();
        }
    }

    PackageDetailsViewController& p;
};

void layoutAdvertisement(PackageDetailsViewController& p) {
    const bool bigBoss = field(p.packageDictionary(), "sourceLocation").stringValue() ==
                         KSKnownRepositories::kBigBossLocation;
    p.adsWebView->setHidden(!bigBoss);
    p.authorCollectionViewTopConstraintToAdsWebView->setActive(bigBoss);
    if (bigBoss)
        p.authorCollectionViewTopConstraintToDescriptionLbl->setActive(false);
    else
        attach(p.authorCollectionViewTopConstraintToDescriptionLbl, kUnderLabel);
}

void layoutInstalledFiles(PackageDetailsViewController& p) {
    const bool installed = field(p.packageDictionary(), "isInstalled").boolValue();
    p.installedFilesBtn->setHidden(!installed);
    p.installedFilesBtnTopConstraint->setActive(installed);
    setOn({p.developerLblTopConstraintToInstalledFilesBtn,
           p.developerNameLblTopConstraintToInstalledFilesBtn},
          installed);
    if (installed) {
        setOn({p.developerLblTopConstraintToInformationTitle,
               p.developerNameLblTopConstraintToInformationsTitle},
              false);
    } else {
        attach(p.developerLblTopConstraintToInformationTitle, kUnderLabel);
        attach(p.developerNameLblTopConstraintToInformationsTitle, kUnderLabel);
    }
}

void layoutInfoJsonRows(PackageDetailsViewController& p) {
    if (isInfoJson(p))
        return;
    setHidden({p.dateLbl.get(), p.packageDateLbl.get(), p.dateSeparator.get(),
               p.developerWebsiteSeparator.get(), p.donateBtn.get(), p.donateImageView.get()},
              true);
    setOn({p.dateLblTopConstraint, p.dateLblHeightConstraint, p.packageDateLblTopConstraint,
           p.packageDateLblHeightConstraint, p.dateSeparatorTopConstraint,
           p.dateSeparatorHeightConstraint, p.developerWebsiteBtnTopConstraint,
           p.developerWebSiteSeparatorTopConstraint, p.developerWebsiteSeparatorHeightConstraint,
           p.donateBtnTopConstraint, p.donateBtnHeightConstraint, p.donateImageViewTopConstraint,
           p.donateImageViewWidthConstraint, p.donateImageViewHeightConstraint,
           p.developerWebsiteImageViewTopConstraint},
          false);
    attach(p.developerWebsiteBtnTopConstraintToPostInstallActionSeparator, 10);
    attach(p.developerWebsiteImageViewTopConstraintToPostInstallActionSeparator, 10);
}

void layoutBeta(PackageDetailsViewController& p) {
    if (field(p.packageDictionary(), "isBeta").boolValue()) {
        p.informationsSeparatorTopConstraint->setActive(true);
        setOn({p.informationsSeparatorTopConstraintToDonateBtn,
               p.informationsSeparatorTopConstraintToDeveloperWebsiteBtn},
              false);
        return;
    }
    setHidden({p.donateSeparator.get(), p.isBetaLbl.get(), p.packageIsBetaLbl.get()}, true);
    setOn({p.donateSeparatorTopConstraint, p.donateSeparatorHeightConstraint,
           p.isBetaLblTopConstraint, p.packageIsBetaLblTopConstraint,
           p.packageIsBetaLblHeightConstraint, p.packageIsbetaLblWidthConstraint,
           p.informationsSeparatorTopConstraint},
          false);
    const bool infoJson = isInfoJson(p);
    const auto& used = infoJson ? p.informationsSeparatorTopConstraintToDonateBtn
                                : p.informationsSeparatorTopConstraintToDeveloperWebsiteBtn;
    const auto& other = infoJson ? p.informationsSeparatorTopConstraintToDeveloperWebsiteBtn
                                 : p.informationsSeparatorTopConstraintToDonateBtn;
    other->setActive(false);
    attach(used, kUnderSeparator);
}

void layoutMoreByDeveloper(PackageDetailsViewController& p) {
    p.repositoryIconImageView->setClipsToBounds(true);
    p.repositoryIconImageView->layer().setCornerRadius(0.2237 *
                                                       p.repositoryIconImageView->frame().height());
    const std::size_t count = p.devPackages().size();
    const bool any = count > 0;
    p.otherDevPackagesLbl->setHidden(any);
    p.otherDevPackagesLblTopConstraint->setActive(!any);
    p.seeAllDevPackagesBtn->setHidden(!any);
    setOn({p.seeAllDevPackagesBtnTopConstraint, p.seeAllDevPackagesBtnWidthConstraint,
           p.seeAllDevPackagesBtnHeightConstraint, p.otherDevPackagesTableViewTopConstraint,
           p.otherDevPackagesTableViewHeightConstraint, p.devPackagesSeparatorTopConstraint},
          any);
    p.otherDevPackagesTableView->setHidden(!any);
    if (any) {
        p.otherDevPackagesTableViewHeightConstraint->setConstant(
            count == 1 ? PackageDetailsViewController::kRowHeight
                       : 2 * PackageDetailsViewController::kRowHeight);
        p.otherDevPackagesTableView->setBackgroundColor(uikit::Color::clear());
        p.otherDevPackagesTableView->setSeparatorColor(uikit::Color::clear());
        p.devPackagesSeparatorTopConstraintToOtherDevPackagesLbl->setActive(false);
    } else {
        attach(p.devPackagesSeparatorTopConstraintToOtherDevPackagesLbl, kUnderSeparator);
    }
}

}  // namespace

bool PackageContentLayout::depictionsMayBeRead(const PackageDetailsViewController& page) {
    return CorvanePersistentPreferences::sharedInstance().boolForKey(
               "GetCydiaPackageInfoFromDepiction") ||
           page.reach == 1 || page.reach == 2;
}

bool PackageContentLayout::depictionExpected(const PackageDetailsViewController& page) {
    if (!depictionsMayBeRead(page))
        return false;
    const auto& package = page.packageDictionary();
    if (foundation::isPresentText(field(package, "sileoDepiction")))
        return true;
    const auto& known = page.nativeDepictionCompatibleCydiaSources;
    return std::find(known.begin(), known.end(), field(package, "sourceLocation").stringValue()) !=
           known.end();
}

void PackageContentLayout::apply(PackageDetailsViewController& page) {
    layoutHeader(page);
    layoutChangelog(page);
    layoutVideo(page);
    ScreenshotsLayout(page).apply();
    layoutAdvertisement(page);
    for (auto* button : {page.contactDeveloperBtn.get(), page.leaveReviewBtn.get()}) {
        button->layer().setCornerRadius(10);
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    }
    layoutInstalledFiles(page);
    layoutInfoJsonRows(page);
    layoutBeta(page);
    layoutMoreByDeveloper(page);
}

void PackageContentLayout::applyReviews(PackageDetailsViewController& p, bool hasReviews) {
    setHidden({p.seeAllReviewsBtn.get(), p.packageRatingLbl.get(), p.packageRatingSubLbl.get(),
               p.reviewsCollectionView.get()},
              !hasReviews);
    setOn({p.seeAllReviewsBtnHeightConstraint, p.packageRatingLblTopConstraint,
           p.packageRatingLblHeightConstraint, p.packageRatingSubLblTopConstraint,
           p.packageRatingSubLblHeightConstraint, p.reviewsCollectionViewTopConstraint,
           p.reviewsCollectionViewHeightConstraint, p.contactDeveloperBtnTopConstraint,
           p.leaveReviewBtnTopConstraint},
          hasReviews);
    p.reviewsLbl->setHidden(hasReviews);
    p.reviewsLblTopConstraint->setActive(!hasReviews);
    if (hasReviews) {
        setOn({p.contactDeveloperBtnTopConstraintToLbl, p.leaveReviewBtnTopConstraintToLbl}, false);
        p.reviewsCollectionView->reloadData();
    } else {
        attach(p.contactDeveloperBtnTopConstraintToLbl, kUnderLabel);
        attach(p.leaveReviewBtnTopConstraintToLbl, kUnderLabel);
    }
}

}  // namespace corvane
