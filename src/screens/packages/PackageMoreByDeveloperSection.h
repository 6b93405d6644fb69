#pragma once

#include <functional>
#include <memory>
#include <string>

#include "screens/packages/PackageSectionBuilder.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

class PackagePageModel;

// "More by" the developer: two of the author's other packages at most, or the message that
// there are none; then the copyright line that closes the page. Main thread.
class PackageMoreByDeveloperSection : public uikit::TableViewDataSource,
                                      public uikit::TableViewDelegate {
  public:
    static constexpr double kRowHeight = 70;

    void build(PackageSectionBuilder& b, const uikit::View& repositoryIconImageView);
    // The list reads the model and takes the screen's palette; a chosen package is handed on.
    void connect(std::shared_ptr<const PackagePageModel> model,
                 std::weak_ptr<KSPalettedViewController> screen,
                 std::function<void(const std::string&)> showPackage);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);
    void setDeveloper(const std::string& developer, const std::string& identifier);

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;

    std::shared_ptr<uikit::Label> moreDevPackagesTitle;
    std::shared_ptr<uikit::Button> seeAllDevPackagesBtn;
    std::shared_ptr<uikit::TableView> otherDevPackagesTableView;
    std::shared_ptr<uikit::Label> otherDevPackagesLbl;
    std::shared_ptr<uikit::View> devPackagesSeparator;
    std::shared_ptr<uikit::Label> copyrightLbl;

    std::shared_ptr<uikit::LayoutConstraint> seeAllDevPackagesBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> seeAllDevPackagesBtnWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> seeAllDevPackagesBtnHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> otherDevPackagesTableViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> otherDevPackagesTableViewHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> otherDevPackagesLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> devPackagesSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> devPackagesSeparatorTopConstraintToOtherDevPackagesLbl;

  private:
    void buildList(PackageSectionBuilder& b);
    void buildFooter(PackageSectionBuilder& b);

    std::shared_ptr<const PackagePageModel> model_;
    std::weak_ptr<KSPalettedViewController> screen_;
    std::function<void(const std::string&)> showPackage_;
};

}  // namespace corvane
