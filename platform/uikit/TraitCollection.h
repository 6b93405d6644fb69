#pragma once

namespace uikit {

// Raw values as the system numbers them: 1 light, 2 dark.
enum class UserInterfaceStyle { unspecified = 0, light = 1, dark = 2 };

// The environment a controller is shown in. Only the interface style varies here; a controller
// learns of a change through traitCollectionDidChange.
class TraitCollection {
  public:
    TraitCollection() = default;
    explicit TraitCollection(UserInterfaceStyle style) : userInterfaceStyle_(style) {}

    UserInterfaceStyle userInterfaceStyle() const { return userInterfaceStyle_; }

    bool operator==(const TraitCollection&) const = default;

  private:
    UserInterfaceStyle userInterfaceStyle_ = UserInterfaceStyle::light;
};

}  // namespace uikit
