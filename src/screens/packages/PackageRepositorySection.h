#pragma once

#include <memory>

#include "screens/packages/PackageSectionBuilder.h"
#include "ui/palette/KSPalette.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"

namespace corvane {

class PackagePageModel;

// "Repository": where the package comes from, or what became of its source. Main thread.
class PackageRepositorySection {
  public:
    static constexpr const char* kDPKGLocation = "DPKG";

    void build(PackageSectionBuilder& b, const uikit::View& informationsSeparator);
    void layout();
    void paletteDidChange(const KSPalette& palette);
    void showSource(const PackagePageModel& model);

    std::shared_ptr<uikit::Label> repositoryTitle;
    std::shared_ptr<uikit::ImageView> repositoryIconImageView;
    std::shared_ptr<uikit::Label> repositoryNameLbl;
    std::shared_ptr<uikit::Label> repositoryDescriptionLbl;
};

}  // namespace corvane
