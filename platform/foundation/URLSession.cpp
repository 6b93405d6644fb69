#include "foundation/URLSession.h"

#include <atomic>
#include <cstdint>

#include "foundation/SharedInstance.h"

namespace foundation {

namespace {

std::uint64_t nextTaskIdentifier() {
    static std::atomic<std::uint64_t> next = 1;
    return next++;
}

std::shared_ptr<OperationQueue> serialQueue() {
    auto queue = std::make_shared<OperationQueue>("URLSession delegate queue");
    queue->setMaxConcurrentOperationCount(1);
    return queue;
}

}  // namespace

URLSession::URLSession(URLSessionConfiguration configuration,
                       std::shared_ptr<OperationQueue> delegateQueue)
    : configuration_(std::move(configuration)),
      delegateQueue_(delegateQueue ? std::move(delegateQueue) : serialQueue()),
      connections_(std::make_shared<URLSessionConnectionPool>(
          configuration_.HTTPMaximumConnectionsPerHost,
          configuration_.maximumConnectionsPerSession)) {}

std::shared_ptr<URLSession> URLSession::sharedSession() {
    // Never destroyed: tasks may still deliver while the process exits.
    static auto* session =
        new SharedInstance<URLSession>([] { return std::make_shared<URLSession>(); });
    return session->pointer();
}

std::shared_ptr<URLSessionDataTask> URLSession::dataTaskWithRequest(
    URLRequest request, URLSessionDataTask::Completion completion) {
    return std::make_shared<URLSessionDataTask>(nextTaskIdentifier(), std::move(request),
                                                configuration_, delegateQueue_, connections_,
                                                std::move(completion));
}

std::shared_ptr<URLSessionDataTask> URLSession::dataTaskWithURL(
    const URL& url, URLSessionDataTask::Completion completion) {
    return dataTaskWithRequest(URLRequest(url), std::move(completion));
}

std::shared_ptr<URLSessionDownloadTask> URLSession::downloadTaskWithRequest(
    URLRequest request, URLSessionDownloadTask::Completion completion) {
    return std::make_shared<URLSessionDownloadTask>(nextTaskIdentifier(), std::move(request),
                                                    configuration_, delegateQueue_, connections_,
                                                    std::move(completion));
}

}  // namespace foundation
