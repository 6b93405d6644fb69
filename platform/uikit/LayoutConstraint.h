#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/LayoutItem.h"

namespace uikit {

enum class LayoutRelation { lessThanOrEqual = -1, equal = 0, greaterThanOrEqual = 1 };

struct LayoutPriority {
    static constexpr float required = 1000;
    static constexpr float defaultHigh = 750;
    static constexpr float defaultLow = 250;
};

// firstItem.firstAttribute (relation) secondItem.secondAttribute * multiplier + constant.
// There is no solver: a constraint is data that screens read and switch. An active constraint
// is held by its first item's view; whoever else holds it keeps it alive while it is inactive,
// so it can be switched on again. Items are not owned: they read null once gone.
class LayoutConstraint : public std::enable_shared_from_this<LayoutConstraint> {
  public:
    static std::shared_ptr<LayoutConstraint> make(const LayoutItem* firstItem,
                                                  LayoutAttribute firstAttribute,
                                                  LayoutRelation relation,
                                                  const LayoutItem* secondItem,
                                                  LayoutAttribute secondAttribute,
                                                  double multiplier = 1, double constant = 0);

    static void activate(const std::vector<std::shared_ptr<LayoutConstraint>>& constraints);
    static void deactivate(const std::vector<std::shared_ptr<LayoutConstraint>>& constraints);

    double constant() const { return constant_; }
    // Marks the holding view for layout, as a changed constant would move things.
    void setConstant(double constant);
    double multiplier() const { return multiplier_; }
    float priority() const { return priority_; }
    void setPriority(float priority) { priority_ = priority; }
    bool isActive() const { return active_; }
    // Activating a constraint whose first item is gone does nothing.
    void setActive(bool active);
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }

    LayoutItem* firstItem() const { return firstItem_.get(); }
    LayoutItem* secondItem() const { return secondItem_.get(); }
    LayoutAttribute firstAttribute() const { return firstAttribute_; }
    LayoutAttribute secondAttribute() const { return secondAttribute_; }
    LayoutRelation relation() const { return relation_; }
    // Whether either item is the given one.
    bool involves(const LayoutItem* item) const;

  private:
    LayoutConstraint() = default;
    friend class View;
    void holderWentAway() { active_ = false; }

    LayoutItemReference firstItem_;
    LayoutAttribute firstAttribute_ = LayoutAttribute::notAnAttribute;
    LayoutRelation relation_ = LayoutRelation::equal;
    LayoutItemReference secondItem_;
    LayoutAttribute secondAttribute_ = LayoutAttribute::notAnAttribute;
    double multiplier_ = 1;
    double constant_ = 0;
    float priority_ = LayoutPriority::required;
    bool active_ = false;
    std::string identifier_;
};

}  // namespace uikit
