#include "framework/storage/KSDatabase.h"

#include <mutex>
#include <optional>

#include "foundation/Log.h"
#include "foundation/ProcessState.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabaseMigrationUtility.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSearchHistory.h"
#include "framework/storage/KSRSource.h"
#include "store/StoreError.h"

namespace corvane {

namespace {

std::recursive_mutex openMutex;
std::optional<store::Realm> openRealm;
std::string openPath;

const bool forgottenByReset = foundation::ProcessState::registerReset(
    foundation::ProcessState::Phase::state, [] { KSDatabase::forget(); });

}  // namespace

store::Realm KSDatabase::realm() {
    std::lock_guard lock(openMutex);
    if (!openRealm || openPath != path()) {
        KSDatabaseMigrationUtility::migrateDatabaseForced(false, nullptr);
        if (!openRealm || openPath != path())
            throw store::StoreError("the database " + path() + " cannot be opened");
    }
    return *openRealm;
}

std::string KSDatabase::path() {
    return KSPaths::databaseFile();
}

store::Configuration KSDatabase::configuration(store::Configuration::MigrationBlock migration) {
    store::Configuration configuration;
    configuration.path = path();
    configuration.schemaVersion = kSchemaVersion;
    configuration.migrationBlock = std::move(migration);
    configuration
        .setObjectTypes<KSRSource, KSRPackage, KSRPackageVersion, KSRDeveloper, KSRSearchHistory>();
    return configuration;
}

void KSDatabase::adopt(const store::Realm& realm, const std::string& path) {
    std::lock_guard lock(openMutex);
    openRealm = realm;
    openPath = path;
    store::Realm::setDefaultRealm(realm);
}

void KSDatabase::truncateLog() {
    try {
        if (auto truncated = realm().truncateLog(); !truncated)
            KSLog("The database's log stays as it is: %@",
                  truncated.error().localizedDescription());
    } catch (const store::StoreError& error) {
        KSLog("The database's log stays as it is: %@", error.what());
    }
}

void KSDatabase::forget() {
    std::lock_guard lock(openMutex);
    openRealm.reset();
    openPath.clear();
}

}  // namespace corvane
