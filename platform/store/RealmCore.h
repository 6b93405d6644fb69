#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "foundation/ObservationToken.h"
#include "store/Checkpointer.h"
#include "store/Configuration.h"
#include "store/ConnectionPool.h"
#include "store/NotificationRegistry.h"
#include "store/Table.h"
#include "store/Writer.h"

namespace store {

// The untyped heart of an open database, shared by every Realm handle and result set on it:
// the tables, the connections, the write transaction, the write generation that live results
// compare against, and the change observers.
class RealmCore {
  public:
    // Opens, creates or migrates the file; throws StoreError or SQLite::Exception.
    explicit RealmCore(const Configuration& configuration);
    RealmCore(const RealmCore&) = delete;
    RealmCore& operator=(const RealmCore&) = delete;

    std::uint64_t schemaVersion() const { return schemaVersion_; }
    // Throws StoreError for a class that is not in the configuration.
    const Table& table(const ObjectSchema& schema) const;

    // The current thread's write transaction's connection, else a pooled one.
    ConnectionPool::Lease connection();
    // Changes with every write, so that cached results know to read again.
    std::uint64_t generation() const { return generation_.load(); }

    void beginWrite() { writer_.begin(); }
    void commitWrite();
    void cancelWrite();
    bool isWritingOnCurrentThread() const { return writer_.isHeldByCurrentThread(); }
    // Throws StoreError when the current thread has no write transaction.
    void setWriteCacheKibibytes(int kibibytes) { writer_.setCacheKibibytes(kibibytes); }
    // Throws StoreError when the current thread has no write transaction.
    Connection& writeConnection();
    // Call after each change made on writeConnection(), for a class of the configuration.
    void didChange(const ObjectSchema& schema);

    // The block runs on the main run loop after each commit that wrote the class or a class it
    // lists.
    [[nodiscard]] foundation::ObservationToken observe(const ObjectSchema& schema,
                                                       std::function<void()> block);

    void compact();
    // Throws StoreError when a reader kept the log from being emptied.
    void truncateLog();

  private:
    void addTable(const ObjectSchema& schema);
    std::set<std::string> classesReachedFrom(const ObjectSchema& schema) const;

    std::map<std::string, std::unique_ptr<Table>> tables_;
    // Each class with the classes it lists, worked out once: every write names them.
    std::map<const ObjectSchema*, std::set<std::string>> reachedClasses_;
    std::uint64_t schemaVersion_;
    ConnectionPool pool_;
    Writer writer_{pool_};
    Checkpointer checkpointer_{pool_};
    std::atomic<std::uint64_t> generation_{1};
    NotificationRegistry notifications_;
};

}  // namespace store
