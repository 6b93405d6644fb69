#pragma once

#include <functional>
#include <memory>

#include "screens/packages/PackageSectionBuilder.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/CollectionView.h"
#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/TextView.h"
#include "webkit/LegacyWebView.h"

namespace corvane {

class PackagePageModel;

// The description, the advertising slot that packages of the BigBoss repository carry, and the
// author strip under them. Main thread.
class PackageDescriptionSection : public uikit::CollectionViewDataSource,
                                  public uikit::CollectionViewDelegate {
  public:
    static constexpr double kAuthorHeight = 80;

    void build(PackageSectionBuilder& b, const uikit::View& screenshotsSeparator);
    // The author strip reads the model and takes the screen's palette; a tap on the author is
    // handed on.
    void connect(std::shared_ptr<const PackagePageModel> model,
                 std::weak_ptr<KSPalettedViewController> screen, std::function<void()> showAuthor);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);
    // The stored description: Markdown from an info-JSON source, else plain text with the
    // advertisement of the BigBoss repository.
    void showStoredDescription(const PackagePageModel& model, bool darkMode);
    // The description a depiction brought, in Markdown.
    void showDescription(const std::string& markdown, bool darkMode);

    int numberOfItemsInSection(uikit::CollectionView& collectionView, int section) override;
    std::shared_ptr<uikit::CollectionViewCell> cellForItemAtIndexPath(
        uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) override;
    void didSelectItemAtIndexPath(uikit::CollectionView& collectionView,
                                  const uikit::IndexPath& indexPath) override;
    std::optional<uikit::Size> sizeForItemAtIndexPath(uikit::CollectionView& collectionView,
                                                      const uikit::IndexPath& indexPath) override;
    std::optional<double> minimumLineSpacingForSectionAtIndex(uikit::CollectionView& collectionView,
                                                              int section) override;

    std::shared_ptr<uikit::Label> descriptionTitle;
    std::shared_ptr<uikit::TextView> descriptionLbl;
    std::shared_ptr<webkit::LegacyWebView> adsWebView;
    std::shared_ptr<uikit::CollectionView> authorCollectionView;
    std::shared_ptr<uikit::View> authorSeparator;

    std::shared_ptr<uikit::LayoutConstraint> authorCollectionViewTopConstraintToAdsWebView;
    std::shared_ptr<uikit::LayoutConstraint> authorCollectionViewTopConstraintToDescriptionLbl;

  private:
    std::shared_ptr<const PackagePageModel> model_;
    std::weak_ptr<KSPalettedViewController> screen_;
    std::function<void()> showAuthor_;
};

}  // namespace corvane
