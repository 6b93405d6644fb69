#include "uikit/TextView.h"

#include <cmath>

#include "uikit/Canvas.h"
#include "uikit/DescribeText.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {

std::function<void(const std::string&)>& linkOpener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

}  // namespace

void TextView::setText(const std::string& text) {
    TextAttributes attributes;
    attributes.font = font_;
    attributes.foregroundColor = textColor_;
    setAttributedText(AttributedString(text, attributes));
}

void TextView::setAttributedText(AttributedString text) {
    attributedText_ = std::move(text);
    updateContentSize();
    invalidateIntrinsicContentSize();
}

void TextView::setDelegate(const std::shared_ptr<TextViewDelegate>& delegate) {
    textDelegate_ = delegate;
    ScrollView::setDelegate(std::static_pointer_cast<ScrollViewDelegate>(delegate));
}

void TextView::setLinkOpener(std::function<void(const std::string& url)> opener) {
    linkOpener() = std::move(opener);
}

bool TextView::tapLink(const std::string& url) {
    if (!selectable_ || isHiddenInTree())
        return false;
    for (const auto& [range, link] : attributedText_.links()) {
        if (link != url)
            continue;
        auto keep = weak_from_this().lock();
        if (auto delegate = textDelegate();
            delegate && !delegate->textViewShouldInteractWithURL(
                            *this, url, range, TextItemInteraction::invokeDefaultAction))
            return false;
        if (linkOpener())
            linkOpener()(url);
        return true;
    }
    return false;
}

Size TextView::sizeThatFits(Size size) const {
    double width = std::max(0.0, size.width - textContainerInset_.left - textContainerInset_.right);
    Size text = attributedText_.boundingSize(width, 0, font_);
    return {size.width,
            std::ceil(text.height) + textContainerInset_.top + textContainerInset_.bottom};
}

Size TextView::intrinsicContentSize() const {
    if (isScrollEnabled())
        return ScrollView::intrinsicContentSize();
    return {kNoIntrinsicMetric, sizeThatFits(bounds().size).height};
}

void TextView::updateContentSize() {
    setContentSize({bounds().width(), sizeThatFits(bounds().size).height});
}

void TextView::boundsDidChange(const Rect& oldBounds) {
    ScrollView::boundsDidChange(oldBounds);
    if (oldBounds.size.width != bounds().size.width)
        updateContentSize();
}

// The text in content coordinates, links in the link colour; only the lines in sight are drawn.
void TextView::draw(Canvas& canvas) {
    if (attributedText_.empty())
        return;
    AttributedString text = attributedText_;
    TextAttributes link;
    link.foregroundColor = linkColor_.value_or(tintColor());
    for (const auto& [range, url] : attributedText_.links())
        text.addAttributes(link, range);
    double width =
        std::max(0.0, bounds().width() - textContainerInset_.left - textContainerInset_.right);
    auto placement = TextLayout::place(text, font_, width, 0, LineBreakMode::byWordWrapping);
    TextPainter::draw(canvas, text, placement, font_, textColor_,
                      {{textContainerInset_.left, textContainerInset_.top}, width, textAlignment_});
}

std::string TextView::describeSelf() const {
    if (attributedText_.empty())
        return "TextView";
    return "TextView " + quotedForDescription(attributedText_.string());
}

}  // namespace uikit
