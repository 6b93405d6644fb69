#include "framework/storage/KSDataFolderMigration.h"

#include <string>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "framework/device/KSDeviceFile.h"
#include "framework/device/KSPaths.h"

namespace corvane {

using foundation::FileManager;

namespace {

bool isMissing(const foundation::Error& error) {
    return error.domain == KSDeviceFile::kErrorDomain && error.code == KSDeviceFile::kMissing;
}

}  // namespace

void KSDataFolderMigration::moveEarlierData() {
    if (FileManager::fileExists(KSPaths::databaseFile()) ||
        FileManager::fileExists(KSPaths::preferenceFile()))
        return;
    if (auto made = FileManager::createDirectory(KSPaths::dataDirectory()); !made) {
        KSLog("%@", made.error().localizedDescription());
        return;
    }
    // The write-ahead log first: a database without the commits it holds would lose them.
    const std::string database(KSPaths::kDatabaseFileName);
    move(database + "-wal", kMaxDatabaseBytes);
    move(database, kMaxDatabaseBytes);
    move(std::string(KSPaths::kPreferenceFileName), kMaxPreferencesBytes);
}

void KSDataFolderMigration::move(const std::string& name, std::uint64_t limit) {
    const auto devicePath = std::string(KSPaths::kDataDirectory) + "/" + name;
    const auto target = KSPaths::dataPath(name);
    const auto partial = target + ".moving";
    (void)FileManager::removeItem(partial);
    auto copied = KSDeviceFile::copy(devicePath, partial, limit);
    if (!copied) {
        if (!isMissing(copied.error()))
            KSLog("Not moved into the data folder: %@", copied.error().localizedDescription());
        return;
    }
    if (auto moved = FileManager::moveItem(partial, target); !moved) {
        KSLog("Not moved into the data folder: %@", moved.error().localizedDescription());
        (void)FileManager::removeItem(partial);
        return;
    }
    if (auto removed = KSDeviceFile::remove(devicePath); !removed)
        KSLog("Moved into the data folder but left in the device root: %@",
              removed.error().localizedDescription());
    KSLog("Moved %@ from the device root into the data folder", devicePath);
}

}  // namespace corvane
