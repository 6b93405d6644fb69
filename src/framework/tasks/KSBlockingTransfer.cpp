#include "framework/tasks/KSBlockingTransfer.h"

#include "foundation/FileManager.h"
#include "foundation/URLError.h"

namespace corvane {

KSBlockingTransfer::KSBlockingTransfer(foundation::URLSessionConfiguration configuration)
    : session_(std::make_shared<foundation::URLSession>(std::move(configuration))) {}

KSBlockingTransfer::Reply KSBlockingTransfer::fetchData(foundation::URLRequest request,
                                                        const Progress& progress) {
    auto reply = std::make_shared<Reply>();
    auto done = std::make_shared<bool>(false);
    auto task = session_->dataTaskWithRequest(
        std::move(request), [this, reply, done](auto data, auto response, auto error) {
            std::lock_guard lock(mutex_);
            reply->response = std::move(response);
            reply->error = std::move(error);
            if (data)
                reply->data = std::move(*data);
            *done = true;
            replied_.notify_all();
        });
    return await(task, reply, done, progress);
}

KSBlockingTransfer::Reply KSBlockingTransfer::download(foundation::URLRequest request,
                                                       const std::string& destination,
                                                       const Progress& progress) {
    auto reply = std::make_shared<Reply>();
    auto done = std::make_shared<bool>(false);
    auto task = session_->downloadTaskWithRequest(
        std::move(request),
        [this, reply, done, destination](auto location, auto response, auto error) {
            // The loaded file is removed once this returns: keep it now or never.
            if (location && response && response->statusCode == 200) {
                // Usually nothing is there; whatever cannot be removed fails the move.
                (void)foundation::FileManager::removeItem(destination);
                if (auto moved = foundation::FileManager::moveItem(location->path(), destination);
                    !moved) {
                    error = moved.error();
                    response.reset();
                }
            }
            std::lock_guard lock(mutex_);
            reply->response = std::move(response);
            reply->error = std::move(error);
            *done = true;
            replied_.notify_all();
        });
    return await(task, reply, done, progress);
}

KSBlockingTransfer::Reply KSBlockingTransfer::await(
    const std::shared_ptr<foundation::URLSessionTask>& task, const std::shared_ptr<Reply>& reply,
    const std::shared_ptr<bool>& done, const Progress& progress) {
    foundation::ObservationToken progressObservation;
    if (progress)
        progressObservation = task->fractionCompleted().observe(progress);
    {
        std::lock_guard lock(mutex_);
        if (cancelled_) {
            Reply cancelled;
            cancelled.error = foundation::URLError::make(
                foundation::URLError::Cancelled, task->originalRequest().url.absoluteString());
            return cancelled;
        }
        current_ = task;
    }
    task->resume();
    std::unique_lock lock(mutex_);
    replied_.wait(lock, [&] { return *done; });
    current_.reset();
    return std::move(*reply);
}

void KSBlockingTransfer::cancel() {
    std::shared_ptr<foundation::URLSessionTask> task;
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        task = current_;
    }
    if (task)
        task->cancel();
}

}  // namespace corvane
