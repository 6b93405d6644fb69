#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace foundation {

// The connections of one session: a few loads at a time to one host and a cap for the whole
// session, every other load waiting its turn in the order it was added. A load runs on a thread
// of the pool, and a thread that has finished one goes on with the next that may start, so a
// session never holds more loading threads than its cap, however many tasks are resumed.
class URLSessionConnectionPool : public std::enable_shared_from_this<URLSessionConnectionPool> {
  public:
    using Block = std::function<void()>;

    URLSessionConnectionPool(int maximumPerHost, int maximumTotal);

    // Runs load on a pool thread once host has a connection free. When no thread can be made
    // for it, refuse runs instead, on the calling thread.
    void add(std::string host, Block load, Block refuse);

  private:
    struct Entry {
        std::string host;
        Block load;
        Block refuse;
    };

    // The first waiting load whose host has a connection free, counted as running. The caller
    // holds the mutex.
    std::optional<Entry> takeNext();
    // The caller holds the mutex.
    void release(const std::string& host);
    void serve(Entry entry);

    const int maximumPerHost_;
    const int maximumTotal_;
    std::mutex mutex_;
    std::deque<Entry> waiting_;
    std::map<std::string, int> runningPerHost_;
    int running_ = 0;
};

}  // namespace foundation
