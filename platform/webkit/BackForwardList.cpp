#include "webkit/BackForwardList.h"

namespace webkit {

const BackForwardList::Item* BackForwardList::currentItem() const {
    return current_ ? &items_[*current_] : nullptr;
}

std::optional<std::size_t> BackForwardList::indexAtOffset(long offset) const {
    if (!current_)
        return std::nullopt;
    long index = static_cast<long>(*current_) + offset;
    if (index < 0 || index >= static_cast<long>(items_.size()))
        return std::nullopt;
    return static_cast<std::size_t>(index);
}

void BackForwardList::push(Item item) {
    items_.erase(items_.begin() + static_cast<long>(current_ ? *current_ + 1 : 0), items_.end());
    items_.push_back(std::move(item));
    current_ = items_.size() - 1;
}

void BackForwardList::moveTo(std::size_t index) {
    if (index < items_.size())
        current_ = index;
}

}  // namespace webkit
