#include "store/Realm.h"

#include "foundation/ProcessValue.h"
#include "store/StoreError.h"

namespace store {

namespace {

foundation::ProcessValue<std::optional<Realm>> defaultInstance;

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
    defaultInstance.set(realm);
}

Realm Realm::defaultRealm() {
    auto realm = defaultInstance.get();
    if (!realm)
        throw StoreError("no default database has been set");
    return *realm;
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

foundation::Status Realm::truncateLog() const {
    try {
        core_->truncateLog();
        return foundation::Success{};
    } catch (const std::exception& error) {
        return foundation::Error::make(kErrorDomain, TruncateLogFailed,
                                       std::string("cannot empty the log: ") + error.what());
    }
}

}  // namespace store
