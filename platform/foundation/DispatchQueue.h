#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace foundation {

// A pool of worker threads that runs blocks in the order they were added. The global queues are
// two such pools; a serial queue is a pool of one thread.
class DispatchQueue {
  public:
    enum class Priority { Background, Default };
    using Block = std::function<void()>;

    DispatchQueue(std::string label, unsigned threads);
    ~DispatchQueue();
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    static DispatchQueue& global(Priority priority);

    void async(Block block);
    // Runs the block on the queue and waits for it. Never call it from the queue's own thread
    // when the queue is serial.
    void sync(Block block);
    const std::string& label() const { return label_; }
    // True when the caller runs on one of this queue's threads.
    bool isCurrent() const;
    // No block waiting and none running.
    bool isIdle() const;

  private:
    void work();

    std::string label_;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Block> blocks_;
    std::size_t running_ = 0;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};

}  // namespace foundation
