#pragma once

#include <memory>

#include "screens/packages/PackageSectionBuilder.h"
#include "ui/palette/KSPalette.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TextView.h"

namespace corvane {

class PackagePageModel;

// "What's New": the changelog a depiction brought, under the header. It shows only when there
// is one to read. Main thread.
class PackageChangelogSection {
  public:
    void build(PackageSectionBuilder& b, const uikit::View& topSeparator);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);
    // The depiction's changelog, when it has one, under the package's version.
    void show(const PackagePageModel& model, bool darkMode);

    std::shared_ptr<uikit::Label> changelogTitle;
    std::shared_ptr<uikit::Label> changelogVersionLbl;
    std::shared_ptr<uikit::TextView> changelogContentLbl;
    std::shared_ptr<uikit::View> changelogSeparator;

    std::shared_ptr<uikit::LayoutConstraint> changelogTitleTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> changelogTitleHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> changelogVersionLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> changelogContentLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> changelogSeparatorTopConstraint;
};

}  // namespace corvane
