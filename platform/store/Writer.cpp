#include "store/Writer.h"

#include <sqlite3.h>

#include <string>
#include <utility>

#include "store/StoreError.h"

namespace store {

void Writer::begin() {
    if (isHeldByCurrentThread()) {
        connection_->execute("SAVEPOINT " + savepointName());
        ++depth_;
        return;
    }
    std::unique_lock lock(mutex_);
    if (!connection_) {
        connection_ = pool_.take();
        connection_->execute(cacheSetting());
    }
    connection_->execute("BEGIN IMMEDIATE");
    lock.release();
    owner_ = std::this_thread::get_id();
    depth_ = 1;
}

std::optional<std::set<std::string>> Writer::commit() {
    requireHeld("commit");
    if (depth_ > 1) {
        --depth_;
        connection_->execute("RELEASE " + savepointName());
        return std::nullopt;
    }
    try {
        connection_->execute("COMMIT");
    } catch (const std::exception& error) {
        cancel();
        throw StoreError(std::string("the write transaction could not be committed: ") +
                         error.what());
    }
    sqlite3_db_release_memory(connection_->database().getHandle());
    auto touched = std::move(touched_);
    release();
    return touched;
}

bool Writer::cancel() {
    requireHeld("cancel");
    if (depth_ > 1) {
        --depth_;
        auto name = savepointName();
        connection_->execute("ROLLBACK TO " + name + "; RELEASE " + name);
        return false;
    }
    try {
        connection_->execute("ROLLBACK");
    } catch (...) {
        // SQLite may already have rolled back on its own (after an I/O error); nothing is left.
    }
    release();
    return true;
}

void Writer::runExclusively(const std::function<void(Connection&)>& work) {
    if (isHeldByCurrentThread())
        throw StoreError("cannot compact or empty the log inside a write transaction");
    std::lock_guard lock(mutex_);
    auto connection = pool_.take();
    work(*connection);
    pool_.give(std::move(connection));
}

void Writer::requireHeld(const char* what) const {
    if (!isHeldByCurrentThread())
        throw StoreError(std::string("cannot ") + what +
                         " a write transaction that this thread did not begin");
}

// Savepoint names are made from the nesting depth alone, never from outside text.
std::string Writer::savepointName() const {
    return "store_level_" + std::to_string(depth_);
}

void Writer::setCacheKibibytes(int kibibytes) {
    requireHeld("resize the page cache of");
    // A number is no outside text; PRAGMA takes no bound parameters.
    connection_->execute("PRAGMA cache_size = " + std::to_string(-kibibytes));
    cacheResized_ = true;
}

void Writer::release() {
    if (std::exchange(cacheResized_, false))
        connection_->execute(cacheSetting());
    touched_.clear();
    depth_ = 0;
    owner_ = std::thread::id();
    mutex_.unlock();
}

}  // namespace store
