#include "screens/packages/PackageInformationSection.h"

#include "foundation/ByteCountFormatter.h"
#include "foundation/DateFormatter.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"

namespace corvane {

namespace {

using foundation::localized;
using foundation::Value;
constexpr auto attach = &PackageSectionBuilder::attach;
constexpr auto setActive = &PackageSectionBuilder::setActive;
constexpr auto setHidden = &PackageSectionBuilder::setHidden;
constexpr double kMargin = PackageSectionBuilder::kMargin;
constexpr double kUnderLabel = 30;
constexpr double kUnderSeparator = 20;

// The row's own tops give way to the two pairs the page switches.
void dropTops(uikit::View& view) {
    for (const auto& constraint : view.constraints())
        if (constraint->firstAttribute() == uikit::LayoutAttribute::top)
            constraint->setActive(false);
}

// The entries on lines of their own, in order.
std::string joinedEntries(const Value& entries) {
    std::string joined;
    const auto& list = entries.array();
    for (std::size_t index = 0; index < list.size(); ++index) {
        joined += list[index].stringValue();
        if (index + 1 < list.size())
            joined += "\n";
    }
    return joined;
}

// "iOS 12.0 - 15.0", "iOS 12.0" or "Nothing specified", with the row's caption when it changes.
std::string versionRange(const PackagePageModel& model, std::string* caption) {
    const std::string minimum = model.text("minosversion");
    const std::string maximum = model.text("maxosversion");
    if (!minimum.empty() && !maximum.empty())
        return foundation::format("iOS %@ - %@", minimum, maximum);
    if (!minimum.empty()) {
        *caption = localized("Minimum OS");
        return foundation::format("iOS %@", minimum);
    }
    if (!maximum.empty()) {
        *caption = localized("Maximum OS");
        return foundation::format("iOS %@", maximum);
    }
    return localized("Nothing specified");
}

// A short date; "None" without one or for the first day of 1970.
std::string dateText(const Value& date) {
    auto seconds = date.dateValue();
    if (!seconds)
        return localized("None");
    std::string shown =
        foundation::DateFormatter::shortDate().stringFromDate(seconds->secondsSince1970);
    return shown.empty() || shown == "01/01/1970" ? localized("None") : shown;
}

}  // namespace

void PackageInformationSection::build(PackageSectionBuilder& b,
                                      const uikit::View& reviewsSeparator) {
    buildRows(b, reviewsSeparator);
    buildDate(b);
    buildLinks(b);
    buildBeta(b);
    b.separator(informationsSeparator);
    informationsSeparatorTopConstraint =
        b.on(b.below(*informationsSeparator, isBetaLbl->bottomAnchor(), 20));
    informationsSeparatorTopConstraintToDonateBtn =
        b.on(b.below(*informationsSeparator, donateBtn->bottomAnchor(), 20));
    informationsSeparatorTopConstraintToDeveloperWebsiteBtn =
        b.on(b.below(*informationsSeparator, developerWebsiteBtn->bottomAnchor(), 20));
}

void PackageInformationSection::buildRows(PackageSectionBuilder& b,
                                          const uikit::View& reviewsSeparator) {
    b.title(informationsTitle, "Information");
    b.wide(*informationsTitle);
    b.on(b.below(*informationsTitle, reviewsSeparator.bottomAnchor(), 20));
    b.button(installedFilesBtn, "See Installed Files");
    b.wide(*installedFilesBtn);
    installedFilesBtnTopConstraint =
        b.on(b.below(*installedFilesBtn, informationsTitle->bottomAnchor(), 10));
    b.on(installedFilesBtn->heightAnchor().constraintEqualToConstant(44));
    b.fallback(installedFilesBtn->topAnchor().constraintEqualTo(informationsTitle->bottomAnchor()));

    b.row(developerLbl, developerNameLbl, developerSeparator, "Developer",
          installedFilesBtn->bottomAnchor());
    dropTops(*developerLbl);
    developerLblTopConstraintToInstalledFilesBtn =
        b.on(b.below(*developerLbl, installedFilesBtn->bottomAnchor(), 10));
    developerLblTopConstraintToInformationTitle =
        b.off(b.below(*developerLbl, informationsTitle->bottomAnchor(), 30));
    dropTops(*developerNameLbl);
    developerNameLblTopConstraintToInstalledFilesBtn =
        b.on(b.below(*developerNameLbl, installedFilesBtn->bottomAnchor(), 10));
    developerNameLblTopConstraintToInformationsTitle =
        b.off(b.below(*developerNameLbl, informationsTitle->bottomAnchor(), 30));

    b.row(sizeLbl, packageSizeLbl, sizeSeparator, "Size", developerSeparator->bottomAnchor());
    b.row(compatibilityLbl, packageCompatibilityLbl, compatibilitySeparator, "Compatibility",
          sizeSeparator->bottomAnchor());
    b.row(dependenciesLbl, packageDependenciesLbl, dependenciesSeparator, "Dependencies",
          compatibilitySeparator->bottomAnchor());
    b.row(conflictsLbl, packageConflictsLbl, conflictsSeparator, "Conflicts",
          dependenciesSeparator->bottomAnchor());
    b.row(postInstallActionLbl, packagePostInstallActionLbl, postInstallActionSeparator,
          "Post-Install Action", conflictsSeparator->bottomAnchor());
}

void PackageInformationSection::buildDate(PackageSectionBuilder& b) {
    const auto& afterActions = postInstallActionSeparator->bottomAnchor();
    b.label(dateLbl, "Date", uikit::Font::systemFont(15));
    dateLbl->setTextColor(uikit::Color::systemGray());
    b.leading(*dateLbl, kMargin, PackageSectionBuilder::kCaptionWidth);
    dateLblTopConstraint = b.on(b.below(*dateLbl, afterActions, 12));
    dateLblHeightConstraint = b.on(dateLbl->heightAnchor().constraintEqualToConstant(20));
    b.label(packageDateLbl, "", uikit::Font::systemFont(15));
    packageDateLbl->setTextAlignment(uikit::TextAlignment::right);
    b.on(packageDateLbl->leadingAnchor().constraintEqualTo(dateLbl->trailingAnchor(), 8));
    b.on(
        packageDateLbl->trailingAnchor().constraintEqualTo(b.content().trailingAnchor(), -kMargin));
    packageDateLblTopConstraint = b.on(b.below(*packageDateLbl, afterActions, 12));
    packageDateLblHeightConstraint =
        b.on(packageDateLbl->heightAnchor().constraintEqualToConstant(20));
    b.separator(dateSeparator);
    dateSeparatorHeightConstraint = dateSeparator->constraints().front();
    dateSeparatorTopConstraint = b.on(b.below(*dateSeparator, dateLbl->bottomAnchor(), 12));
    for (uikit::View* view : {static_cast<uikit::View*>(dateLbl.get()),
                              static_cast<uikit::View*>(packageDateLbl.get()), dateSeparator.get()})
        b.folds(*view, afterActions);
}

void PackageInformationSection::buildLinks(PackageSectionBuilder& b) {
    const auto& afterActions = postInstallActionSeparator->bottomAnchor();
    b.button(developerWebsiteBtn, "Developer Website");
    b.wide(*developerWebsiteBtn);
    b.on(developerWebsiteBtn->heightAnchor().constraintEqualToConstant(44));
    developerWebsiteBtnTopConstraint =
        b.on(b.below(*developerWebsiteBtn, dateSeparator->bottomAnchor(), 0));
    developerWebsiteBtnTopConstraintToPostInstallActionSeparator =
        b.on(b.below(*developerWebsiteBtn, afterActions, 0));
    b.add(developerWebsiteImageView);
    b.trailing(*developerWebsiteImageView, 24);
    b.on(developerWebsiteImageView->heightAnchor().constraintEqualToConstant(24));
    developerWebsiteImageViewTopConstraint =
        b.on(b.below(*developerWebsiteImageView, dateSeparator->bottomAnchor(), 10));
    developerWebsiteImageViewTopConstraintToPostInstallActionSeparator =
        b.on(b.below(*developerWebsiteImageView, afterActions, 10));
    b.separator(developerWebsiteSeparator);
    developerWebsiteSeparatorHeightConstraint = developerWebsiteSeparator->constraints().front();
    developerWebSiteSeparatorTopConstraint =
        b.on(b.below(*developerWebsiteSeparator, developerWebsiteBtn->bottomAnchor(), 0));
    b.folds(*developerWebsiteSeparator, developerWebsiteBtn->bottomAnchor());

    b.button(donateBtn, "Donate");
    b.wide(*donateBtn);
    donateBtnTopConstraint =
        b.on(b.below(*donateBtn, developerWebsiteSeparator->bottomAnchor(), 0));
    donateBtnHeightConstraint = b.on(donateBtn->heightAnchor().constraintEqualToConstant(44));
    b.add(donateImageView);
    b.on(donateImageView->trailingAnchor().constraintEqualTo(b.content().trailingAnchor(),
                                                             -kMargin));
    donateImageViewTopConstraint =
        b.on(b.below(*donateImageView, developerWebsiteSeparator->bottomAnchor(), 10));
    donateImageViewWidthConstraint =
        b.on(donateImageView->widthAnchor().constraintEqualToConstant(24));
    donateImageViewHeightConstraint =
        b.on(donateImageView->heightAnchor().constraintEqualToConstant(24));
    b.separator(donateSeparator);
    donateSeparatorHeightConstraint = donateSeparator->constraints().front();
    donateSeparatorTopConstraint = b.on(b.below(*donateSeparator, donateBtn->bottomAnchor(), 0));
    for (uikit::View* view :
         {static_cast<uikit::View*>(donateBtn.get()),
          static_cast<uikit::View*>(donateImageView.get()), donateSeparator.get()})
        b.folds(*view, developerWebsiteSeparator->bottomAnchor());
}

void PackageInformationSection::buildBeta(PackageSectionBuilder& b) {
    b.label(isBetaLbl, "Beta", uikit::Font::systemFont(15));
    isBetaLbl->setTextColor(uikit::Color::systemGray());
    b.leading(*isBetaLbl, kMargin, PackageSectionBuilder::kCaptionWidth);
    isBetaLblTopConstraint = b.on(b.below(*isBetaLbl, donateSeparator->bottomAnchor(), 12));
    b.label(packageIsBetaLbl, "Yes", uikit::Font::systemFont(15));
    b.on(packageIsBetaLbl->trailingAnchor().constraintEqualTo(b.content().trailingAnchor(),
                                                              -kMargin));
    packageIsBetaLblTopConstraint =
        b.on(b.below(*packageIsBetaLbl, donateSeparator->bottomAnchor(), 12));
    packageIsBetaLblHeightConstraint =
        b.on(packageIsBetaLbl->heightAnchor().constraintEqualToConstant(20));
    packageIsbetaLblWidthConstraint =
        b.on(packageIsBetaLbl->widthAnchor().constraintEqualToConstant(60));
    for (uikit::View* view : {static_cast<uikit::View*>(isBetaLbl.get()),
                              static_cast<uikit::View*>(packageIsBetaLbl.get())})
        b.folds(*view, donateSeparator->bottomAnchor());
}

void PackageInformationSection::layout(const PackagePageModel& model) {
    const auto& package = model.packageDictionary();
    layoutInstalledFiles(PackageSnapshot::field(package, "isInstalled").boolValue());
    if (!model.isInfoJson())
        layoutWithoutInfoJson();
    layoutBeta(PackageSnapshot::field(package, "isBeta").boolValue(), model.isInfoJson());
}

void PackageInformationSection::layoutInstalledFiles(bool installed) {
    installedFilesBtn->setHidden(!installed);
    installedFilesBtnTopConstraint->setActive(installed);
    setActive({developerLblTopConstraintToInstalledFilesBtn,
               developerNameLblTopConstraintToInstalledFilesBtn},
              installed);
    if (installed) {
        setActive({developerLblTopConstraintToInformationTitle,
                   developerNameLblTopConstraintToInformationsTitle},
                  false);
    } else {
        attach(developerLblTopConstraintToInformationTitle, kUnderLabel);
        attach(developerNameLblTopConstraintToInformationsTitle, kUnderLabel);
    }
}

void PackageInformationSection::layoutWithoutInfoJson() {
    for (uikit::View* view :
         {static_cast<uikit::View*>(dateLbl.get()), static_cast<uikit::View*>(packageDateLbl.get()),
          dateSeparator.get(), developerWebsiteSeparator.get(),
          static_cast<uikit::View*>(donateBtn.get()),
          static_cast<uikit::View*>(donateImageView.get())})
        view->setHidden(true);
    setActive(
        {dateLblTopConstraint, dateLblHeightConstraint, packageDateLblTopConstraint,
         packageDateLblHeightConstraint, dateSeparatorTopConstraint, dateSeparatorHeightConstraint,
         developerWebsiteBtnTopConstraint, developerWebSiteSeparatorTopConstraint,
         developerWebsiteSeparatorHeightConstraint, donateBtnTopConstraint,
         donateBtnHeightConstraint, donateImageViewTopConstraint, donateImageViewWidthConstraint,
         donateImageViewHeightConstraint, developerWebsiteImageViewTopConstraint},
        false);
    attach(developerWebsiteBtnTopConstraintToPostInstallActionSeparator, 10);
    attach(developerWebsiteImageViewTopConstraintToPostInstallActionSeparator, 10);
}

void PackageInformationSection::layoutBeta(bool beta, bool infoJson) {
    if (beta) {
        informationsSeparatorTopConstraint->setActive(true);
        setActive({informationsSeparatorTopConstraintToDonateBtn,
                   informationsSeparatorTopConstraintToDeveloperWebsiteBtn},
                  false);
        return;
    }
    for (uikit::View* view : {donateSeparator.get(), static_cast<uikit::View*>(isBetaLbl.get()),
                              static_cast<uikit::View*>(packageIsBetaLbl.get())})
        view->setHidden(true);
    setActive(
        {donateSeparatorTopConstraint, donateSeparatorHeightConstraint, isBetaLblTopConstraint,
         packageIsBetaLblTopConstraint, packageIsBetaLblHeightConstraint,
         packageIsbetaLblWidthConstraint, informationsSeparatorTopConstraint},
        false);
    const auto& used = infoJson ? informationsSeparatorTopConstraintToDonateBtn
                                : informationsSeparatorTopConstraintToDeveloperWebsiteBtn;
    const auto& other = infoJson ? informationsSeparatorTopConstraintToDeveloperWebsiteBtn
                                 : informationsSeparatorTopConstraintToDonateBtn;
    other->setActive(false);
    attach(used, kUnderSeparator);
}

void PackageInformationSection::paletteDidChange(const KSPalette& palette) {
    for (const auto& label : {informationsTitle, developerNameLbl, packageSizeLbl,
                              packageCompatibilityLbl, packageDependenciesLbl, packageConflictsLbl,
                              packagePostInstallActionLbl, packageDateLbl, packageIsBetaLbl})
        label->setTextColor(palette.primaryTextColor());
}

void PackageInformationSection::setDeveloper(const std::string& developer) {
    developerNameLbl->setText(developer);
    developerNameLbl->setAdjustsFontSizeToFitWidth(true);
}

void PackageInformationSection::showFacts(const PackagePageModel& model) {
    const auto& package = model.packageDictionary();
    const std::string size = model.text("size");
    packageSizeLbl->setText(size.empty() ? std::string()
                                         : foundation::ByteCountFormatter::stringFromByteCount(
                                               foundation::integerValue(size)));
    std::string caption = localized("Compatibility");
    packageCompatibilityLbl->setText(versionRange(model, &caption));
    compatibilityLbl->setText(caption);
    compatibilityLbl->setAdjustsFontSizeToFitWidth(true);
    packageCompatibilityLbl->setAdjustsFontSizeToFitWidth(true);

    const Value& dependencies = PackageSnapshot::field(package, "dependencies");
    packageDependenciesLbl->setText(dependencies.count() ? joinedEntries(dependencies)
                                                         : localized("No dependencies"));
    const Value& conflicts = PackageSnapshot::field(package, "conflicts");
    packageConflictsLbl->setText(conflicts.count() ? joinedEntries(conflicts)
                                                   : localized("No conflicts"));
    const std::string action = model.text("postinstallaction");
    packagePostInstallActionLbl->setText(action.empty() ? localized("Nothing")
                                                        : foundation::capitalized(action));
    packageDateLbl->setText(dateText(PackageSnapshot::field(package, "date")));
}

}  // namespace corvane
