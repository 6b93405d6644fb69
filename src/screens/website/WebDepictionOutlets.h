#pragma once

#include <memory>

#include "screens/packages/PackageDetailsContentView.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/ProgressView.h"
#include "uikit/ScrollView.h"
#include "uikit/View.h"

namespace corvane {

// The views and constraints of the web depiction page, set by its nib. The page switches the
// button constraints by screen size, so it holds them: a constraint switched off is dropped by
// its view and must still be there to be switched on again.
struct WebDepictionOutlets {
    std::shared_ptr<uikit::ProgressView> progressView;
    std::shared_ptr<uikit::ScrollView> scrollView;
    // Grows with what it holds, so the header and the page scroll as one.
    std::shared_ptr<PackageDetailsContentView> containerView;
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::LayoutConstraint> iconViewWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> iconViewHeightConstraint;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> maintainerLbl;
    std::shared_ptr<uikit::Button> getBtn;
    std::shared_ptr<uikit::LayoutConstraint> getBtnWidthConstraint;
    std::shared_ptr<uikit::LayoutConstraint> getBtnTopConstraintToIconView;
    std::shared_ptr<uikit::LayoutConstraint> getBtnTopConstraintToMaintainerLbl;
    std::shared_ptr<uikit::Button> shareBtn;
    std::shared_ptr<uikit::LayoutConstraint> shareBtnTopConstraintToIconView;
    std::shared_ptr<uikit::LayoutConstraint> shareBtnTopConstraintToMaintainerLbl;
    std::shared_ptr<uikit::Label> sizeLbl;
    std::shared_ptr<uikit::Label> versionLbl;
    std::shared_ptr<uikit::Label> categoryLbl;
    std::shared_ptr<uikit::Label> packageSizeLbl;
    std::shared_ptr<uikit::Label> packageVersionLbl;
    std::shared_ptr<uikit::Label> packageCategoryLbl;
    // Stands where the page will be until the web view is built.
    std::shared_ptr<uikit::View> placeholderView;
    std::shared_ptr<uikit::View> webViewContainer;
    std::shared_ptr<uikit::LayoutConstraint> webViewContainerHeightConstraint;
    // Says why the page could not be loaded; hidden otherwise.
    std::shared_ptr<uikit::Label> errorLbl;
};

}  // namespace corvane
