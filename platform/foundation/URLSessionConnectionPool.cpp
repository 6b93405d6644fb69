#include "foundation/URLSessionConnectionPool.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace foundation {

URLSessionConnectionPool::URLSessionConnectionPool(int maximumPerHost, int maximumTotal)
    : maximumPerHost_(std::max(1, maximumPerHost)), maximumTotal_(std::max(1, maximumTotal)) {}

void URLSessionConnectionPool::add(std::string host, Block load, Block refuse) {
    std::optional<Entry> next;
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back({std::move(host), std::move(load), std::move(refuse)});
        next = takeNext();
    }
    if (!next)
        return;
    try {
        std::thread([self = shared_from_this(), entry = *next]() mutable {
            self->serve(std::move(entry));
        }).detach();
    } catch (const std::system_error&) {
        {
            std::lock_guard lock(mutex_);
            release(next->host);
        }
        next->refuse();
    }
}

std::optional<URLSessionConnectionPool::Entry> URLSessionConnectionPool::takeNext() {
    if (running_ >= maximumTotal_)
        return std::nullopt;
    auto free = std::ranges::find_if(waiting_, [this](const Entry& entry) {
        auto host = runningPerHost_.find(entry.host);
        return host == runningPerHost_.end() || host->second < maximumPerHost_;
    });
    if (free == waiting_.end())
        return std::nullopt;
    Entry entry = std::move(*free);
    waiting_.erase(free);
    ++running_;
    ++runningPerHost_[entry.host];
    return entry;
}

void URLSessionConnectionPool::release(const std::string& host) {
    --running_;
    if (--runningPerHost_[host] == 0)
        runningPerHost_.erase(host);
}

void URLSessionConnectionPool::serve(Entry entry) {
    for (;;) {
        entry.load();
        // What the load holds goes before the lock is taken: letting go of a task may end it.
        entry.load = nullptr;
        entry.refuse = nullptr;
        std::lock_guard lock(mutex_);
        release(entry.host);
        auto next = takeNext();
        if (!next)
            return;
        entry = std::move(*next);
    }
}

}  // namespace foundation
