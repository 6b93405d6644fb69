#include "store/RealmCore.h"

#include "store/SchemaMigrator.h"
#include "store/StoreError.h"

namespace store {

RealmCore::RealmCore(const Configuration& configuration)
    : schemaVersion_(configuration.schemaVersion),
      pool_(configuration.path, configuration.busyTimeoutMilliseconds,
            [this](std::int64_t logBytes) { checkpointer_.didCommit(logBytes); }) {
    for (const auto* schema : configuration.objectSchemas)
        addTable(*schema);
    for (auto& [name, table] : tables_) {
        table->resolveElementTables(tables_);
        reachedClasses_.emplace(&table->schema(), classesReachedFrom(table->schema()));
    }
    auto connection = pool_.lease();
    SchemaMigrator(*connection, tables_, configuration).run();
}

void RealmCore::addTable(const ObjectSchema& schema) {
    auto existing = tables_.find(schema.className());
    if (existing != tables_.end()) {
        if (&existing->second->schema() != &schema)
            throw StoreError("two record types share the class name " + schema.className());
        return;
    }
    schema.validate();
    tables_.emplace(schema.className(), std::make_unique<Table>(schema));
    for (const auto& property : schema.properties())
        if (property.type == PropertyType::ObjectList)
            addTable(*property.elementSchema);
}

const Table& RealmCore::table(const ObjectSchema& schema) const {
    auto found = tables_.find(schema.className());
    if (found == tables_.end() || &found->second->schema() != &schema)
        throw StoreError("class " + schema.className() +
                         " is not in this database's configuration");
    return *found->second;
}

ConnectionPool::Lease RealmCore::connection() {
    if (writer_.isHeldByCurrentThread())
        return ConnectionPool::Lease(writer_.connection());
    return pool_.lease();
}

void RealmCore::commitWrite() {
    auto written = writer_.commit();
    if (!written)
        return;
    ++generation_;
    notifications_.didCommit(*written);
}

void RealmCore::cancelWrite() {
    writer_.cancel();
    ++generation_;
}

Connection& RealmCore::writeConnection() {
    if (!writer_.isHeldByCurrentThread())
        throw StoreError(
            "objects can only be added, changed or deleted inside a write transaction");
    return writer_.connection();
}

void RealmCore::didChange(const ObjectSchema& schema) {
    for (const auto& name : reachedClasses_.at(&schema))
        writer_.touch(name);
    ++generation_;
}

foundation::ObservationToken RealmCore::observe(const ObjectSchema& schema,
                                                std::function<void()> block) {
    return notifications_.add(classesReachedFrom(schema), std::move(block));
}

void RealmCore::compact() {
    writer_.runExclusively([](Connection& connection) {
        connection.execute("VACUUM");
        connection.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    });
}

void RealmCore::truncateLog() {
    writer_.runExclusively([](Connection& connection) {
        // The first column is 1 when a reader kept some of the log from being copied.
        if (connection.database().execAndGet("PRAGMA wal_checkpoint(TRUNCATE)").getInt() != 0)
            throw StoreError("a reader still reads from the log");
    });
}

std::set<std::string> RealmCore::classesReachedFrom(const ObjectSchema& schema) const {
    std::set<std::string> names;
    std::vector<const ObjectSchema*> pending{&schema};
    while (!pending.empty()) {
        const auto* next = pending.back();
        pending.pop_back();
        if (!names.insert(next->className()).second)
            continue;
        for (const auto& property : next->properties())
            if (property.type == PropertyType::ObjectList)
                pending.push_back(property.elementSchema);
    }
    return names;
}

}  // namespace store
