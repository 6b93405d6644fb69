#include "screens/packages/PackageDetailsNib.h"

#include "screens/packages/PackageDetailsContentView.h"
#include "screens/packages/PackageSectionBuilder.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"
#include "uikit/ViewController.h"

namespace corvane {

namespace {

void buildSections(PackageDetailsViews& v, uikit::View& content) {
    PackageSectionBuilder builder(content);
    auto& header = v.header();
    header.build(builder);
    v.changelog().build(builder, *header.topSeparator);
    v.bannerVideo().build(builder, *header.topSeparator, *v.changelog().changelogSeparator);
    v.screenshots().build(builder, {*v.bannerVideo().videoPreviewSeparator,
                                    *v.changelog().changelogSeparator, *header.topSeparator});
    v.description().build(builder, *v.screenshots().screenshotsSeparator);
    v.reviews().build(builder, *v.description().authorSeparator);
    v.information().build(builder, *v.reviews().reviewsSeparator);
    v.repository().build(builder, *v.information().informationsSeparator);
    v.moreByDeveloper().build(builder, *v.repository().repositoryIconImageView);
}

}  // namespace

std::shared_ptr<uikit::View> PackageDetailsNib::build(PackageDetailsViews& views) {
    const uikit::Rect bounds = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(bounds);
    root->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                              uikit::Autoresizing::flexibleHeight);
    views.backgroundView = std::make_shared<uikit::View>(bounds);
    views.backgroundView->setAutoresizingMask(root->autoresizingMask());
    root->addSubview(views.backgroundView);
    views.scrollView = std::make_shared<uikit::ScrollView>(bounds);
    views.scrollView->setAutoresizingMask(root->autoresizingMask());
    views.scrollView->setAlwaysBounceVertical(true);
    root->addSubview(views.scrollView);
    auto content = std::make_shared<PackageDetailsContentView>(
        uikit::Rect{0, 0, bounds.width(), bounds.height()});
    content->setAutoresizingMask(uikit::Autoresizing::flexibleWidth);
    views.contentView = content;
    views.scrollView->addSubview(content);
    views.secondBackgroundView = std::make_shared<uikit::View>(content->bounds());
    views.secondBackgroundView->setAutoresizingMask(root->autoresizingMask());
    content->addSubview(views.secondBackgroundView);
    buildSections(views, *content);
    return root;
}

void PackageDetailsNib::registerNib() {
    ScreenshotsCell::registerNib();
    DeveloperCell::registerNib();
    ReviewsCell::registerNib();
    GetPackageCell::registerNib();
    uikit::NibRegistry::shared().registerNib(
        kNibName,
        [](const std::shared_ptr<uikit::ViewController>& owner) -> std::shared_ptr<uikit::View> {
            auto* views = dynamic_cast<PackageDetailsViews*>(owner.get());
            return views ? build(*views) : nullptr;
        });
}

}  // namespace corvane
