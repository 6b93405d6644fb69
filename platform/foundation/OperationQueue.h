#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Observable.h"
#include "foundation/Operation.h"

namespace foundation {

// Runs operations in the order they were added, never more at once than its limit, each on a
// worker thread of its own (the main queue: on the main run loop, one at a time). Work already
// added carries on when the last handle to the queue is gone.
class OperationQueue {
  public:
    using OperationList = std::vector<std::shared_ptr<Operation>>;
    // Informational: every queue's threads run at the same priority.
    enum class QualityOfService { UserInteractive, UserInitiated, Utility, Background, Default };
    static constexpr int kDefaultMaxConcurrentOperationCount = -1;  // no limit

    explicit OperationQueue(std::string name = {});
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    static std::shared_ptr<OperationQueue> mainQueue();

    std::string name() const;
    void setName(std::string name);
    int maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(int count);
    QualityOfService qualityOfService() const;
    void setQualityOfService(QualityOfService quality);

    // An operation that already belongs to a queue or has started is not added.
    void addOperation(std::shared_ptr<Operation> operation);
    void addOperationWithBlock(std::function<void()> block);

    // The operations added and not yet finished, in the order they were added.
    OperationList operations() const;
    std::size_t operationCount() const;
    // "operations": observers get the new list after each add and each finish, on the thread
    // that made the change. When changes race, an observer may skip a list, never the last one.
    Observable<OperationList>& observableOperations();

    void cancelAllOperations();
    // Blocks until every operation has finished. Never call it on the main thread for the main
    // queue.
    void waitUntilAllOperationsAreFinished();

  private:
    struct Core;
    explicit OperationQueue(std::shared_ptr<Core> core);

    std::shared_ptr<Core> core_;
};

}  // namespace foundation
