#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "foundation/ObservationToken.h"

namespace foundation {

// A property that others observe: each observer gets the new value after the setter has stored
// it, on the thread that set it. Observers whose token is gone are never called.
template <typename T>
class Observable {
  public:
    using Observer = std::function<void(const T&)>;

    Observable() = default;
    explicit Observable(T initial) { state_->value = std::move(initial); }

    T get() const {
        std::lock_guard lock(state_->mutex);
        return state_->value;
    }

    void set(T value) {
        std::vector<std::shared_ptr<Entry>> observers;
        {
            std::lock_guard lock(state_->mutex);
            state_->value = value;
            observers = state_->observers;
        }
        for (const auto& entry : observers)
            if (entry->alive)
                entry->observer(value);
    }

    [[nodiscard]] ObservationToken observe(Observer observer) {
        auto entry = std::make_shared<Entry>();
        entry->observer = std::move(observer);
        {
            std::lock_guard lock(state_->mutex);
            state_->observers.push_back(entry);
        }
        std::weak_ptr<State> weakState = state_;
        std::weak_ptr<Entry> weakEntry = entry;
        return ObservationToken([weakState, weakEntry] {
            auto state = weakState.lock();
            auto entry = weakEntry.lock();
            if (!state || !entry)
                return;
            entry->alive = false;
            std::lock_guard lock(state->mutex);
            std::erase(state->observers, entry);
        });
    }

  private:
    struct Entry {
        Observer observer;
        std::atomic<bool> alive{true};
    };
    struct State {
        mutable std::mutex mutex;
        T value{};
        std::vector<std::shared_ptr<Entry>> observers;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace foundation
