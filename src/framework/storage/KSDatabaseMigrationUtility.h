#pragma once

#include <memory>

#include "uikit/AlertController.h"

namespace corvane {

// Keeps the database file usable across versions of the application: removes data from before
// the current storage layout, migrates older schema versions and recreates a file that cannot
// be opened.
class KSDatabaseMigrationUtility {
  public:
    // Deletes the whole data directory when the database file was last changed before
    // 2019-10-28 (UTC); true when it did.
    static bool deleteDatabaseIfOutdated();
    // "Reset Database" with one "Ok" action, for the caller to present.
    static std::shared_ptr<uikit::AlertController> didResetDatabaseAlert();
    // Opens or migrates the database (schema version 27) and makes it the default one. False
    // when the database had to be deleted and recreated: because it could not be opened
    // (damaged, or written by a newer version) or because forced asks for a fresh one.
    // shouldRefresh (may be null) is set when every source needs refreshing: after a
    // recreation or a migration from an older schema version; it is never cleared.
    static bool migrateDatabaseForced(bool forced, bool* shouldRefresh);

  private:
    static void removeDatabaseFiles();
};

}  // namespace corvane
