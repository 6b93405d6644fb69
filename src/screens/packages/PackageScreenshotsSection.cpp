#include "screens/packages/PackageScreenshotsSection.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/Device.h"

namespace corvane {

namespace {

constexpr auto attach = &PackageSectionBuilder::attach;
constexpr auto setActive = &PackageSectionBuilder::setActive;
constexpr auto setHidden = &PackageSectionBuilder::setHidden;
using Section = PackageScreenshotsSection;
constexpr double kUnderLabel = 30;
constexpr double kUnderSeparator = 20;

bool isPad() {
    return uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad;
}

// Which of the section's arrangements the model asks for, applied to its views and constraints.
class ScreenshotsLayout {
  public:
    ScreenshotsLayout(Section& section, const PackagePageModel& model) : s(section), m(model) {}

    void apply() {
        if (m.isInfoJson())
            infoJson();
        else
            otherSource();
    }

  private:
    const foundation::Value& field(const char* key) const {
        return PackageSnapshot::field(m.packageDictionary(), key);
    }
    // Under the changelog's separator when there is a changelog, else under the header's.
    void titleAnchor(double constant) {
        const bool changelog = m.hasChangelog() || m.cydiaPackageHaveChangelog();
        const auto& used = changelog ? s.screenshotsTitleTopConstraintToChangelogSeparator
                                     : s.screenshotsTitleTopConstraintToTopSeparator;
        const auto& other = changelog ? s.screenshotsTitleTopConstraintToTopSeparator
                                      : s.screenshotsTitleTopConstraintToChangelogSeparator;
        other->setActive(false);
        attach(used, constant);
    }
    void emptyVideoReanchoring() {
        const auto& video = field("youtube");
        if (video.isString() && video.stringValue().empty()) {
            s.screenshotsTitleTopConstraint->setActive(false);
            titleAnchor(kUnderSeparator);
        }
    }
    // Spacings a collapse set to 0 come back whenever the section shows again.
    void restoreSpacings() {
        s.screenshotsTitleHeightConstraint->setConstant(PackageSectionBuilder::kTitleHeight);
        s.screenshotsCollectionViewTopConstraint->setConstant(10);
        s.screenshotsLblTopConstraint->setConstant(10);
        s.screenshotsLblHeightConstraint->setConstant(40);
        s.screenshotsSeparatorHeightConstraint->setConstant(1);
        s.screenshotsSeparatorTopConstraintToLbl->setConstant(kUnderSeparator);
        s.screenshotsSeparatorTopConstraintToCV->setConstant(kUnderSeparator);
        if (!(isPad() && field("iPadScreenshots").count() > 0))
            s.screenshotsCollectionViewHeightConstraint->setConstant(Section::kScreenshotsHeight);
    }
    // The title goes too: a title at no height would stand over the next section.
    void collapse() {
        s.screenshotsTitle->setHidden(true);
        for (const auto& constraint :
             {s.screenshotsTitleTopConstraint, s.screenshotsTitleHeightConstraint,
              s.screenshotsLblTopConstraint, s.screenshotsLblHeightConstraint,
              s.screenshotsCollectionViewTopConstraint, s.screenshotsCollectionViewHeightConstraint,
              s.screenshotsSeparatorTopConstraintToLbl, s.screenshotsSeparatorTopConstraintToCV,
              s.screenshotsSeparatorHeightConstraint})
            constraint->setConstant(0);
        titleAnchor(0);
    }
    void collectionShown() {
        restoreSpacings();
        s.screenshotsTitle->setHidden(false);
        s.screenshotsCollectionView->setHidden(false);
        s.screenshotsCollectionViewHeightConstraint->setActive(true);
        s.screenshotsCollectionViewTopConstraint->setActive(true);
        s.screenshotsLbl->setHidden(true);
        s.screenshotsLblTopConstraint->setActive(false);
        attach(s.screenshotsSeparatorTopConstraintToCV, kUnderSeparator);
        s.screenshotsSeparatorTopConstraintToLbl->setActive(false);
        s.screenshotsTitleTopConstraint->setActive(false);
        titleAnchor(kUnderSeparator);
    }

    void infoJson() {
        const bool available =
            (field("screenshots").count() > 0 || field("iPadScreenshots").count() > 0) &&
            !m.screenshotRetrievingFail();
        restoreSpacings();
        s.screenshotsTitle->setHidden(false);
        s.screenshotsCollectionView->setHidden(!available);
        s.screenshotsCollectionViewHeightConstraint->setActive(available);
        s.screenshotsCollectionViewTopConstraint->setActive(available);
        s.screenshotsLbl->setHidden(available);
        s.screenshotsLblTopConstraint->setActive(!available);
        if (available && isPad())
            s.screenshotsCollectionViewHeightConstraint->setConstant(
                field("iPadScreenshots").count() ? 307 : 441);
        if (available)
            emptyVideoReanchoring();
        beforeAfter(available);
        if (!available) {
            s.screenshotsSeparatorTopConstraintToCV->setActive(false);
            if (m.screenshotRetrievingFail())
                s.screenshotsLbl->setText(foundation::format(
                    foundation::localized("There was an error retrieving screenshots for \"%@\""),
                    field("name").stringValue()));
            emptyVideoReanchoring();
        }
    }
    void hideBeforeAfter() {
        setHidden({s.beforeAfterTitle.get(), s.beforeAfterLbl.get(),
                   s.beforeAfterCollectionView.get(), s.beforeImageView.get()},
                  true);
        setActive({s.beforeAfterTitleTopConstraint, s.beforeAfterTitleTopConstraintToScreenshotsLbl,
                   s.beforeAfterCollectionViewTopConstraint, s.beforeAfterLblTopConstraint,
                   s.screenshotsSeparatorTopConstraint,
                   s.screenshotsSeparatorTopConstraintToBeforeAfterLbl},
                  false);
    }
    void beforeAfter(bool screenshotsAvailable) {
        if (field("beforeAfter").count() == 0) {
            hideBeforeAfter();
            if (screenshotsAvailable) {
                s.screenshotsSeparatorTopConstraintToLbl->setActive(false);
                attach(s.screenshotsSeparatorTopConstraintToCV, kUnderSeparator);
            } else {
                attach(s.screenshotsSeparatorTopConstraintToLbl, kUnderSeparator);
            }
            return;
        }
        const bool failed = m.beforeAfterScreenshotsRetrievingFail();
        s.beforeAfterTitle->setHidden(false);
        s.beforeAfterTitleTopConstraint->setActive(screenshotsAvailable);
        if (screenshotsAvailable)
            s.beforeAfterTitleTopConstraintToScreenshotsLbl->setActive(false);
        else
            attach(s.beforeAfterTitleTopConstraintToScreenshotsLbl, kUnderLabel);
        setHidden({s.beforeAfterCollectionView.get(), s.beforeImageView.get()}, failed);
        s.beforeAfterCollectionViewTopConstraint->setActive(!failed);
        s.beforeAfterLbl->setHidden(!failed);
        s.beforeAfterLblTopConstraint->setActive(failed);
        s.screenshotsSeparatorTopConstraint->setActive(!failed);
        if (failed)
            attach(s.screenshotsSeparatorTopConstraintToBeforeAfterLbl, kUnderSeparator);
        else
            s.screenshotsSeparatorTopConstraintToBeforeAfterLbl->setActive(false);
        setActive(
            {s.screenshotsSeparatorTopConstraintToLbl, s.screenshotsSeparatorTopConstraintToCV},
            false);
    }

    void otherSource() {
        hideBeforeAfter();
        s.screenshotsLbl->setHidden(true);
        const bool expected = m.depictionExpected();
        const bool loading = expected && !m.refreshForCydiaPackages();
        const bool gotScreenshots = expected && m.refreshForCydiaPackages() &&
                                    !m.screenshotsDictionary().empty() &&
                                    !m.screenshotRetrievingFail();
        if (loading || gotScreenshots) {
            collectionShown();
        } else {
            s.screenshotsCollectionView->setHidden(true);
            collapse();
        }
    }

    Section& s;
    const PackagePageModel& m;
};

}  // namespace

void PackageScreenshotsSection::build(PackageSectionBuilder& b, const Anchors& anchors) {
    buildScreenshots(b, anchors);
    buildBeforeAfter(b);
    b.separator(screenshotsSeparator);
    screenshotsSeparatorTopConstraint =
        b.off(b.below(*screenshotsSeparator, beforeAfterCollectionView->bottomAnchor(), 20));
    screenshotsSeparatorTopConstraintToBeforeAfterLbl =
        b.off(b.below(*screenshotsSeparator, beforeAfterLbl->bottomAnchor(), 20));
    screenshotsSeparatorTopConstraintToCV =
        b.on(b.below(*screenshotsSeparator, screenshotsCollectionView->bottomAnchor(), 20));
    screenshotsSeparatorTopConstraintToLbl =
        b.off(b.below(*screenshotsSeparator, screenshotsLbl->bottomAnchor(), 20));
    screenshotsSeparatorHeightConstraint = screenshotsSeparator->constraints().front();
}

void PackageScreenshotsSection::buildScreenshots(PackageSectionBuilder& b, const Anchors& anchors) {
    b.title(screenshotsTitle, "Screenshots");
    b.wide(*screenshotsTitle);
    screenshotsTitleTopConstraint =
        b.on(b.below(*screenshotsTitle, anchors.videoPreviewSeparator.bottomAnchor(), 20));
    screenshotsTitleTopConstraintToChangelogSeparator =
        b.off(b.below(*screenshotsTitle, anchors.changelogSeparator.bottomAnchor(), 20));
    screenshotsTitleTopConstraintToTopSeparator =
        b.off(b.below(*screenshotsTitle, anchors.topSeparator.bottomAnchor(), 20));
    screenshotsTitleHeightConstraint =
        b.on(screenshotsTitle->heightAnchor().constraintEqualToConstant(
            PackageSectionBuilder::kTitleHeight));
    b.collection(screenshotsCollectionView);
    b.wide(*screenshotsCollectionView);
    screenshotsCollectionViewTopConstraint =
        b.on(b.below(*screenshotsCollectionView, screenshotsTitle->bottomAnchor(), 10));
    screenshotsCollectionViewHeightConstraint = b.on(
        screenshotsCollectionView->heightAnchor().constraintEqualToConstant(kScreenshotsHeight));
    b.label(screenshotsLbl, "", uikit::Font::systemFont(15), 0);
    screenshotsLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*screenshotsLbl);
    screenshotsLblTopConstraint =
        b.on(b.below(*screenshotsLbl, screenshotsTitle->bottomAnchor(), 10));
    screenshotsLblHeightConstraint =
        b.on(screenshotsLbl->heightAnchor().constraintEqualToConstant(40));
    b.folds(*screenshotsCollectionView, screenshotsTitle->bottomAnchor());
    b.folds(*screenshotsLbl, screenshotsTitle->bottomAnchor());
}

void PackageScreenshotsSection::buildBeforeAfter(PackageSectionBuilder& b) {
    b.title(beforeAfterTitle, "Before & After");
    b.wide(*beforeAfterTitle);
    beforeAfterTitleTopConstraint =
        b.off(b.below(*beforeAfterTitle, screenshotsCollectionView->bottomAnchor(), 20));
    beforeAfterTitleTopConstraintToScreenshotsLbl =
        b.off(b.below(*beforeAfterTitle, screenshotsLbl->bottomAnchor(), 30));
    b.on(beforeAfterTitle->heightAnchor().constraintEqualToConstant(
        PackageSectionBuilder::kTitleHeight));
    b.collection(beforeAfterCollectionView);
    b.wide(*beforeAfterCollectionView);
    beforeAfterCollectionViewTopConstraint =
        b.off(b.below(*beforeAfterCollectionView, beforeAfterTitle->bottomAnchor(), 10));
    b.on(beforeAfterCollectionView->heightAnchor().constraintEqualToConstant(kScreenshotsHeight));
    b.add(beforeImageView);
    beforeImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    b.wide(*beforeImageView);
    b.on(beforeImageView->topAnchor().constraintEqualTo(beforeAfterCollectionView->topAnchor()));
    b.on(beforeImageView->heightAnchor().constraintEqualTo(
        beforeAfterCollectionView->heightAnchor()));
    b.label(beforeAfterLbl, "The before and after pictures could not be loaded",
            uikit::Font::systemFont(15), 0);
    beforeAfterLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*beforeAfterLbl);
    beforeAfterLblTopConstraint =
        b.off(b.below(*beforeAfterLbl, beforeAfterTitle->bottomAnchor(), 10));
    for (uikit::View* view : {static_cast<uikit::View*>(beforeAfterTitle.get()),
                              static_cast<uikit::View*>(beforeAfterCollectionView.get()),
                              static_cast<uikit::View*>(beforeAfterLbl.get())})
        b.folds(*view, screenshotsTitle->bottomAnchor());
}

void PackageScreenshotsSection::connect(std::shared_ptr<const PackagePageModel> model,
                                        std::weak_ptr<uikit::View> pageView,
                                        std::function<void()> showScreenshots) {
    model_ = std::move(model);
    pageView_ = std::move(pageView);
    showScreenshots_ = std::move(showScreenshots);
    for (const auto& collection : {screenshotsCollectionView, beforeAfterCollectionView})
        collection->registerNib("ScreenshotsCell", "cell");
}

void PackageScreenshotsSection::layout(const PackagePageModel& model) {
    ScreenshotsLayout(*this, model).apply();
}

void PackageScreenshotsSection::paletteDidChange(const KSPalette& palette) {
    screenshotsTitle->setTextColor(palette.primaryTextColor());
    beforeAfterTitle->setTextColor(palette.primaryTextColor());
}

uikit::Size PackageScreenshotsSection::screenshotSize(uikit::Size image, double targetHeight,
                                                      bool alone, double pageWidth) {
    if (image.height <= 0)
        return {alone ? pageWidth - 32 : 0, 0};
    // A taller image is scaled down to the strip; a smaller one keeps its own size, never
    // narrowed out of shape.
    const double scale = image.height > targetHeight ? targetHeight / image.height : 1;
    return {alone ? pageWidth - 32 : image.width * scale, image.height * scale};
}

std::shared_ptr<uikit::Image> PackageScreenshotsSection::imageOf(
    uikit::CollectionView& collectionView, int item) const {
    if (&collectionView == beforeAfterCollectionView.get()) {
        const auto& pair = model_->beforeAfterScreenshotsDictionary();
        auto found = pair.find(item == 0 ? "before" : "after");
        return found == pair.end() ? nullptr : found->second;
    }
    const auto& screenshots = model_->screenshotsDictionary();
    auto found = screenshots.find(item + 1);
    return found == screenshots.end() ? nullptr : found->second;
}

int PackageScreenshotsSection::numberOfItemsInSection(uikit::CollectionView& collectionView, int) {
    if (&collectionView == beforeAfterCollectionView.get())
        return static_cast<int>(model_->beforeAfterScreenshotsDictionary().size());
    return static_cast<int>(model_->screenshotsDictionary().size());
}

std::shared_ptr<uikit::CollectionViewCell> PackageScreenshotsSection::cellForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    cell->setBackgroundColor(uikit::Color::clear());
    if (auto screenshot = std::dynamic_pointer_cast<ScreenshotsCell>(cell)) {
        screenshot->screenshotImageView->setImage(imageOf(collectionView, indexPath.item()));
        screenshot->screenshotImageView->setContentMode(uikit::ContentMode::scaleAspectFit);
    }
    return cell;
}

void PackageScreenshotsSection::didSelectItemAtIndexPath(uikit::CollectionView& collectionView,
                                                         const uikit::IndexPath& indexPath) {
    if (&collectionView == screenshotsCollectionView.get()) {
        showScreenshots_();
        return;
    }
    collectionView.layoutIfNeeded();
    collectionView.scrollToItem(uikit::IndexPath::forItem(indexPath.item() == 0 ? 1 : 0, 0),
                                uikit::CollectionViewScrollPosition::centeredHorizontally, false);
}

std::optional<uikit::Size> PackageScreenshotsSection::sizeForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto pageView = pageView_.lock();
    if (!pageView)
        return std::nullopt;
    const double pageWidth = pageView->bounds().width();
    if (&collectionView == beforeAfterCollectionView.get())
        return uikit::Size{pageWidth - 32, 441};
    auto image = imageOf(collectionView, indexPath.item());
    return screenshotSize(image ? image->size() : uikit::Size{},
                          isPad() ? kPadScreenshotHeight : kPhoneScreenshotHeight,
                          model_->screenshotsDictionary().size() == 1, pageWidth);
}

std::optional<double> PackageScreenshotsSection::minimumLineSpacingForSectionAtIndex(
    uikit::CollectionView& collectionView, int) {
    return &collectionView == beforeAfterCollectionView.get() ? 0
                                                              : PackageSectionBuilder::kLineSpacing;
}

}  // namespace corvane
