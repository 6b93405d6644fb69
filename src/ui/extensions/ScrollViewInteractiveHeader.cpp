#include "ui/extensions/ScrollViewInteractiveHeader.h"

#include "uikit/Device.h"

namespace corvane {

std::shared_ptr<InteractiveHeaderImageView> ScrollViewInteractiveHeader::addHeaderWithImage(
    const std::shared_ptr<uikit::ScrollView>& scrollView, std::shared_ptr<uikit::Image> image,
    double height) {
    removeHeaderView(*scrollView);
    auto header = std::make_shared<InteractiveHeaderImageView>(
        uikit::Rect{0, 0, scrollView->bounds().width(), height});
    header->setBackgroundColor(uikit::Color::clear());
    header->setImage(std::move(image));
    header->setDefaultHeight(height);
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

std::shared_ptr<InteractiveHeaderImageView> ScrollViewInteractiveHeader::interactiveHeader(
    const uikit::ScrollView& scrollView) {
    for (const auto& subview : scrollView.subviews())
        if (auto header = std::dynamic_pointer_cast<InteractiveHeaderImageView>(subview))
            return header;
    return nullptr;
}

}  // namespace corvane
