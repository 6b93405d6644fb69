#include "ui/extensions/NavigationBarInteractiveHeader.h"

#include "ui/extensions/ColorExtensions.h"
#include "ui/extensions/ImageExtensions.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"

namespace corvane {

using uikit::Color;

NavigationBarInteractiveHeader::NavigationBarInteractiveHeader(
    std::shared_ptr<uikit::NavigationBar> bar)
    : bar_(std::move(bar)) {}

void NavigationBarInteractiveHeader::setScrollView(
    const std::shared_ptr<uikit::ScrollView>& scrollView) {
    contentOffsetObservation_.reset();
    scrollView_ = scrollView;
    auto bar = bar_.lock();
    if (!bar || !scrollView)
        return;
    bar->setTranslucent(true);
    bar->setShadowImage(uikit::Image::empty());
    bar->setBarStyle(uikit::BarStyle::defaultStyle);
    bar->setTintColor(Color::white());
    uikit::TextAttributes titleAttributes;
    titleAttributes.foregroundColor = Color::white();
    bar->setTitleTextAttributes(titleAttributes);
    // The token ends the observation before this object goes, so `this` stays valid.
    contentOffsetObservation_ =
        scrollView->observeContentOffset([this](const uikit::Point&) { scrollViewDidScroll(); });
}

void NavigationBarInteractiveHeader::scrollViewDidScroll() {
    auto scrollView = scrollView_.lock();
    if (!scrollView)
        return;
    double progress = 0;
    if (auto header = ScrollViewInteractiveHeader::interactiveHeader(*scrollView)) {
        // The header learns of the offset by laying out later; the bar needs it now.
        header->setNeedsLayout();
        header->layoutIfNeeded();
        progress = header->revealProgress();
    }
    updateAlpha(kAlphaOffset - progress);
}

void NavigationBarInteractiveHeader::updateAlpha(double alpha) {
    auto bar = bar_.lock();
    if (!bar)
        return;
    bar->setTintColor(
        lerpToColor(Color::white(), scrollTintColor_.value_or(Color::white()), alpha));
    if (alpha <= 0)
        bar->setBackgroundImage(uikit::Image::empty());
    else if (alpha < 1)
        bar->setBackgroundImage(
            imageWithColor(scrollColor_.value_or(Color::white()).withAlpha(alpha)));
    else
        bar->setBackgroundImage(nullptr);
}

void NavigationBarInteractiveHeader::resetAppearance() {
    contentOffsetObservation_.reset();
    scrollView_.reset();
    auto bar = bar_.lock();
    if (!bar)
        return;
    bar->setTintColor(std::nullopt);
    bar->setShadowImage(nullptr);
    bar->setBarTintColor(std::nullopt);
    bar->setTitleTextAttributes({});
    bar->setBackgroundImage(nullptr);
}

}  // namespace corvane
