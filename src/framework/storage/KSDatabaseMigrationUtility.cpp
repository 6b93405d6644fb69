#include "framework/storage/KSDatabaseMigrationUtility.h"

#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"

namespace corvane {

using foundation::FileManager;

namespace {

// Databases written before this day use a storage layout that cannot be migrated.
const double kOldestSupportedDatabase = foundation::Date::fromUTC(2019, 10, 28);

}  // namespace

bool KSDatabaseMigrationUtility::deleteDatabaseIfOutdated() {
    auto modified = FileManager::modificationDate(KSDatabase::path());
    if (!modified || *modified >= kOldestSupportedDatabase)
        return false;
    KSDatabase::forget();
    auto removed = FileManager::removeItem(KSPaths::dataDirectory());
    if (!removed.ok()) {
        KSLog("Could not delete the outdated data directory: %@",
              removed.error().localizedDescription());
        return false;
    }
    return true;
}

std::shared_ptr<uikit::AlertController> KSDatabaseMigrationUtility::didResetDatabaseAlert() {
    auto alert = uikit::AlertController::create(
        foundation::localized("Reset Database"),
        foundation::localized(
            "The database could not be opened and was reset. Your sources will be refreshed."),
        uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(foundation::localized("Ok"),
                                                uikit::AlertAction::Style::defaultStyle));
    return alert;
}

bool KSDatabaseMigrationUtility::migrateDatabaseForced(bool forced, bool* shouldRefresh) {
    // A folder that cannot be made fails the opening below, which tells the caller.
    if (auto made = FileManager::createDirectory(KSPaths::dataDirectory()); !made)
        KSLog("%@", made.error().localizedDescription());
    if (forced)
        removeDatabaseFiles();
    bool migrated = false;
    auto configuration = KSDatabase::configuration(
        [&migrated](store::Migration&, std::uint64_t) { migrated = true; });
    auto opened = store::Realm::open(configuration);
    bool recreated = forced;
    if (!opened.ok()) {
        KSLog("Recreating the database: %@", opened.error().localizedDescription());
        removeDatabaseFiles();
        opened = store::Realm::open(configuration);
        recreated = true;
    }
    if (!opened.ok()) {
        KSLog("Could not create the database: %@", opened.error().localizedDescription());
        KSDatabase::forget();
        return false;
    }
    KSDatabase::adopt(opened.value(), configuration.path);
    if (shouldRefresh && (recreated || migrated))
        *shouldRefresh = true;
    return !recreated;
}

void KSDatabaseMigrationUtility::removeDatabaseFiles() {
    KSDatabase::forget();
    const auto path = KSDatabase::path();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        if (!FileManager::fileExists(path + suffix))
            continue;
        if (auto removed = FileManager::removeItem(path + suffix); !removed)
            KSLog("%@", removed.error().localizedDescription());
    }
}

}  // namespace corvane
