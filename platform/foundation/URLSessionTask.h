#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Observable.h"
#include "foundation/OperationQueue.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionConfiguration.h"
#include "foundation/URLSessionConnectionPool.h"

namespace foundation {

class CurlTransfer;

// One load of a session, made suspended; resume() hands it to the session's connections, which
// start it on one of their threads when its host's turn comes. The completion handler runs
// exactly once, on the session's delegate queue: with the result, with error -1002 at once for a
// scheme other than http, https and file, or with -999 at once when the task is cancelled before
// it completes.
class URLSessionTask : public std::enable_shared_from_this<URLSessionTask> {
  public:
    enum class State { Running, Suspended, Canceling, Completed };

    URLSessionTask(std::uint64_t identifier, URLRequest request,
                   URLSessionConfiguration configuration,
                   std::shared_ptr<OperationQueue> delegateQueue,
                   std::shared_ptr<URLSessionConnectionPool> connections);
    virtual ~URLSessionTask();
    URLSessionTask(const URLSessionTask&) = delete;
    URLSessionTask& operator=(const URLSessionTask&) = delete;

    std::uint64_t taskIdentifier() const { return identifier_; }
    const URLRequest& originalRequest() const { return request_; }
    State state() const { return state_; }

    void resume();
    void cancel();

    std::int64_t countOfBytesReceived() const { return bytesReceived_; }
    // -1 until the server has said how much it sends.
    std::int64_t countOfBytesExpectedToReceive() const { return bytesExpected_; }
    // 0 to 1 as bytes of a known size arrive, 1 once the load succeeded; set on the loading
    // thread.
    Observable<double>& fractionCompleted() { return fractionCompleted_; }

  protected:
    // Runs on the caller's thread as the task is resumed; an error fails the task at once.
    virtual std::optional<Error> prepare() { return std::nullopt; }
    // Takes each piece of the body on the loading thread; false fails the task.
    virtual bool receive(const char* bytes, std::size_t count) = 0;
    // Called on the loading thread once the transfer has ended, before the outcome is handed on.
    virtual std::optional<Error> endReceiving() { return std::nullopt; }
    // Hands the outcome to the completion handler; runs once, on the delegate queue. Exactly
    // one of response and error is set.
    virtual void complete(std::optional<HTTPURLResponse> response, std::optional<Error> error) = 0;

  private:
    void load(std::shared_ptr<CurlTransfer> transfer);
    void progress(std::int64_t received, std::int64_t expected);
    // Only the first outcome reaches the handler.
    void deliver(std::optional<HTTPURLResponse> response, std::optional<Error> error);

    const std::uint64_t identifier_;
    const URLRequest request_;
    const URLSessionConfiguration configuration_;
    const std::shared_ptr<OperationQueue> delegateQueue_;
    const std::shared_ptr<URLSessionConnectionPool> connections_;
    std::atomic<State> state_ = State::Suspended;
    std::atomic<bool> delivered_ = false;
    std::atomic<std::int64_t> bytesReceived_ = 0;
    std::atomic<std::int64_t> bytesExpected_ = -1;
    Observable<double> fractionCompleted_{0.0};
    std::mutex mutex_;
    std::shared_ptr<CurlTransfer> transfer_;
    // Keeps the task counted as in flight until its outcome is delivered.
    std::shared_ptr<void> flight_;
};

}  // namespace foundation
