#include "foundation/URLSessionTask.h"

#include <map>
#include <utility>
#include <vector>

#include "foundation/CurlTransfer.h"
#include "foundation/ProcessState.h"
#include "foundation/URLError.h"

namespace foundation {

namespace {

bool isLoadable(const URL& url) {
    return url.hasWebScheme() || url.isFileURL();
}

// Loads share a connection limit when they reach the same server.
std::string connectionKey(const URL& url) {
    std::string key = url.scheme() + "://" + url.host();
    if (auto port = url.port())
        key += ":" + std::to_string(*port);
    return key;
}

// The tasks resumed and not over yet: still loading, or with an outcome not yet handed to the
// completion handler. A process reset cancels them and waits until they are over, so that no
// handler of one use of the process runs into the next.
struct InFlight {
    std::mutex mutex;
    std::map<const URLSessionTask*, std::weak_ptr<URLSessionTask>> tasks;

    bool settle() {
        std::vector<std::shared_ptr<URLSessionTask>> live;
        {
            std::lock_guard lock(mutex);
            if (tasks.empty())
                return true;
            for (const auto& [key, task] : tasks)
                if (auto held = task.lock())
                    live.push_back(std::move(held));
        }
        for (const auto& task : live)
            task->cancel();
        return false;
    }
};

InFlight& inFlight() {
    // Never destroyed: loading threads may end while the process exits.
    static auto* shared = [] {
        auto* made = new InFlight();
        ProcessState::registerWork("URL loads", [made] { return made->settle(); });
        return made;
    }();
    return *shared;
}

// Held by whatever still has to happen for the task: its loading thread and the delivery of
// its outcome. When the last holder lets go, the task is over.
std::shared_ptr<void> takeOff(const std::shared_ptr<URLSessionTask>& task) {
    auto& flights = inFlight();
    {
        std::lock_guard lock(flights.mutex);
        flights.tasks[task.get()] = task;
    }
    return std::shared_ptr<void>(nullptr, [&flights, key = task.get()](void*) {
        std::lock_guard lock(flights.mutex);
        flights.tasks.erase(key);
    });
}

}  // namespace

URLSessionTask::URLSessionTask(std::uint64_t identifier, URLRequest request,
                               URLSessionConfiguration configuration,
                               std::shared_ptr<OperationQueue> delegateQueue,
                               std::shared_ptr<URLSessionConnectionPool> connections)
    : identifier_(identifier),
      request_(std::move(request)),
      configuration_(std::move(configuration)),
      delegateQueue_(std::move(delegateQueue)),
      connections_(std::move(connections)) {}

URLSessionTask::~URLSessionTask() = default;

void URLSessionTask::resume() {
    State suspended = State::Suspended;
    if (!state_.compare_exchange_strong(suspended, State::Running))
        return;
    auto flight = takeOff(shared_from_this());
    {
        std::lock_guard lock(mutex_);
        flight_ = flight;
    }
    if (!isLoadable(request_.url)) {
        deliver(std::nullopt,
                URLError::make(URLError::UnsupportedURL, request_.url.absoluteString()));
        return;
    }
    if (auto failure = prepare()) {
        deliver(std::nullopt, std::move(failure));
        return;
    }
    auto transfer = std::make_shared<CurlTransfer>(request_, configuration_);
    {
        std::lock_guard lock(mutex_);
        transfer_ = transfer;
    }
    connections_->add(
        connectionKey(request_.url),
        [self = shared_from_this(), transfer, flight] { self->load(transfer); },
        [self = shared_from_this()] {
            self->deliver(std::nullopt,
                          URLError::make(URLError::Unknown, self->request_.url.absoluteString()));
        });
}

void URLSessionTask::cancel() {
    State state = state_;
    do {
        if (state == State::Completed || state == State::Canceling)
            return;
    } while (!state_.compare_exchange_weak(state, State::Canceling));
    std::shared_ptr<CurlTransfer> transfer;
    {
        std::lock_guard lock(mutex_);
        transfer = transfer_;
    }
    if (transfer)
        transfer->cancel();
    deliver(std::nullopt, URLError::make(URLError::Cancelled, request_.url.absoluteString()));
}

void URLSessionTask::load(std::shared_ptr<CurlTransfer> transfer) {
    auto result = transfer->perform(
        [this](const char* bytes, std::size_t count) { return receive(bytes, count); },
        [this](std::int64_t received, std::int64_t expected) { progress(received, expected); });
    auto failure = endReceiving();
    if (!result.ok())
        failure = result.error();
    if (failure) {
        deliver(std::nullopt, std::move(failure));
        return;
    }
    if (!delivered_)
        fractionCompleted_.set(1.0);
    deliver(std::move(result).value(), std::nullopt);
}

void URLSessionTask::progress(std::int64_t received, std::int64_t expected) {
    bytesReceived_ = received;
    bytesExpected_ = expected;
    if (expected > 0)
        fractionCompleted_.set(std::min(1.0, static_cast<double>(received) / expected));
}

void URLSessionTask::deliver(std::optional<HTTPURLResponse> response, std::optional<Error> error) {
    if (delivered_.exchange(true))
        return;
    state_ = State::Completed;
    std::shared_ptr<void> flight;
    {
        std::lock_guard lock(mutex_);
        flight = std::exchange(flight_, nullptr);
    }
    delegateQueue_->addOperationWithBlock([self = shared_from_this(), flight,
                                           response = std::move(response),
                                           error = std::move(error)]() mutable {
        self->complete(std::move(response), std::move(error));
        flight.reset();
    });
}

}  // namespace foundation
