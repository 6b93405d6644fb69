#include "app/launch/KSBackgroundWork.h"

namespace corvane {

std::function<void()> KSBackgroundWork::begin() {
    ++*count_;
    auto ended = std::make_shared<std::atomic<bool>>(false);
    return [count = count_, ended] {
        if (!ended->exchange(true))
            --*count;
    };
}

}  // namespace corvane
