#include "uikit/ViewControllerTransition.h"

#include <utility>

#include "foundation/RunLoop.h"

namespace uikit {

ViewControllerTransition::~ViewControllerTransition() {
    if (timer_)
        foundation::RunLoop::main().cancelTimer(timer_);
}

void ViewControllerTransition::start(bool animated, std::function<void()> finish) {
    finishNow();
    auto pending = std::make_shared<std::function<void()>>(std::move(finish));
    pending_ = pending;
    timer_ = foundation::RunLoop::main().schedule(animated ? kDuration : 0, [pending] {
        if (auto block = std::exchange(*pending, nullptr))
            block();
    });
}

void ViewControllerTransition::finishNow() {
    auto pending = std::exchange(pending_, {}).lock();
    if (auto timer = std::exchange(timer_, 0))
        foundation::RunLoop::main().cancelTimer(timer);
    if (!pending)
        return;
    if (auto block = std::exchange(*pending, nullptr))
        block();
}

}  // namespace uikit
