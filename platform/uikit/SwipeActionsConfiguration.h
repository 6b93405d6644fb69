#pragma once

#include <memory>
#include <vector>

#include "uikit/ContextualAction.h"

namespace uikit {

// The actions a swipe reveals on one side of a row, the first one nearest the edge.
class SwipeActionsConfiguration {
  public:
    static std::shared_ptr<SwipeActionsConfiguration> create(
        std::vector<std::shared_ptr<ContextualAction>> actions) {
        return std::make_shared<SwipeActionsConfiguration>(std::move(actions));
    }
    explicit SwipeActionsConfiguration(std::vector<std::shared_ptr<ContextualAction>> actions)
        : actions_(std::move(actions)) {}

    const std::vector<std::shared_ptr<ContextualAction>>& actions() const { return actions_; }

  private:
    std::vector<std::shared_ptr<ContextualAction>> actions_;
};

}  // namespace uikit
