#include "ImportedRepository.h"

#include <cstdlib>
#include <stdexcept>

#include "SharedData.h"
#include "foundation/DeviceRoot.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageIndexImporter.h"
#include "framework/storage/KSRSource.h"

namespace corvane::bench {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLocation = "https://repo.example.com/";

}  // namespace

ImportedRepository::ImportedRepository() {
    std::string pattern = (fs::temp_directory_path() / "corvane-bench-store-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    scratch_ = pattern;
    foundation::DeviceRoot::set((scratch_ / "device").string());
    auto database = KSDatabase::realm();
    KSRSource source;
    source.location = kLocation;
    database.write([&] { database.addOrUpdateObject(source); });
    KSRPackageIndexImporter::importPackages(
        kLocation, KSParsingUtility::arrayFromPackagesFromString(packagesIndex()), 1.7e9);
    packages_.reserve(kIndexStanzas);
    for (const auto& package : database.allObjects<KSRPackage>())
        packages_.push_back(package);
    if (packages_.size() != static_cast<std::size_t>(kIndexStanzas))
        throw std::runtime_error("the import did not store every package");
}

ImportedRepository::~ImportedRepository() {
    KSDatabase::forget();
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
}

ImportedRepository& ImportedRepository::shared() {
    static ImportedRepository repository;
    return repository;
}

std::string ImportedRepository::databasePath() const {
    return KSDatabase::path();
}

store::Realm ImportedRepository::realm() const {
    return KSDatabase::realm();
}

}  // namespace corvane::bench
