#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/Schema.h"

namespace store {

class Migration;

// How to open a database: its file, the record classes it holds, and the schema version with the
// block that moves stored data from an older version.
struct Configuration {
    using MigrationBlock =
        std::function<void(Migration& migration, std::uint64_t oldSchemaVersion)>;

    std::string path;
    std::uint64_t schemaVersion = 0;
    // Runs inside the migrating transaction after new properties were added (holding their
    // defaults) and before removed ones are dropped; a throw leaves the file as it was.
    MigrationBlock migrationBlock;
    // Classes listed by these (through lists of records) are included without being named.
    std::vector<const ObjectSchema*> objectSchemas;
    int busyTimeoutMilliseconds = 10000;

    template <Record... T>
    void setObjectTypes() {
        objectSchemas = {&T::schema()...};
    }
};

}  // namespace store
