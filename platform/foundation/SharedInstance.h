#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "foundation/ProcessState.h"

namespace foundation {

// The one instance behind a class's shared accessor: made on first use, replaceable (a test
// puts a stand-in of its own), and dropped by the process reset so the next use makes a fresh
// one. References handed out must not be kept past a reset.
//
//     Thing& Thing::shared() {
//         static auto* instance = new SharedInstance<Thing>([] { return ...; });
//         return instance->get();
//     }
//
// Held through a pointer that is never deleted, it outlives threads still working at exit.
template <typename T>
class SharedInstance {
  public:
    using Make = std::function<std::shared_ptr<T>()>;
    // For an instance with background work: true once the work of the instance in use has
    // ended, which it may cancel (see ProcessState::Settle); not asked when none was made.
    using Settle = std::function<bool(T&)>;

    explicit SharedInstance(Make make) : make_(std::move(make)) {
        ProcessState::registerReset(ProcessState::Phase::state, [this] { reset(); });
    }
    SharedInstance(Make make, std::string what, Settle settle) : SharedInstance(std::move(make)) {
        ProcessState::registerWork(std::move(what), [this, settle = std::move(settle)] {
            auto current = existing();
            return !current || settle(*current);
        });
    }
    SharedInstance(const SharedInstance&) = delete;
    SharedInstance& operator=(const SharedInstance&) = delete;

    T& get() { return *pointer(); }
    std::shared_ptr<T> pointer() {
        std::lock_guard lock(mutex_);
        if (!instance_)
            instance_ = make_();
        return instance_;
    }
    // The instance in use, or null when none has been made since the last reset.
    std::shared_ptr<T> existing() {
        std::lock_guard lock(mutex_);
        return instance_;
    }
    // The dropped instance goes when its last user lets go of it, outside the lock.
    void replace(std::shared_ptr<T> instance) {
        std::shared_ptr<T> old;
        std::lock_guard lock(mutex_);
        old = std::exchange(instance_, std::move(instance));
    }
    void reset() { replace(nullptr); }

  private:
    const Make make_;
    std::mutex mutex_;
    std::shared_ptr<T> instance_;
};

}  // namespace foundation
