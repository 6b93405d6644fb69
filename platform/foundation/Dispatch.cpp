#include "foundation/Dispatch.h"

#include <future>

#include "foundation/DispatchQueue.h"
#include "foundation/RunLoop.h"

namespace foundation {

void runOnMain(std::function<void()> block) {
    if (isMainThread()) {
        block();
    } else {
        RunLoop::main().perform(std::move(block));
    }
}

void runAsyncOnMain(std::function<void()> block) {
    RunLoop::main().perform(std::move(block));
}

void runOnMainAndWait(const std::function<void()>& block) {
    if (isMainThread()) {
        block();
        return;
    }
    std::promise<void> done;
    RunLoop::main().perform([&] {
        block();
        done.set_value();
    });
    done.get_future().wait();
}

void runOnMainAfter(double delaySeconds, std::function<void()> block) {
    RunLoop::main().schedule(delaySeconds, std::move(block));
}

void runInBackground(std::function<void()> block) {
    DispatchQueue::global(DispatchQueue::Priority::Background).async(std::move(block));
}

void runOnDefaultQueue(std::function<void()> block) {
    DispatchQueue::global(DispatchQueue::Priority::Default).async(std::move(block));
}

}  // namespace foundation
