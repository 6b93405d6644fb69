#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Earlier versions kept the program's own files inside the device root, where packages can
// write. Their database and preferences are moved into the data folder once, while it holds
// none of its own: read without following any link, copied, then unlinked from the device root.
// The rest (caches, APT's folder, the log) is made anew.
class KSDataFolderMigration {
  public:
    static constexpr std::uint64_t kMaxDatabaseBytes = 4ull << 30;
    static constexpr std::uint64_t kMaxPreferencesBytes = 16ull << 20;

    // Before the database is opened. What cannot be moved is named in the log and left.
    static void moveEarlierData();

  private:
    static void move(const std::string& name, std::uint64_t limit);
};

}  // namespace corvane
