#pragma once

#include <memory>
#include <string>

#include "foundation/Value.h"
#include "screens/packages/PackageSectionBuilder.h"
#include "ui/palette/KSPalette.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"

namespace corvane {

class PackagePageModel;

// "Information": the installed files, rows of the package's facts (developer, size,
// compatibility, dependencies, conflicts, post-install action, date), the developer's website
// and donation links, and the beta mark. Main thread.
class PackageInformationSection {
  public:
    void build(PackageSectionBuilder& b, const uikit::View& reviewsSeparator);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);
    void setDeveloper(const std::string& developer);
    // Every row but the developer's, each with its fallback when the package says nothing.
    void showFacts(const PackagePageModel& model);

    std::shared_ptr<uikit::Label> informationsTitle;
    std::shared_ptr<uikit::Button> installedFilesBtn;
    std::shared_ptr<uikit::Label> developerLbl;
    std::shared_ptr<uikit::Label> developerNameLbl;
    std::shared_ptr<uikit::View> developerSeparator;
    std::shared_ptr<uikit::Label> sizeLbl;
    std::shared_ptr<uikit::Label> packageSizeLbl;
    std::shared_ptr<uikit::View> sizeSeparator;
    std::shared_ptr<uikit::Label> compatibilityLbl;
    std::shared_ptr<uikit::Label> packageCompatibilityLbl;
    std::shared_ptr<uikit::View> compatibilitySeparator;
    std::shared_ptr<uikit::Label> dependenciesLbl;
    std::shared_ptr<uikit::Label> packageDependenciesLbl;
    std::shared_ptr<uikit::View> dependenciesSeparator;
    std::shared_ptr<uikit::Label> conflictsLbl;
    std::shared_ptr<uikit::Label> packageConflictsLbl;
    std::shared_ptr<uikit::View> conflictsSeparator;
    std::shared_ptr<uikit::Label> postInstallActionLbl;
    std::shared_ptr<uikit::Label> packagePostInstallActionLbl;
    std::shared_ptr<uikit::View> postInstallActionSeparator;
    std::shared_ptr<uikit::Label> dateLbl;
    std::shared_ptr<uikit::Label> packageDateLbl;
    std::shared_ptr<uikit::View> dateSeparator;
    std::shared_ptr<uikit::Button> developerWebsiteBtn;
    std::shared_ptr<uikit::ImageView> developerWebsiteImageView;
    std::shared_ptr<uikit::View> developerWebsiteSeparator;
    std::shared_ptr<uikit::Button> donateBtn;
    std::shared_ptr<uikit::ImageView> donateImageView;
    std::shared_ptr<uikit::View> donateSeparator;
    std::shared_ptr<uikit::Label> isBetaLbl;
    std::shared_ptr<uikit::Label> packageIsBetaLbl;
    std::shared_ptr<uikit::View> informationsSeparator;

    std::shared_ptr<uikit::LayoutConstraint> installedFilesBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> developerLblTopConstraintToInformationTitle;
    std::shared_ptr<uikit::LayoutConstraint> developerLblTopConstraintToInstalledFilesBtn;
    std::shared_ptr<uikit::LayoutConstraint> developerNameLblTopConstraintToInformationsTitle;
    std::shared_ptr<uikit::LayoutConstraint> developerNameLblTopConstraintToInstalledFilesBtn;
    std::shared_ptr<uikit::LayoutConstraint> dateLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> dateLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageDateLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageDateLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> dateSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> dateSeparatorHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> developerWebsiteBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint>
        developerWebsiteBtnTopConstraintToPostInstallActionSeparator;
    std::shared_ptr<uikit::LayoutConstraint> developerWebsiteImageViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint>
        developerWebsiteImageViewTopConstraintToPostInstallActionSeparator;
    std::shared_ptr<uikit::LayoutConstraint> developerWebSiteSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> developerWebsiteSeparatorHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateBtnHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateImageViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateImageViewWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateImageViewHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> donateSeparatorHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> isBetaLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageIsBetaLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageIsBetaLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageIsbetaLblWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> informationsSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> informationsSeparatorTopConstraintToDonateBtn;
    std::shared_ptr<uikit::LayoutConstraint>
        informationsSeparatorTopConstraintToDeveloperWebsiteBtn;

  private:
    void buildRows(PackageSectionBuilder& b, const uikit::View& reviewsSeparator);
    void buildDate(PackageSectionBuilder& b);
    void buildLinks(PackageSectionBuilder& b);
    void buildBeta(PackageSectionBuilder& b);
    void layoutInstalledFiles(bool installed);
    // A source without info JSON dates nothing and takes no donations.
    void layoutWithoutInfoJson();
    void layoutBeta(bool beta, bool infoJson);
};

}  // namespace corvane
