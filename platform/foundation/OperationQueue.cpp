#include "foundation/OperationQueue.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "foundation/BlockOperation.h"
#include "foundation/RunLoop.h"
#include "foundation/SharedInstance.h"

namespace foundation {

struct OperationQueue::Core : std::enable_shared_from_this<Core> {
    explicit Core(std::string name, bool onMainRunLoop, int maxConcurrent)
        : onMainRunLoop(onMainRunLoop), name(std::move(name)), maxConcurrent(maxConcurrent) {}

    void add(const std::shared_ptr<Operation>& operation);
    void operationFinished(const Operation* operation);
    // Hands waiting operations to runners while the limit allows. Called with the mutex held.
    void startWaitingOperations();
    void work();
    void publish();

    const bool onMainRunLoop;
    mutable std::mutex mutex;
    std::condition_variable workReady;
    std::condition_variable allFinished;
    std::string name;
    int maxConcurrent;
    QualityOfService quality = QualityOfService::Default;
    OperationList operations;                          // unfinished, in the order added
    std::deque<std::shared_ptr<Operation>> waiting;    // not yet given a slot
    std::deque<std::shared_ptr<Operation>> startable;  // given a slot, not yet taken by a worker
    int slotsTaken = 0;
    std::size_t idleWorkers = 0;
    bool abandoned = false;  // the queue's handle is gone
    bool changed = false;
    bool publishing = false;
    Observable<OperationList> observable;
};

void OperationQueue::Core::add(const std::shared_ptr<Operation>& operation) {
    std::weak_ptr<Core> weakSelf = weak_from_this();
    const Operation* raw = operation.get();
    bool claimed = operation->enqueue([weakSelf, raw] {
        if (auto self = weakSelf.lock())
            self->operationFinished(raw);
    });
    if (!claimed)
        return;
    {
        std::lock_guard lock(mutex);
        operations.push_back(operation);
        waiting.push_back(operation);
        startWaitingOperations();
    }
    publish();
}

void OperationQueue::Core::operationFinished(const Operation* operation) {
    {
        std::lock_guard lock(mutex);
        auto isIt = [operation](const auto& entry) { return entry.get() == operation; };
        auto entry = std::ranges::find_if(operations, isIt);
        if (entry == operations.end())
            return;
        operations.erase(entry);
        // An operation finished by its owner while it waited never took a slot.
        auto waited = std::ranges::find_if(waiting, isIt);
        if (waited != waiting.end())
            waiting.erase(waited);
        else
            --slotsTaken;
        startWaitingOperations();
        if (operations.empty())
            allFinished.notify_all();
    }
    publish();
}

void OperationQueue::Core::startWaitingOperations() {
    while (!waiting.empty() && (maxConcurrent < 0 || slotsTaken < maxConcurrent)) {
        auto operation = std::move(waiting.front());
        waiting.pop_front();
        ++slotsTaken;
        if (onMainRunLoop) {
            RunLoop::main().perform([operation] { operation->start(); });
            continue;
        }
        startable.push_back(std::move(operation));
        if (startable.size() > idleWorkers) {
            ++idleWorkers;
            std::thread([self = shared_from_this()] { self->work(); }).detach();
        } else {
            workReady.notify_one();
        }
    }
}

// Workers keep the core alive, so operations still finish after the queue's handle is gone.
void OperationQueue::Core::work() {
    std::unique_lock lock(mutex);
    for (;;) {
        workReady.wait(lock,
                       [this] { return !startable.empty() || (abandoned && waiting.empty()); });
        --idleWorkers;
        if (startable.empty())
            return;
        auto operation = std::move(startable.front());
        startable.pop_front();
        lock.unlock();
        operation->start();
        operation.reset();
        lock.lock();
        ++idleWorkers;
    }
}

// One thread at a time tells the observers, always the latest list, and never while holding
// the queue's mutex, so an observer may add operations or read the queue.
void OperationQueue::Core::publish() {
    {
        std::lock_guard lock(mutex);
        changed = true;
        if (publishing)
            return;
        publishing = true;
    }
    for (;;) {
        OperationList snapshot;
        {
            std::lock_guard lock(mutex);
            if (!changed) {
                publishing = false;
                return;
            }
            changed = false;
            snapshot = operations;
        }
        observable.set(std::move(snapshot));
    }
}

OperationQueue::OperationQueue(std::string name)
    : core_(std::make_shared<Core>(std::move(name), false, kDefaultMaxConcurrentOperationCount)) {}

OperationQueue::OperationQueue(std::shared_ptr<Core> core) : core_(std::move(core)) {}

OperationQueue::~OperationQueue() {
    {
        std::lock_guard lock(core_->mutex);
        core_->abandoned = true;
    }
    core_->workReady.notify_all();
}

std::shared_ptr<OperationQueue> OperationQueue::mainQueue() {
    static auto* queue = [] {
        auto* shared = new SharedInstance<OperationQueue>([] {
            return std::shared_ptr<OperationQueue>(
                new OperationQueue(std::make_shared<Core>("main", true, 1)));
        });
        // A reset drops the run loop's blocks that would start its operations, so while it ends
        // background work (which may be waiting for one of them) it starts a fresh queue
        // rather than keep one that waits for them.
        ProcessState::registerWork("the main operation queue", [shared] {
            shared->reset();
            return true;
        });
        return shared;
    }();
    return queue->pointer();
}

std::string OperationQueue::name() const {
    std::lock_guard lock(core_->mutex);
    return core_->name;
}

void OperationQueue::setName(std::string name) {
    std::lock_guard lock(core_->mutex);
    core_->name = std::move(name);
}

int OperationQueue::maxConcurrentOperationCount() const {
    std::lock_guard lock(core_->mutex);
    return core_->maxConcurrent;
}

void OperationQueue::setMaxConcurrentOperationCount(int count) {
    std::lock_guard lock(core_->mutex);
    core_->maxConcurrent = count;
    core_->startWaitingOperations();
}

OperationQueue::QualityOfService OperationQueue::qualityOfService() const {
    std::lock_guard lock(core_->mutex);
    return core_->quality;
}

void OperationQueue::setQualityOfService(QualityOfService quality) {
    std::lock_guard lock(core_->mutex);
    core_->quality = quality;
}

void OperationQueue::addOperation(std::shared_ptr<Operation> operation) {
    if (operation)
        core_->add(operation);
}

void OperationQueue::addOperationWithBlock(std::function<void()> block) {
    core_->add(std::make_shared<BlockOperation>(std::move(block)));
}

OperationQueue::OperationList OperationQueue::operations() const {
    std::lock_guard lock(core_->mutex);
    return core_->operations;
}

std::size_t OperationQueue::operationCount() const {
    std::lock_guard lock(core_->mutex);
    return core_->operations.size();
}

Observable<OperationQueue::OperationList>& OperationQueue::observableOperations() {
    return core_->observable;
}

void OperationQueue::cancelAllOperations() {
    for (const auto& operation : operations())
        operation->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock lock(core_->mutex);
    core_->allFinished.wait(lock, [this] { return core_->operations.empty(); });
}

}  // namespace foundation
