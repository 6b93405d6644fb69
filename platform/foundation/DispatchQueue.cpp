#include "foundation/DispatchQueue.h"

#include <algorithm>
#include <future>

#include "foundation/ProcessState.h"

namespace foundation {

namespace {

struct GlobalQueues {
    GlobalQueues() {
        // Blocks of a finished use of the process must not run into the next one.
        ProcessState::registerWork("work on the global queues",
                                   [this] { return background.isIdle() && standard.isIdle(); });
    }

    const unsigned width = std::max(4u, std::thread::hardware_concurrency() * 2);
    DispatchQueue background{"global.background", width};
    DispatchQueue standard{"global.default", width};
};

}  // namespace

DispatchQueue::DispatchQueue(std::string label, unsigned threads) : label_(std::move(label)) {
    for (unsigned i = 0; i < std::max(1u, threads); ++i)
        threads_.emplace_back([this] { work(); });
}

DispatchQueue::~DispatchQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

DispatchQueue& DispatchQueue::global(Priority priority) {
    // Never destroyed: blocks still running at exit must not find their pool gone.
    static auto* queues = new GlobalQueues();
    return priority == Priority::Background ? queues->background : queues->standard;
}

void DispatchQueue::async(Block block) {
    {
        std::lock_guard lock(mutex_);
        blocks_.push_back(std::move(block));
    }
    ready_.notify_one();
}

void DispatchQueue::sync(Block block) {
    std::promise<void> done;
    async([&] {
        block();
        done.set_value();
    });
    done.get_future().wait();
}

bool DispatchQueue::isCurrent() const {
    auto self = std::this_thread::get_id();
    return std::any_of(threads_.begin(), threads_.end(),
                       [self](const std::thread& t) { return t.get_id() == self; });
}

bool DispatchQueue::isIdle() const {
    std::lock_guard lock(mutex_);
    return blocks_.empty() && running_ == 0;
}

void DispatchQueue::work() {
    for (;;) {
        Block block;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return stopping_ || !blocks_.empty(); });
            if (blocks_.empty())
                return;
            block = std::move(blocks_.front());
            blocks_.pop_front();
            ++running_;
        }
        block();
        block = nullptr;
        std::lock_guard lock(mutex_);
        --running_;
    }
}

}  // namespace foundation
