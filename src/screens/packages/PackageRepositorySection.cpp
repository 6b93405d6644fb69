#include "screens/packages/PackageRepositorySection.h"

#include "foundation/Localization.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

using foundation::localized;

void PackageRepositorySection::build(PackageSectionBuilder& b,
                                     const uikit::View& informationsSeparator) {
    auto& content = b.content();
    b.title(repositoryTitle, "Repository");
    b.wide(*repositoryTitle);
    b.on(b.below(*repositoryTitle, informationsSeparator.bottomAnchor(), 20));
    b.add(repositoryIconImageView);
    b.leading(*repositoryIconImageView, PackageSectionBuilder::kMargin, 60);
    b.on(repositoryIconImageView->heightAnchor().constraintEqualToConstant(60));
    b.on(b.below(*repositoryIconImageView, repositoryTitle->bottomAnchor(), 10));
    b.label(repositoryNameLbl, "", uikit::Font::systemFont(17, uikit::FontWeight::semibold));
    b.label(repositoryDescriptionLbl, "", uikit::Font::systemFont(13), 2);
    repositoryDescriptionLbl->setTextColor(uikit::Color::systemGray());
    for (auto* label : {&repositoryNameLbl, &repositoryDescriptionLbl}) {
        b.on((*label)->leadingAnchor().constraintEqualTo(repositoryIconImageView->trailingAnchor(),
                                                         12));
        b.on((*label)->trailingAnchor().constraintEqualTo(content.trailingAnchor(),
                                                          -PackageSectionBuilder::kMargin));
    }
    b.on(repositoryNameLbl->topAnchor().constraintEqualTo(repositoryIconImageView->topAnchor(), 6));
    b.on(b.below(*repositoryDescriptionLbl, repositoryNameLbl->bottomAnchor(), 2));
}

void PackageRepositorySection::layout() {
    repositoryIconImageView->setClipsToBounds(true);
    repositoryIconImageView->layer().setCornerRadius(0.2237 *
                                                     repositoryIconImageView->frame().height());
}

void PackageRepositorySection::paletteDidChange(const KSPalette& palette) {
    repositoryTitle->setTextColor(palette.primaryTextColor());
    repositoryNameLbl->setTextColor(palette.primaryTextColor());
}

void PackageRepositorySection::showSource(const PackagePageModel& model) {
    const std::string location = model.text("sourceLocation");
    auto placeholder = uikit::Image::named("iTunesArtwork.png");
    if (model.sourceFound()) {
        auto icon = KSRPackageManager::sharedPackageManager().sources().iconForLocation(location);
        repositoryIconImageView->setImage(icon ? icon : placeholder);
        repositoryNameLbl->setText(PackageSnapshot::text(model.sourceDictionary(), "name"));
        repositoryDescriptionLbl->setText(
            PackageSnapshot::text(model.sourceDictionary(), "Description"));
        return;
    }
    repositoryIconImageView->setImage(placeholder);
    if (location == kDPKGLocation) {
        repositoryNameLbl->setText("DPKG");
        repositoryDescriptionLbl->setText(
            localized("This package has been installed through another package manager"));
    } else {
        repositoryNameLbl->setText(localized("Removed Source"));
        repositoryDescriptionLbl->setText(localized("The source of this package has been removed"));
    }
}

}  // namespace corvane
