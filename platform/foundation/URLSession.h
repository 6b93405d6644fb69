#pragma once

#include <memory>

#include "foundation/OperationQueue.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionConfiguration.h"
#include "foundation/URLSessionConnectionPool.h"
#include "foundation/URLSessionDataTask.h"
#include "foundation/URLSessionDownloadTask.h"

namespace foundation {

// Makes loading tasks that share one configuration and hand their outcomes to one delegate
// queue. Tasks are made suspended: call resume() to start them.
class URLSession {
  public:
    // Without a delegate queue the session makes a serial one of its own.
    explicit URLSession(URLSessionConfiguration configuration =
                            URLSessionConfiguration::defaultSessionConfiguration(),
                        std::shared_ptr<OperationQueue> delegateQueue = nullptr);

    // The default configuration with one serial delegate queue.
    static std::shared_ptr<URLSession> sharedSession();

    const URLSessionConfiguration& configuration() const { return configuration_; }
    const std::shared_ptr<OperationQueue>& delegateQueue() const { return delegateQueue_; }

    std::shared_ptr<URLSessionDataTask> dataTaskWithRequest(
        URLRequest request, URLSessionDataTask::Completion completion);
    std::shared_ptr<URLSessionDataTask> dataTaskWithURL(const URL& url,
                                                        URLSessionDataTask::Completion completion);
    std::shared_ptr<URLSessionDownloadTask> downloadTaskWithRequest(
        URLRequest request, URLSessionDownloadTask::Completion completion);

  private:
    const URLSessionConfiguration configuration_;
    const std::shared_ptr<OperationQueue> delegateQueue_;
    const std::shared_ptr<URLSessionConnectionPool> connections_;
};

}  // namespace foundation
