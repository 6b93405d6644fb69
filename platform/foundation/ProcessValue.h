#pragma once

#include <mutex>
#include <utility>

#include "foundation/ProcessState.h"

namespace foundation {

// A value the whole process shares (a choice made for the run, a count, a list kept since
// start), safe from any thread and put back to its first value by the process reset. Meant
// for a namespace-scope object of one source file:
//
//     ProcessValue<std::optional<std::string>> chosenName;
template <typename T>
class ProcessValue {
  public:
    explicit ProcessValue(T initial = T{}) : initial_(initial), value_(std::move(initial)) {
        ProcessState::registerReset(ProcessState::Phase::state, [this] { set(initial_); });
    }
    ProcessValue(const ProcessValue&) = delete;
    ProcessValue& operator=(const ProcessValue&) = delete;

    T get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(T value) { exchange(std::move(value)); }
    // The value before; the old value is released outside the lock.
    T exchange(T value) {
        std::lock_guard lock(mutex_);
        return std::exchange(value_, std::move(value));
    }
    // Reads or changes the value in place, the lock held; answers what change answers.
    template <typename Change>
    auto update(Change&& change) {
        std::lock_guard lock(mutex_);
        return change(value_);
    }

  private:
    const T initial_;
    mutable std::mutex mutex_;
    T value_;
};

}  // namespace foundation
