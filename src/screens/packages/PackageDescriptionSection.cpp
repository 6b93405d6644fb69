#include "screens/packages/PackageDescriptionSection.h"

#include "foundation/Strings.h"
#include "framework/packagemanager/KSKnownRepositories.h"
#include "screens/packages/PackageAdvertisement.h"
#include "screens/packages/PackagePageModel.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/extensions/MarkdownAttributedText.h"
#include "uikit/Screen.h"
#include "uikit/Window.h"

namespace corvane {

namespace {

bool isBigBoss(const PackagePageModel& model) {
    return model.text("sourceLocation") == KSKnownRepositories::kBigBossLocation;
}

}  // namespace

void PackageDescriptionSection::build(PackageSectionBuilder& b,
                                      const uikit::View& screenshotsSeparator) {
    b.title(descriptionTitle, "Description");
    b.wide(*descriptionTitle);
    b.on(b.below(*descriptionTitle, screenshotsSeparator.bottomAnchor(), 20));
    b.add(descriptionLbl);
    descriptionLbl->setScrollEnabled(false);
    descriptionLbl->setEditable(false);
    descriptionLbl->setFont(uikit::Font::systemFont(15));
    b.wide(*descriptionLbl);
    b.on(b.below(*descriptionLbl, descriptionTitle->bottomAnchor(), 10));
    b.add(adsWebView);
    b.on(b.below(*adsWebView, descriptionLbl->bottomAnchor(), 10));
    b.on(adsWebView->centerXAnchor().constraintEqualTo(b.content().centerXAnchor()));
    b.on(adsWebView->widthAnchor().constraintEqualToConstant(300));
    b.on(adsWebView->heightAnchor().constraintEqualToConstant(250));
    b.collection(authorCollectionView);
    b.wide(*authorCollectionView);
    b.on(authorCollectionView->heightAnchor().constraintEqualToConstant(kAuthorHeight));
    authorCollectionViewTopConstraintToAdsWebView =
        b.off(b.below(*authorCollectionView, adsWebView->bottomAnchor(), 20));
    authorCollectionViewTopConstraintToDescriptionLbl =
        b.on(b.below(*authorCollectionView, descriptionLbl->bottomAnchor(), 30));
    b.separator(authorSeparator);
    b.on(b.below(*authorSeparator, authorCollectionView->bottomAnchor(), 20));
}

void PackageDescriptionSection::connect(std::shared_ptr<const PackagePageModel> model,
                                        std::weak_ptr<KSPalettedViewController> screen,
                                        std::function<void()> showAuthor) {
    model_ = std::move(model);
    screen_ = std::move(screen);
    showAuthor_ = std::move(showAuthor);
    authorCollectionView->registerNib("DeveloperCell", "cell");
}

void PackageDescriptionSection::layout(const PackagePageModel& model) {
    const bool bigBoss = isBigBoss(model);
    adsWebView->setHidden(!bigBoss);
    authorCollectionViewTopConstraintToAdsWebView->setActive(bigBoss);
    if (!bigBoss)
        authorCollectionViewTopConstraintToDescriptionLbl->setConstant(30);
    authorCollectionViewTopConstraintToDescriptionLbl->setActive(!bigBoss);
}

void PackageDescriptionSection::paletteDidChange(const KSPalette& palette) {
    descriptionTitle->setTextColor(palette.primaryTextColor());
    descriptionLbl->setTextColor(palette.primaryTextColor());
}

void PackageDescriptionSection::showStoredDescription(const PackagePageModel& model,
                                                      bool darkMode) {
    if (model.isInfoJson()) {
        showDescription(foundation::replace(model.text("Description"), "/n", "  "), darkMode);
        return;
    }
    descriptionLbl->setText(model.text("Description"));
    if (isBigBoss(model))
        PackageAdvertisement::load(*adsWebView, model.text("name"));
}

void PackageDescriptionSection::showDescription(const std::string& markdown, bool darkMode) {
    descriptionLbl->setAttributedText(
        MarkdownAttributedText::attributedTextFromMarkdown(foundation::Value(markdown), darkMode));
}

int PackageDescriptionSection::numberOfItemsInSection(uikit::CollectionView&, int) {
    return 1;
}

std::shared_ptr<uikit::CollectionViewCell> PackageDescriptionSection::cellForItemAtIndexPath(
    uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) {
    auto cell = collectionView.dequeueReusableCell("cell", indexPath);
    cell->setBackgroundColor(uikit::Color::clear());
    auto author = std::dynamic_pointer_cast<DeveloperCell>(cell);
    if (!author)
        return cell;
    author->developerIconView->setImage(model_->authorAvatar());
    author->developerIconView->setClipsToBounds(true);
    author->developerIconView->layer().setCornerRadius(author->developerIconView->frame().height() *
                                                       0.2237);
    author->developerNameLbl->setText(model_->developerName());
    auto screen = screen_.lock();
    if (screen && screen->palette())
        author->developerNameLbl->setTextColor(screen->palette()->primaryTextColor());
    return cell;
}

void PackageDescriptionSection::didSelectItemAtIndexPath(uikit::CollectionView&,
                                                         const uikit::IndexPath&) {
    showAuthor_();
}

std::optional<uikit::Size> PackageDescriptionSection::sizeForItemAtIndexPath(
    uikit::CollectionView&, const uikit::IndexPath&) {
    auto screen = screen_.lock();
    if (!screen)
        return std::nullopt;
    auto window = screen->view()->window();
    return uikit::Size{window ? window->bounds().width() : uikit::Screen::main().bounds().width(),
                       kAuthorHeight};
}

std::optional<double> PackageDescriptionSection::minimumLineSpacingForSectionAtIndex(
    uikit::CollectionView&, int) {
    return PackageSectionBuilder::kLineSpacing;
}

}  // namespace corvane
