#include "screens/packages/PackageMoreByDeveloperSection.h"

#include <algorithm>

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/storage/KSDatabase.h"
#include "screens/packages/PackagePageModel.h"
#include "ui/cells/GetPackageCell.h"

namespace corvane {

namespace {

constexpr double kMargin = PackageSectionBuilder::kMargin;

}  // namespace

void PackageMoreByDeveloperSection::build(PackageSectionBuilder& b,
                                          const uikit::View& repositoryIconImageView) {
    auto& content = b.content();
    b.title(moreDevPackagesTitle, "");
    b.on(b.below(*moreDevPackagesTitle, repositoryIconImageView.bottomAnchor(), 30));
    b.on(moreDevPackagesTitle->leadingAnchor().constraintEqualTo(content.leadingAnchor(), kMargin));
    b.on(moreDevPackagesTitle->trailingAnchor().constraintEqualTo(content.trailingAnchor(), -90));
    b.button(seeAllDevPackagesBtn, "See All");
    b.on(seeAllDevPackagesBtn->trailingAnchor().constraintEqualTo(content.trailingAnchor(),
                                                                  -kMargin));
    seeAllDevPackagesBtnTopConstraint = b.on(
        seeAllDevPackagesBtn->topAnchor().constraintEqualTo(moreDevPackagesTitle->topAnchor()));
    seeAllDevPackagesBtnWidthConstraint =
        b.on(seeAllDevPackagesBtn->widthAnchor().constraintEqualToConstant(70));
    seeAllDevPackagesBtnHeightConstraint =
        b.on(seeAllDevPackagesBtn->heightAnchor().constraintEqualToConstant(
            PackageSectionBuilder::kTitleHeight));
    buildList(b);
    buildFooter(b);
}

void PackageMoreByDeveloperSection::buildList(PackageSectionBuilder& b) {
    auto& content = b.content();
    b.add(otherDevPackagesTableView);
    otherDevPackagesTableView->setScrollEnabled(false);
    otherDevPackagesTableView->setRowHeight(GetPackageCell::kRowHeight);
    b.on(otherDevPackagesTableView->leadingAnchor().constraintEqualTo(content.leadingAnchor()));
    b.on(otherDevPackagesTableView->trailingAnchor().constraintEqualTo(content.trailingAnchor()));
    otherDevPackagesTableViewTopConstraint =
        b.on(b.below(*otherDevPackagesTableView, moreDevPackagesTitle->bottomAnchor(), 10));
    otherDevPackagesTableViewHeightConstraint =
        b.on(otherDevPackagesTableView->heightAnchor().constraintEqualToConstant(140));
    b.folds(*otherDevPackagesTableView, moreDevPackagesTitle->bottomAnchor());
    b.label(otherDevPackagesLbl, "No other packages by this developer", uikit::Font::systemFont(15),
            0);
    otherDevPackagesLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*otherDevPackagesLbl);
    otherDevPackagesLblTopConstraint =
        b.on(b.below(*otherDevPackagesLbl, moreDevPackagesTitle->bottomAnchor(), 10));
    b.folds(*otherDevPackagesLbl, moreDevPackagesTitle->bottomAnchor());
    b.separator(devPackagesSeparator);
    devPackagesSeparatorTopConstraint =
        b.on(b.below(*devPackagesSeparator, otherDevPackagesTableView->bottomAnchor(), 20));
    devPackagesSeparatorTopConstraintToOtherDevPackagesLbl =
        b.off(b.below(*devPackagesSeparator, otherDevPackagesLbl->bottomAnchor(), 20));
}

void PackageMoreByDeveloperSection::buildFooter(PackageSectionBuilder& b) {
    b.label(copyrightLbl, "", uikit::Font::systemFont(12), 0);
    copyrightLbl->setTextColor(uikit::Color::systemGray());
    copyrightLbl->setTextAlignment(uikit::TextAlignment::center);
    b.wide(*copyrightLbl);
    b.on(b.below(*copyrightLbl, devPackagesSeparator->bottomAnchor(), 20));
    b.on(copyrightLbl->bottomAnchor().constraintEqualTo(b.content().bottomAnchor(), -30));
}

void PackageMoreByDeveloperSection::connect(std::shared_ptr<const PackagePageModel> model,
                                            std::weak_ptr<KSPalettedViewController> screen,
                                            std::function<void(const std::string&)> showPackage) {
    model_ = std::move(model);
    screen_ = std::move(screen);
    showPackage_ = std::move(showPackage);
    otherDevPackagesTableView->registerNib(GetPackageCell::kNibName, "getPackageCell");
}

void PackageMoreByDeveloperSection::layout(const PackagePageModel& model) {
    const std::size_t count = model.devPackages().size();
    const bool any = count > 0;
    otherDevPackagesLbl->setHidden(any);
    otherDevPackagesLblTopConstraint->setActive(!any);
    seeAllDevPackagesBtn->setHidden(!any);
    for (const auto& constraint :
         {seeAllDevPackagesBtnTopConstraint, seeAllDevPackagesBtnWidthConstraint,
          seeAllDevPackagesBtnHeightConstraint, otherDevPackagesTableViewTopConstraint,
          otherDevPackagesTableViewHeightConstraint, devPackagesSeparatorTopConstraint})
        constraint->setActive(any);
    otherDevPackagesTableView->setHidden(!any);
    if (any) {
        otherDevPackagesTableViewHeightConstraint->setConstant(count == 1 ? kRowHeight
                                                                          : 2 * kRowHeight);
        otherDevPackagesTableView->setBackgroundColor(uikit::Color::clear());
        otherDevPackagesTableView->setSeparatorColor(uikit::Color::clear());
        devPackagesSeparatorTopConstraintToOtherDevPackagesLbl->setActive(false);
    } else {
        devPackagesSeparatorTopConstraintToOtherDevPackagesLbl->setConstant(20);
        devPackagesSeparatorTopConstraintToOtherDevPackagesLbl->setActive(true);
    }
}

void PackageMoreByDeveloperSection::paletteDidChange(const KSPalette& palette) {
    moreDevPackagesTitle->setTextColor(palette.primaryTextColor());
    otherDevPackagesTableView->reloadData();
}

void PackageMoreByDeveloperSection::setDeveloper(const std::string& developer,
                                                 const std::string& identifier) {
    moreDevPackagesTitle->setText(
        foundation::format(foundation::localized("More by %@"), developer));
    copyrightLbl->setText(foundation::format("\u00A9 %@ \n%@", developer, identifier));
}

int PackageMoreByDeveloperSection::numberOfRowsInSection(uikit::TableView&, int) {
    return static_cast<int>(std::min<std::size_t>(model_->devPackages().size(), 2));
}

std::shared_ptr<uikit::TableViewCell> PackageMoreByDeveloperSection::cellForRowAtIndexPath(
    uikit::TableView& tableView, const uikit::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCell("getPackageCell", indexPath);
    auto row = std::dynamic_pointer_cast<GetPackageCell>(cell);
    const auto identifier = model_->devPackages().at(static_cast<std::size_t>(indexPath.row));
    auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    auto screen = screen_.lock();
    if (!row || !package || !screen)
        return cell;
    row->setBackgroundColor(uikit::Color::clear());
    row->setPackageIdentifier(identifier);
    row->updateWithPackage(*package);
    row->updateButtonTitleWithPackage(package, false);
    if (const auto& palette = screen->palette()) {
        const bool dark = screen->isDarkMode();
        row->nameLbl->setTextColor(package->isFree() ? palette->primaryTextColor()
                                                     : palette->paidTextColor());
        row->getBtn->setBackgroundColor(dark ? palette->getButtonBackgoundColor()
                                             : palette->tintColor());
        row->getBtn->setTitleColor(dark ? palette->getButtonTextColor() : uikit::Color::white());
    }
    row->updatePackageIcon();
    row->separator->setHidden(indexPath.row + 1 == numberOfRowsInSection(tableView, 0));
    return cell;
}

std::optional<double> PackageMoreByDeveloperSection::heightForRowAtIndexPath(
    uikit::TableView&, const uikit::IndexPath&) {
    return kRowHeight;
}

void PackageMoreByDeveloperSection::didSelectRowAtIndexPath(uikit::TableView& tableView,
                                                            const uikit::IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    showPackage_(model_->devPackages().at(static_cast<std::size_t>(indexPath.row)));
}

}  // namespace corvane
