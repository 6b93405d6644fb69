#include "store/Realm.h"

#include <mutex>

#include "store/StoreError.h"

namespace store {

namespace {

std::mutex defaultMutex;
std::optional<Realm> defaultInstance;

}  // namespace

foundation::Result<Realm> Realm::open(const Configuration& configuration) {
    try {
        return Realm(std::make_shared<RealmCore>(configuration));
    } catch (const std::exception& error) {
        return foundation::Error::make(
            kErrorDomain, OpenFailed,
            "cannot open the database " + configuration.path + ": " + error.what());
    }
}

void Realm::setDefaultRealm(const Realm& realm) {
    std::lock_guard lock(defaultMutex);
    defaultInstance = realm;
}

Realm Realm::defaultRealm() {
    std::lock_guard lock(defaultMutex);
    if (!defaultInstance)
        throw StoreError("no default database has been set");
    return *defaultInstance;
}

void Realm::write(const std::function<void()>& block) const {
    beginWriteTransaction();
    try {
        block();
    } catch (...) {
        cancelWriteTransaction();
        throw;
    }
    commitWriteTransaction();
}

foundation::Status Realm::compact() const {
    try {
        core_->compact();
        return foundation::Success{};
    } catch (const std::exception& error) {
        return foundation::Error::make(kErrorDomain, CompactFailed,
                                       std::string("cannot compact the database: ") + error.what());
    }
}

}  // namespace store
