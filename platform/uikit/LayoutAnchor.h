#pragma once

#include <memory>

#include "uikit/LayoutConstraint.h"

namespace uikit {

// One edge, centre or dimension of a layout item; makes constraints (inactive, as the system's
// anchors do) against another anchor or, for a dimension, a constant.
class LayoutAnchor {
  public:
    LayoutAnchor(const LayoutItem* item, LayoutAttribute attribute)
        : item_(item), attribute_(attribute) {}

    LayoutItem* item() const { return item_.get(); }
    LayoutAttribute attribute() const { return attribute_; }
    bool isDimension() const {
        return attribute_ == LayoutAttribute::width || attribute_ == LayoutAttribute::height;
    }

    std::shared_ptr<LayoutConstraint> constraintEqualTo(const LayoutAnchor& other,
                                                        double constant = 0) const;
    std::shared_ptr<LayoutConstraint> constraintGreaterThanOrEqualTo(const LayoutAnchor& other,
                                                                     double constant = 0) const;
    std::shared_ptr<LayoutConstraint> constraintLessThanOrEqualTo(const LayoutAnchor& other,
                                                                  double constant = 0) const;
    std::shared_ptr<LayoutConstraint> constraintEqualTo(const LayoutAnchor& other,
                                                        double multiplier, double constant) const;
    // Dimensions.
    std::shared_ptr<LayoutConstraint> constraintEqualToConstant(double constant) const;
    std::shared_ptr<LayoutConstraint> constraintGreaterThanOrEqualToConstant(double constant) const;
    std::shared_ptr<LayoutConstraint> constraintLessThanOrEqualToConstant(double constant) const;

  private:
    std::shared_ptr<LayoutConstraint> make(LayoutRelation relation, const LayoutAnchor* other,
                                           double multiplier, double constant) const;

    LayoutItemReference item_;
    LayoutAttribute attribute_;
};

}  // namespace uikit
