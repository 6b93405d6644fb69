#pragma once

#include <map>
#include <optional>
#include <string>

#include "uikit/Color.h"

namespace uikit {

// A transition a layer plays when its content changes, such as the fade of a changing text.
struct LayerTransition {
    enum class Type { fade, push, moveIn, reveal };
    Type type = Type::fade;
    double duration = 0.25;
    bool operator==(const LayerTransition&) const = default;
};

// The drawing properties of a view: corners, border and clipping.
class Layer {
  public:
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) { cornerRadius_ = radius; }
    // Corners drawn as a continuous curve rather than circular arcs.
    bool continuousCorners() const { return continuousCorners_; }
    void setContinuousCorners(bool on) { continuousCorners_ = on; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width) { borderWidth_ = width; }
    const std::optional<Color>& borderColor() const { return borderColor_; }
    void setBorderColor(std::optional<Color> color) { borderColor_ = color; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool on) { masksToBounds_ = on; }

    // A transition plays for its duration on the main run loop's clock and is then removed;
    // adding one under a key replaces the one playing under it.
    void addTransition(const LayerTransition& transition, const std::string& key);
    std::optional<LayerTransition> transitionForKey(const std::string& key) const;
    void removeAllAnimations();

  private:
    double cornerRadius_ = 0;
    bool continuousCorners_ = false;
    double borderWidth_ = 0;
    std::optional<Color> borderColor_;
    bool masksToBounds_ = false;
    struct Playing {
        LayerTransition transition;
        double endTime = 0;
    };
    std::map<std::string, Playing> transitions_;
};

}  // namespace uikit
