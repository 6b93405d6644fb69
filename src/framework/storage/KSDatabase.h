#pragma once

#include <cstdint>
#include <string>

#include "store/Configuration.h"
#include "store/Realm.h"

namespace corvane {

// The application's object database: one file in the data directory holding every stored
// record class. The database of the current device root is also the store's default realm.
class KSDatabase {
  public:
    static constexpr std::uint64_t kSchemaVersion = 27;

    // The open database of the current device root; opened and migrated first when it is not
    // (a changed root gets its own). Throws store::StoreError when the file cannot be opened
    // even after being recreated.
    static store::Realm realm();

    static std::string path();
    static store::Configuration configuration(store::Configuration::MigrationBlock migration);

    // Makes realm the default database, standing for the file at path.
    static void adopt(const store::Realm& realm, const std::string& path);
    // Empties the write-ahead log of the open database into its file: a refresh leaves tens of
    // megabytes of pages there, which every later launch would otherwise read again before its
    // first screen. A reader in the way is logged; the log is emptied next time.
    static void truncateLog();
    // Forgets the open database, so that the next realm() opens the file anew (after it was
    // deleted).
    static void forget();
};

}  // namespace corvane
