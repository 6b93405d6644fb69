#include "foundation/Operation.h"

#include <utility>

namespace foundation {

std::string Operation::name() const {
    std::lock_guard lock(mutex_);
    return name_;
}

void Operation::setName(std::string name) {
    std::lock_guard lock(mutex_);
    name_ = std::move(name);
}

void Operation::setCompletionBlock(std::function<void()> block) {
    std::lock_guard lock(mutex_);
    completionBlock_ = std::move(block);
}

void Operation::start() {
    State ready = State::Ready;
    if (!state_.compare_exchange_strong(ready, State::Executing))
        return;
    if (cancelled_) {
        finish();
        return;
    }
    main();
    if (!isAsynchronous())
        finish();
}

void Operation::finish() {
    if (state_.exchange(State::Finished) == State::Finished)
        return;
    std::function<void()> completion;
    std::function<void()> onFinished;
    {
        std::lock_guard lock(mutex_);
        completion = std::exchange(completionBlock_, {});
        onFinished = std::exchange(onFinished_, {});
    }
    if (completion)
        completion();
    if (onFinished)
        onFinished();
}

bool Operation::enqueue(std::function<void()> onFinished) {
    std::lock_guard lock(mutex_);
    if (enqueued_ || state_ != State::Ready)
        return false;
    enqueued_ = true;
    onFinished_ = std::move(onFinished);
    return true;
}

}  // namespace foundation
