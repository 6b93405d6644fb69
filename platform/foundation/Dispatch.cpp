#include "foundation/Dispatch.h"

#include <future>
#include <memory>

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
    auto finished = done.get_future();
    // Lets the caller go on when the block has run, and also when the run loop drops it unrun.
    std::shared_ptr<void> release(nullptr, [&done](void*) { done.set_value(); });
    RunLoop::main().perform([&block, release = std::move(release)]() mutable {
        block();
        release.reset();
    });
    finished.wait();
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
