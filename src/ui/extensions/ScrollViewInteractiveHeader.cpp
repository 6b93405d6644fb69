#include "ui/extensions/ScrollViewInteractiveHeader.h"

#include <vector>

#include "uikit/Device.h"

namespace corvane {

namespace {

// The scroll views whose headers fade; main thread. Entries of scroll views that went are
// dropped whenever the list is used.
std::vector<std::weak_ptr<uikit::ScrollView>>& fadingScrollViews() {
    static std::vector<std::weak_ptr<uikit::ScrollView>> scrollViews;
    std::erase_if(scrollViews, [](const auto& weak) { return weak.expired(); });
    return scrollViews;
}

}  // namespace

std::shared_ptr<InteractiveHeaderImageView> ScrollViewInteractiveHeader::addHeaderWithImage(
    const std::shared_ptr<uikit::ScrollView>& scrollView, std::shared_ptr<uikit::Image> image,
    double height) {
    removeHeaderView(*scrollView);
    auto header = std::make_shared<InteractiveHeaderImageView>(
        uikit::Rect{0, 0, scrollView->bounds().width(), height});
    header->setBackgroundColor(uikit::Color::clear());
    header->setImage(std::move(image));
    header->setDefaultHeight(height);
    header->setUseAlphaFade(usesAlphaFade(*scrollView));
    header->setScrollView(scrollView);
    scrollView->addSubview(header);
    scrollView->sendSubviewToBack(header.get());

    if (uikit::Device::current().systemVersionAtLeast("11.0")) {
        const uikit::EdgeInsets safe = scrollView->safeAreaInsets();
        scrollView->setContentInset({height - safe.top, safe.left, safe.bottom, safe.right});
    } else {
        scrollView->setContentInset({height - scrollView->layoutMargins().top, 0, 0, 0});
    }
    return header;
}

void ScrollViewInteractiveHeader::removeHeaderView(uikit::ScrollView& scrollView) {
    while (auto header = interactiveHeader(scrollView))
        header->removeFromSuperview();
}

void ScrollViewInteractiveHeader::setUseAlphaFade(
    const std::shared_ptr<uikit::ScrollView>& scrollView, bool on) {
    auto& scrollViews = fadingScrollViews();
    std::erase_if(scrollViews, [&](const auto& weak) { return weak.lock() == scrollView; });
    if (on)
        scrollViews.push_back(scrollView);
    if (auto header = interactiveHeader(*scrollView)) {
        header->setUseAlphaFade(on);
        header->setNeedsLayout();
    }
}

bool ScrollViewInteractiveHeader::usesAlphaFade(const uikit::ScrollView& scrollView) {
    for (const auto& weak : fadingScrollViews())
        if (weak.lock().get() == &scrollView)
            return true;
    return false;
}

std::shared_ptr<InteractiveHeaderImageView> ScrollViewInteractiveHeader::interactiveHeader(
    const uikit::ScrollView& scrollView) {
    for (const auto& subview : scrollView.subviews())
        if (auto header = std::dynamic_pointer_cast<InteractiveHeaderImageView>(subview))
            return header;
    return nullptr;
}

}  // namespace corvane
