#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "foundation/URLRequest.h"

namespace webkit {

// The pages a web view has shown, in order, and which of them it shows now.
class BackForwardList {
  public:
    struct Item {
        foundation::URLRequest request;
        // The HTML a caller handed over, shown again instead of fetching the request.
        std::optional<std::string> html;
    };

    const Item* currentItem() const;
    std::optional<std::size_t> currentIndex() const { return current_; }
    // The item offset places from the current one (-1 back, 1 forward), if there is one.
    std::optional<std::size_t> indexAtOffset(long offset) const;
    const Item& itemAt(std::size_t index) const { return items_.at(index); }

    // A new page after the current one; the pages ahead of it are forgotten.
    void push(Item item);
    void moveTo(std::size_t index);

  private:
    std::vector<Item> items_;
    std::optional<std::size_t> current_;
};

}  // namespace webkit
