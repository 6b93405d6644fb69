#include "uikit/SegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "uikit/Canvas.h"
#include "uikit/DescribeText.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {
constexpr double kSegmentPadding = 14;
constexpr double kHeight = 32;
constexpr double kCornerRadius = 4;
constexpr double kLineWidth = 1;
}  // namespace

SegmentedControl::SegmentedControl(std::vector<std::string> titles) {
    for (auto& title : titles)
        segments_.push_back({std::move(title)});
    setFrame({{0, 0}, intrinsicContentSize()});
}

void SegmentedControl::insertSegment(const std::string& title, int index, bool animated) {
    int at = std::clamp(index, 0, numberOfSegments());
    segments_.insert(segments_.begin() + at, Segment{title});
    if (selectedIndex_ >= at)
        ++selectedIndex_;
    invalidateIntrinsicContentSize();
}

void SegmentedControl::removeSegment(int index, bool animated) {
    if (index < 0 || index >= numberOfSegments())
        return;
    segments_.erase(segments_.begin() + index);
    if (selectedIndex_ == index)
        selectedIndex_ = kNoSegment;
    else if (selectedIndex_ > index)
        --selectedIndex_;
    invalidateIntrinsicContentSize();
}

void SegmentedControl::removeAllSegments() {
    segments_.clear();
    selectedIndex_ = kNoSegment;
    invalidateIntrinsicContentSize();
}

std::optional<std::string> SegmentedControl::titleForSegment(int index) const {
    if (index < 0 || index >= numberOfSegments())
        return std::nullopt;
    return segments_[index].title;
}

void SegmentedControl::setTitle(const std::string& title, int index) {
    if (index < 0 || index >= numberOfSegments())
        return;
    segments_[index].title = title;
    invalidateIntrinsicContentSize();
}

bool SegmentedControl::isEnabledForSegment(int index) const {
    return index >= 0 && index < numberOfSegments() && segments_[index].enabled;
}

void SegmentedControl::setEnabledForSegment(bool enabled, int index) {
    if (index >= 0 && index < numberOfSegments())
        segments_[index].enabled = enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    selectedIndex_ = index >= 0 && index < numberOfSegments() ? index : kNoSegment;
}

Rect SegmentedControl::rectForSegment(int index) const {
    if (index < 0 || index >= numberOfSegments())
        return {};
    double width = bounds().width() / numberOfSegments();
    return {bounds().minX() + width * index, bounds().minY(), width, bounds().height()};
}

Size SegmentedControl::intrinsicContentSize() const {
    double widest = 0;
    for (const auto& segment : segments_)
        widest = std::max(widest, std::ceil(font_.sizeOfText(segment.title).width));
    return {(widest + 2 * kSegmentPadding) * numberOfSegments(), kHeight};
}

void SegmentedControl::didTapInside(const Touch& touch) {
    if (segments_.empty())
        return;
    Point p = touch.locationInView(this);
    double width = bounds().width() / numberOfSegments();
    int index = width > 0 ? static_cast<int>(std::floor((p.x - bounds().minX()) / width)) : 0;
    index = std::clamp(index, 0, numberOfSegments() - 1);
    if (!segments_[index].enabled || index == selectedIndex_)
        return;
    selectedIndex_ = index;
    sendActions(ControlEvent::valueChanged);
}

// Outlined in the tint, the selected segment filled, each title centred in its segment.
void SegmentedControl::draw(Canvas& canvas) {
    Color tint = tintColor();
    double controlAlpha = isEnabled() ? 1 : kDisabledAlpha;
    canvas.save();
    canvas.clipToRect(bounds(), kCornerRadius);
    for (int index = 0; index < numberOfSegments(); ++index) {
        Rect segment = rectForSegment(index);
        double alpha = segments_[index].enabled ? controlAlpha : controlAlpha * kDisabledAlpha;
        bool selected = index == selectedIndex_;
        if (selected)
            canvas.fill(segment, selectedTint_.value_or(tint).faded(alpha));
        if (index > 0)
            canvas.fill({segment.minX(), segment.minY(), kLineWidth, segment.height()},
                        tint.faded(controlAlpha));
        double lineHeight = font_.lineHeight();
        TextPainter::drawLine(
            canvas, segments_[index].title, font_, (selected ? Color::white() : tint).faded(alpha),
            {{segment.minX() + kSegmentPadding / 2, segment.midY() - lineHeight / 2},
             segment.width() - kSegmentPadding,
             TextAlignment::center});
    }
    canvas.restore();
    canvas.strokeInside(bounds(), kLineWidth, tint.faded(controlAlpha), kCornerRadius);
}

std::string SegmentedControl::describeSelf() const {
    std::string line = "SegmentedControl [";
    for (int i = 0; i < numberOfSegments(); ++i) {
        if (i > 0)
            line += ", ";
        if (i == selectedIndex_)
            line += "*";
        line += quotedForDescription(segments_[i].title);
    }
    return line + "]";
}

}  // namespace uikit
