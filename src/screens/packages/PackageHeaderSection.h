#pragma once

#include <array>
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

// The top of the package page: icon, name, author, the Get and share buttons, the user's own
// stars, version and category. It sizes itself for the screen and for what the source
// publishes, and fades out when the page scrolls it away. Main thread.
class PackageHeaderSection {
  public:
    static constexpr double kGetButtonHeight = 30;

    void build(PackageSectionBuilder& b);
    // Sizes the header for the screen's height and the source.
    void layout(bool infoJson);
    void paletteDidChange(const KSPalette& palette);

    // Icon, name and the badge of the maker's own repository.
    void showPackage(const PackagePageModel& model);
    // The stored rating: stars up to it, or a 0 label that leaves the stars as they are.
    void showStoredRating(const foundation::Value& rating);
    void showVersionAndCategory(const PackagePageModel& model);
    void setAuthor(const std::string& developer);
    // A depiction's name for the package.
    void setName(const std::string& name);
    // The five stars filled up to the rating (0 empties them), and the label that says it.
    void showOwnRating(int rating);
    void setGetTitle(const std::string& title, bool enabled);
    void setGetAlphaAndWidth(double alpha, double width);
    // The header's views fade as one; a refused Get button stays dimmed by its own alpha.
    void setContentAlpha(double alpha, double getAlpha);
    // The header already shows at that alpha.
    bool showsAlpha(double alpha, double getAlpha) const;
    std::array<std::shared_ptr<uikit::Button>, 5> stars() const {
        return {rating1, rating2, rating3, rating4, rating5};
    }

    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> authorLbl;
    std::shared_ptr<uikit::ImageView> verifiedIconView;
    std::shared_ptr<uikit::Button> getBtn;
    std::shared_ptr<uikit::Button> shareBtn;
    std::shared_ptr<uikit::Button> rating1;
    std::shared_ptr<uikit::Button> rating2;
    std::shared_ptr<uikit::Button> rating3;
    std::shared_ptr<uikit::Button> rating4;
    std::shared_ptr<uikit::Button> rating5;
    std::shared_ptr<uikit::Label> ratingLbl;
    std::shared_ptr<uikit::Label> versionLbl;
    std::shared_ptr<uikit::Label> packageVersionLbl;
    std::shared_ptr<uikit::Label> categoryLbl;
    std::shared_ptr<uikit::Label> packageCategoryLbl;
    std::shared_ptr<uikit::View> topSeparator;

    std::shared_ptr<uikit::LayoutConstraint> iconViewWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> iconViewHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> getBtnTopConstraintToIconView;
    std::shared_ptr<uikit::LayoutConstraint> getBtnTopConstraintToAuthorLbl;
    std::shared_ptr<uikit::LayoutConstraint> shareBtnTopConstraintToIconView;
    std::shared_ptr<uikit::LayoutConstraint> shareBtnTopConstraintToAuthorLbl;
    std::shared_ptr<uikit::LayoutConstraint> getBtnWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating1WidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating2WidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating3WidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating4WidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating5WidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating1HeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating2HeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating3HeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating4HeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> rating5HeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> ratingLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> versionLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageVersionLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> categoryLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageCategoryLblHeightConstraint;

  private:
    void buildIdentity(PackageSectionBuilder& b);
    void buildButtons(PackageSectionBuilder& b);
    void buildStars(PackageSectionBuilder& b);
    void buildVersionRows(PackageSectionBuilder& b);
    void fillStars(int rating);
    void showRatingLabel(const std::string& rating);
};

}  // namespace corvane
