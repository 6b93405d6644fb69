#include "uikit/Layer.h"

#include "foundation/Clock.h"

namespace uikit {

void Layer::addTransition(const LayerTransition& transition, const std::string& key) {
    transitions_[key] = {transition, foundation::Clock::now() + transition.duration};
}

std::optional<LayerTransition> Layer::transitionForKey(const std::string& key) const {
    auto found = transitions_.find(key);
    if (found == transitions_.end() || found->second.endTime <= foundation::Clock::now())
        return std::nullopt;
    return found->second.transition;
}

void Layer::removeAllAnimations() {
    transitions_.clear();
}

}  // namespace uikit
