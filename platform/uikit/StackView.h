#pragma once

#include <memory>
#include <vector>

#include "uikit/View.h"

namespace uikit {

enum class LayoutAxis { horizontal, vertical };
enum class StackViewAlignment { fill, leading, firstBaseline, center, trailing, lastBaseline };
enum class StackViewDistribution {
    fill,
    fillEqually,
    fillProportionally,
    equalSpacing,
    equalCentering
};

// Lays its arranged subviews out in a row or column; hidden ones take no room.
class StackView : public View {
  public:
    StackView() = default;
    explicit StackView(std::vector<std::shared_ptr<View>> arrangedSubviews);

    LayoutAxis axis() const { return axis_; }
    void setAxis(LayoutAxis axis);
    StackViewAlignment alignment() const { return alignment_; }
    void setAlignment(StackViewAlignment alignment);
    StackViewDistribution distribution() const { return distribution_; }
    void setDistribution(StackViewDistribution distribution);
    double spacing() const { return spacing_; }
    void setSpacing(double spacing);

    const std::vector<std::shared_ptr<View>>& arrangedSubviews() const { return arranged_; }
    void addArrangedSubview(const std::shared_ptr<View>& view);
    void insertArrangedSubview(const std::shared_ptr<View>& view, std::size_t index);
    // Stops arranging the view; it stays a subview, as the system does.
    void removeArrangedSubview(const View* view);

    void layoutSubviews() override;
    // The arranged views' natural sizes along the axis with spacing, the largest across it.
    Size intrinsicContentSize() const override;
    Size sizeThatFits(Size) const override { return intrinsicContentSize(); }

  protected:
    std::string describeSelf() const override { return "StackView"; }
    void willRemoveSubview(View* subview) override;

  private:
    std::vector<std::shared_ptr<View>> visibleArranged() const;
    std::vector<double> lengthsAlongAxis(const std::vector<std::shared_ptr<View>>& views,
                                         double available) const;
    void place(View& view, double along, double length, double across) const;
    static Size naturalSize(const View& view);

    LayoutAxis axis_ = LayoutAxis::horizontal;
    StackViewAlignment alignment_ = StackViewAlignment::fill;
    StackViewDistribution distribution_ = StackViewDistribution::fill;
    double spacing_ = 0;
    std::vector<std::shared_ptr<View>> arranged_;
};

}  // namespace uikit
