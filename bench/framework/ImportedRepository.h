#pragma once

#include <filesystem>
#include <vector>

#include "framework/storage/KSRPackage.h"
#include "store/Realm.h"

namespace corvane::bench {

// The generated index, imported once through the importer a refresh uses into the database of a
// scratch device root: the kIndexStanzas records that the store and query benchmarks work on.
class ImportedRepository {
  public:
    static ImportedRepository& shared();
    ~ImportedRepository();
    ImportedRepository(const ImportedRepository&) = delete;
    ImportedRepository& operator=(const ImportedRepository&) = delete;

    const std::filesystem::path& scratch() const { return scratch_; }
    std::string databasePath() const;
    store::Realm realm() const;
    // Every stored package, as read back from the database.
    const std::vector<KSRPackage>& packages() const { return packages_; }

  private:
    ImportedRepository();

    std::filesystem::path scratch_;
    std::vector<KSRPackage> packages_;
};

}  // namespace corvane::bench
