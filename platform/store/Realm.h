#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "foundation/Result.h"
#include "foundation/Value.h"
#include "store/Configuration.h"
#include "store/PredicateArgument.h"
#include "store/PredicateTranslator.h"
#include "store/RealmCore.h"
#include "store/Results.h"
#include "store/Schema.h"
#include "store/StoreError.h"

namespace store {

// An open object database: a handle that copies cheaply and may be used from any thread. Reads
// see every committed write; changes happen inside a write transaction, one thread at a time
// (others wait), and a write transaction begun again on the same thread joins the open one.
//
// Faults of use (a change outside a write transaction, a class not in the configuration, a
// malformed predicate) throw StoreError or PredicateError; opening, compacting and emptying the
// log report failures as Errors of domain kErrorDomain.
class Realm {
  public:
    static constexpr const char* kErrorDomain = "store";
    enum ErrorCode : long { OpenFailed = 1, CompactFailed = 2, TruncateLogFailed = 3 };

    // Creates the file when missing and migrates an older schema version. Fails for an
    // unreadable file, a newer schema version, a migration that throws, or a class changed
    // without a new schema version.
    static foundation::Result<Realm> open(const Configuration& configuration);
    static void setDefaultRealm(const Realm& realm);
    // Throws StoreError when no default was set.
    static Realm defaultRealm();

    std::uint64_t schemaVersion() const { return core_->schemaVersion(); }

    template <Record T>
    std::optional<T> objectForPrimaryKey(const foundation::Value& key) const {
        T record{};
        auto connection = core_->connection();
        if (!core_->table(T::schema()).readByKey(*connection, key, &record))
            return std::nullopt;
        return record;
    }
    template <Record T, typename... Args>
    Results<T> objectsWhere(std::string_view format, const Args&... arguments) const {
        return allObjects<T>().objectsWhere(format, arguments...);
    }
    template <Record T>
    Results<T> allObjects() const {
        core_->table(T::schema());
        return Results<T>(core_, Query(T::schema()));
    }

    // Runs the block inside a write transaction: committed when it returns, rolled back (and the
    // exception passed on) when it throws.
    void write(const std::function<void()>& block) const;
    void beginWriteTransaction() const { core_->beginWrite(); }
    // Throws StoreError (after rolling back) when SQLite cannot commit.
    void commitWriteTransaction() const { core_->commitWrite(); }
    void cancelWriteTransaction() const { core_->cancelWrite(); }
    bool inWriteTransaction() const { return core_->isWritingOnCurrentThread(); }
    // For the rest of this thread's write transaction, the writer's page cache holds up to this
    // many kibibytes: a large import that has memory to spare for a while.
    void setWriteCacheKibibytes(int kibibytes) const { core_->setWriteCacheKibibytes(kibibytes); }

    // Stores the record, replacing a stored one of the same primary key; the records it lists
    // are added or updated too.
    template <Record T>
    void addOrUpdateObject(const T& record) const {
        store(record, true);
    }
    // Throws StoreError when a record of the same primary key is stored.
    template <Record T>
    void addObject(const T& record) const {
        store(record, false);
    }
    // Deletes the stored record with the record's primary key (not the records it lists).
    template <Record T>
    void deleteObject(const T& record) const {
        const auto& schema = T::schema();
        core_->table(schema).removeByKey(core_->writeConnection(),
                                         schema.primaryKey().get(&record));
        core_->didChange(schema);
    }
    template <Record T>
    void deleteObjects(const Results<T>& results) const {
        if (results.core_ != core_)
            throw StoreError("the results belong to another database");
        auto& connection = core_->writeConnection();
        core_->table(T::schema()).removeRowids(connection, *results.rowids());
        core_->didChange(T::schema());
    }
    template <Record T>
    void deleteAllObjects() const {
        core_->table(T::schema()).removeAll(core_->writeConnection());
        core_->didChange(T::schema());
    }

    // Rewrites the file without free space (VACUUM); waits for the writer to finish first.
    foundation::Status compact() const;
    // Copies the write-ahead log into the file and empties it, so that the next process to open
    // the file has no log to read; waits for the writer to finish first. Fails, losing nothing,
    // when a reader still holds an older state once the busy timeout has passed.
    foundation::Status truncateLog() const;

  private:
    explicit Realm(std::shared_ptr<RealmCore> core) : core_(std::move(core)) {}

    template <Record T>
    void store(const T& record, bool update) const {
        core_->table(T::schema()).write(core_->writeConnection(), &record, update);
        core_->didChange(T::schema());
    }

    std::shared_ptr<RealmCore> core_;
};

}  // namespace store
