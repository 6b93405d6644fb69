#include "framework/tasks/KSDataTaskOperation.h"

namespace corvane {

KSDataTaskOperation::KSDataTaskOperation(std::shared_ptr<foundation::URLSession> session,
                                         foundation::URL url, Completion completionHandler)
    : session_(std::move(session)),
      url_(std::move(url)),
      identifier_(url_.absoluteString()),
      completionHandler_(std::move(completionHandler)) {}

void KSDataTaskOperation::main() {
    auto dataTask = session_->dataTaskWithURL(
        url_, [this, self = shared_from_this()](auto data, auto response, auto error) {
            if (!isCancelled() && completionHandler_)
                completionHandler_(std::move(data), std::move(response), std::move(error));
            {
                // The data task holds this completion, and so this operation: let go of it.
                std::lock_guard lock(mutex_);
                dataTask_.reset();
            }
            finish();
        });
    {
        std::lock_guard lock(mutex_);
        dataTask_ = dataTask;
    }
    if (isCancelled()) {
        dataTask->cancel();
        return;
    }
    dataTask->resume();
}

void KSDataTaskOperation::cancel() {
    Operation::cancel();
    std::shared_ptr<foundation::URLSessionDataTask> dataTask;
    {
        std::lock_guard lock(mutex_);
        dataTask = dataTask_;
    }
    // The load ends with error -999 and its handler, which skips the completion, finishes us.
    if (dataTask)
        dataTask->cancel();
}

}  // namespace corvane
