#include "store/NotificationRegistry.h"

#include <algorithm>

#include "foundation/Dispatch.h"

namespace store {

foundation::ObservationToken NotificationRegistry::add(std::set<std::string> classNames,
                                                       std::function<void()> block) {
    auto entry = std::make_shared<Entry>();
    entry->classNames = std::move(classNames);
    entry->block = std::move(block);
    {
        std::lock_guard lock(state_->mutex);
        state_->entries.push_back(entry);
    }
    std::weak_ptr<State> weakState = state_;
    std::weak_ptr<Entry> weakEntry = entry;
    return foundation::ObservationToken([weakState, weakEntry] {
        auto entry = weakEntry.lock();
        if (!entry)
            return;
        entry->alive = false;
        if (auto state = weakState.lock()) {
            std::lock_guard lock(state->mutex);
            std::erase(state->entries, entry);
        }
    });
}

void NotificationRegistry::didCommit(const std::set<std::string>& classNames) {
    std::vector<std::shared_ptr<Entry>> due;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& entry : state_->entries) {
            bool touched =
                std::any_of(classNames.begin(), classNames.end(),
                            [&](const std::string& name) { return entry->classNames.count(name); });
            if (touched)
                due.push_back(entry);
        }
    }
    for (auto& entry : due) {
        if (entry->queued.exchange(true))
            continue;
        foundation::runAsyncOnMain([entry] {
            entry->queued = false;
            if (entry->alive)
                entry->block();
        });
    }
}

}  // namespace store
