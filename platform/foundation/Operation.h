#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace foundation {

// A unit of work for an OperationQueue, held by shared_ptr. A synchronous operation is done
// when main() returns. An asynchronous one (isAsynchronous() answers true) keeps its slot in the
// queue until it calls finish(), as one that waits for a network reply does. An operation
// cancelled before it started finishes without running main().
class Operation : public std::enable_shared_from_this<Operation> {
  public:
    virtual ~Operation() = default;

    // Identifies the operation in logs and lists.
    std::string name() const;
    void setName(std::string name);
    // Runs once, on the thread that finishes the operation, before its queue lets go of it.
    void setCompletionBlock(std::function<void()> block);

    bool isCancelled() const { return cancelled_; }
    bool isExecuting() const { return state_ == State::Executing; }
    bool isFinished() const { return state_ == State::Finished; }
    virtual bool isAsynchronous() const { return false; }

    // Marks the operation cancelled; work under way reads isCancelled() to stop early. An
    // override that stops work of its own calls this too.
    virtual void cancel() { cancelled_ = true; }

    // Runs the operation on the calling thread, at most once; queues call it for their
    // operations.
    void start();

  protected:
    virtual void main() {}
    // Ends the operation. Only the first call counts.
    void finish();

  private:
    friend class OperationQueue;
    enum class State { Ready, Executing, Finished };

    // Claims the operation for one queue, which it tells when it finishes; false when the
    // operation already belongs to a queue or has started.
    bool enqueue(std::function<void()> onFinished);

    std::atomic<State> state_ = State::Ready;
    std::atomic<bool> cancelled_ = false;
    mutable std::mutex mutex_;
    std::string name_;
    std::function<void()> completionBlock_;
    bool enqueued_ = false;
    std::function<void()> onFinished_;
};

}  // namespace foundation
