#include "uikit/StackView.h"

#include <algorithm>
#include <numeric>

namespace uikit {

StackView::StackView(std::vector<std::shared_ptr<View>> arrangedSubviews) {
    for (auto& view : arrangedSubviews)
        addArrangedSubview(view);
}

void StackView::setAxis(LayoutAxis axis) {
    axis_ = axis;
    invalidateIntrinsicContentSize();
}

void StackView::setAlignment(StackViewAlignment alignment) {
    alignment_ = alignment;
    setNeedsLayout();
}

void StackView::setDistribution(StackViewDistribution distribution) {
    distribution_ = distribution;
    setNeedsLayout();
}

void StackView::setSpacing(double spacing) {
    spacing_ = spacing;
    invalidateIntrinsicContentSize();
}

void StackView::addArrangedSubview(const std::shared_ptr<View>& view) {
    insertArrangedSubview(view, arranged_.size());
}

void StackView::insertArrangedSubview(const std::shared_ptr<View>& view, std::size_t index) {
    if (!view)
        return;
    std::erase(arranged_, view);
    arranged_.insert(arranged_.begin() + static_cast<long>(std::min(index, arranged_.size())),
                     view);
    if (view->superviewPtr() != this)
        addSubview(view);
    invalidateIntrinsicContentSize();
}

void StackView::removeArrangedSubview(const View* view) {
    std::erase_if(arranged_, [view](const auto& v) { return v.get() == view; });
    invalidateIntrinsicContentSize();
}

void StackView::willRemoveSubview(View* subview) {
    removeArrangedSubview(subview);
}

Size StackView::naturalSize(const View& view) {
    Size intrinsic = view.intrinsicContentSize();
    Size current = view.frame().size;
    return {intrinsic.width == kNoIntrinsicMetric ? current.width : intrinsic.width,
            intrinsic.height == kNoIntrinsicMetric ? current.height : intrinsic.height};
}

std::vector<std::shared_ptr<View>> StackView::visibleArranged() const {
    std::vector<std::shared_ptr<View>> visible;
    for (const auto& view : arranged_)
        if (!view->isHidden())
            visible.push_back(view);
    return visible;
}

std::vector<double> StackView::lengthsAlongAxis(const std::vector<std::shared_ptr<View>>& views,
                                                double available) const {
    bool horizontal = axis_ == LayoutAxis::horizontal;
    std::vector<double> lengths;
    for (const auto& view : views) {
        Size natural = naturalSize(*view);
        lengths.push_back(horizontal ? natural.width : natural.height);
    }
    double gaps = spacing_ * static_cast<double>(views.size() - 1);
    double total = std::accumulate(lengths.begin(), lengths.end(), 0.0);
    double extra = available - gaps - total;
    switch (distribution_) {
        case StackViewDistribution::fillEqually:
            std::fill(lengths.begin(), lengths.end(),
                      std::max(0.0, (available - gaps) / views.size()));
            break;
        case StackViewDistribution::fillProportionally:
            for (double& length : lengths)
                length = total > 0 ? length / total * std::max(0.0, available - gaps) : length;
            break;
        case StackViewDistribution::fill: {
            // The first view without a natural length along the axis stretches, else the last.
            std::size_t stretch = lengths.size() - 1;
            for (std::size_t i = 0; i < views.size(); ++i) {
                Size intrinsic = views[i]->intrinsicContentSize();
                if ((horizontal ? intrinsic.width : intrinsic.height) == kNoIntrinsicMetric) {
                    stretch = i;
                    break;
                }
            }
            lengths[stretch] = std::max(0.0, lengths[stretch] + extra);
            break;
        }
        case StackViewDistribution::equalSpacing:
        case StackViewDistribution::equalCentering:
            break;
    }
    return lengths;
}

void StackView::place(View& view, double along, double length, double across) const {
    bool horizontal = axis_ == LayoutAxis::horizontal;
    Size natural = naturalSize(view);
    double crossNatural = horizontal ? natural.height : natural.width;
    double crossLength =
        alignment_ == StackViewAlignment::fill ? across : std::min(across, crossNatural);
    double crossStart = 0;
    if (alignment_ == StackViewAlignment::center ||
        alignment_ == StackViewAlignment::firstBaseline ||
        alignment_ == StackViewAlignment::lastBaseline)
        crossStart = (across - crossLength) / 2;
    else if (alignment_ == StackViewAlignment::trailing)
        crossStart = across - crossLength;
    if (horizontal)
        view.setFrame({along, crossStart, length, crossLength});
    else
        view.setFrame({crossStart, along, crossLength, length});
}

void StackView::layoutSubviews() {
    auto views = visibleArranged();
    if (views.empty())
        return;
    bool horizontal = axis_ == LayoutAxis::horizontal;
    double available = horizontal ? bounds().width() : bounds().height();
    double across = horizontal ? bounds().height() : bounds().width();
    auto lengths = lengthsAlongAxis(views, available);
    double gap = spacing_;
    bool spread = distribution_ == StackViewDistribution::equalSpacing ||
                  distribution_ == StackViewDistribution::equalCentering;
    if (spread && views.size() > 1) {
        double used = std::accumulate(lengths.begin(), lengths.end(), 0.0);
        gap = std::max(spacing_, (available - used) / static_cast<double>(views.size() - 1));
    }
    double along = 0;
    for (std::size_t i = 0; i < views.size(); ++i) {
        place(*views[i], along, lengths[i], across);
        along += lengths[i] + gap;
    }
}

Size StackView::intrinsicContentSize() const {
    auto views = visibleArranged();
    double along = 0, across = 0;
    bool horizontal = axis_ == LayoutAxis::horizontal;
    for (const auto& view : views) {
        Size natural = naturalSize(*view);
        along += horizontal ? natural.width : natural.height;
        across = std::max(across, horizontal ? natural.height : natural.width);
    }
    if (views.size() > 1)
        along += spacing_ * static_cast<double>(views.size() - 1);
    return horizontal ? Size{along, across} : Size{across, along};
}

}  // namespace uikit
