#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "store/ConnectionPool.h"

namespace store {

// Copies the write-ahead log into the database file on a thread of its own. Left to SQLite, the
// commit that makes the log outgrow its limit does the copy itself and waits for the file to be
// written twice; here the commit returns once its pages are in the log. Readers and writers go
// on meanwhile: the copy is a passive checkpoint, which takes no lock they need.
class Checkpointer {
  public:
    // About 4 MiB of log, SQLite's own limit for its automatic checkpoints (1000 pages of its
    // default size) in the 16 KiB pages of the files the store makes.
    static constexpr int kLogFramesLimit = 256;

    explicit Checkpointer(ConnectionPool& pool) : pool_(pool) {}
    // Waits for a copy under way.
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

    // Called after each commit with the pages now in the log; starts a copy past the limit.
    void didCommit(int logFrames);

  private:
    void run();

    ConnectionPool& pool_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace store
