#include "uikit/LayoutAnchor.h"

namespace uikit {

std::shared_ptr<LayoutConstraint> LayoutAnchor::make(LayoutRelation relation,
                                                     const LayoutAnchor* other, double multiplier,
                                                     double constant) const {
    return LayoutConstraint::make(item(), attribute_, relation, other ? other->item() : nullptr,
                                  other ? other->attribute() : LayoutAttribute::notAnAttribute,
                                  multiplier, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintEqualTo(const LayoutAnchor& other,
                                                                  double constant) const {
    return make(LayoutRelation::equal, &other, 1, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintGreaterThanOrEqualTo(
    const LayoutAnchor& other, double constant) const {
    return make(LayoutRelation::greaterThanOrEqual, &other, 1, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintLessThanOrEqualTo(
    const LayoutAnchor& other, double constant) const {
    return make(LayoutRelation::lessThanOrEqual, &other, 1, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintEqualTo(const LayoutAnchor& other,
                                                                  double multiplier,
                                                                  double constant) const {
    return make(LayoutRelation::equal, &other, multiplier, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintEqualToConstant(double constant) const {
    return make(LayoutRelation::equal, nullptr, 1, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintGreaterThanOrEqualToConstant(
    double constant) const {
    return make(LayoutRelation::greaterThanOrEqual, nullptr, 1, constant);
}

std::shared_ptr<LayoutConstraint> LayoutAnchor::constraintLessThanOrEqualToConstant(
    double constant) const {
    return make(LayoutRelation::lessThanOrEqual, nullptr, 1, constant);
}

}  // namespace uikit
