#pragma once

#include <memory>

#include "ui/extensions/InteractiveHeaderImageView.h"
#include "uikit/Image.h"
#include "uikit/ScrollView.h"

namespace corvane {

// The stretchy header of a scroll view: at most one, found among the scroll view's subviews.
class ScrollViewInteractiveHeader {
  public:
    // Replaces any earlier header with one of the image at the height (the package page
    // passes 200), behind the content, and insets the content below it.
    static std::shared_ptr<InteractiveHeaderImageView> addHeaderWithImage(
        const std::shared_ptr<uikit::ScrollView>& scrollView, std::shared_ptr<uikit::Image> image,
        double height);
    static void removeHeaderView(uikit::ScrollView& scrollView);
    // The alpha fade of the scroll view's header: applied to the header it has and to any
    // header added later, since a page asks for the fade before its banner has arrived.
    static void setUseAlphaFade(const std::shared_ptr<uikit::ScrollView>& scrollView, bool on);
    static bool usesAlphaFade(const uikit::ScrollView& scrollView);
    static std::shared_ptr<InteractiveHeaderImageView> interactiveHeader(
        const uikit::ScrollView& scrollView);
};

}  // namespace corvane
