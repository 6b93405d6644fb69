#pragma once

#include <optional>
#include <string>
#include <vector>

#include "uikit/Control.h"
#include "uikit/Font.h"

namespace uikit {

// A row of segments of equal width; a tap selects one and sends value-changed.
class SegmentedControl : public Control {
  public:
    static constexpr int kNoSegment = -1;

    SegmentedControl() = default;
    explicit SegmentedControl(std::vector<std::string> titles);

    int numberOfSegments() const { return static_cast<int>(segments_.size()); }
    void insertSegment(const std::string& title, int index, bool animated = false);
    void removeSegment(int index, bool animated = false);
    void removeAllSegments();
    std::optional<std::string> titleForSegment(int index) const;
    void setTitle(const std::string& title, int index);
    bool isEnabledForSegment(int index) const;
    void setEnabledForSegment(bool enabled, int index);
    // From code: no value-changed event. Out of range selects none.
    int selectedSegmentIndex() const { return selectedIndex_; }
    void setSelectedSegmentIndex(int index);
    const std::optional<Color>& selectedSegmentTintColor() const { return selectedTint_; }
    void setSelectedSegmentTintColor(std::optional<Color> color) { selectedTint_ = color; }
    // The segment's rectangle in the control's bounds.
    Rect rectForSegment(int index) const;

    Size intrinsicContentSize() const override;
    Size sizeThatFits(Size) const override { return intrinsicContentSize(); }
    void draw(Canvas& canvas) override;

  protected:
    void didTapInside(const Touch& touch) override;
    std::string describeSelf() const override;

  private:
    struct Segment {
        std::string title;
        bool enabled = true;
    };
    std::vector<Segment> segments_;
    int selectedIndex_ = kNoSegment;
    std::optional<Color> selectedTint_;
    Font font_ = Font::systemFont(13);
};

}  // namespace uikit
