#include "framework/storage/KSRDevelopers.h"

#include "foundation/DispatchQueue.h"
#include "foundation/ProcessState.h"
#include "foundation/Strings.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRDeveloper.h"

namespace corvane {

namespace {

// One serial queue, so that quick follow and unfollow taps land in the order they were made.
foundation::DispatchQueue& followWrites() {
    static auto* writes = [] {
        auto* queue = new foundation::DispatchQueue("developers.follow", 1);
        foundation::ProcessState::registerWork("changes to followed developers",
                                               [queue] { return queue->isIdle(); });
        return queue;
    }();
    return *writes;
}

}  // namespace

bool KSRDevelopers::isDeveloperFollowed(const std::string& name) const {
    auto developer =
        KSDatabase::realm().objectForPrimaryKey<KSRDeveloper>(foundation::lowercase(name));
    return developer && developer->isFollowed;
}

void KSRDevelopers::setDeveloper(const std::string& name, bool followed) {
    auto realm = KSDatabase::realm();
    followWrites().async([realm, key = foundation::lowercase(name), followed] {
        realm.write([&] {
            auto developer = realm.objectForPrimaryKey<KSRDeveloper>(key).value_or(KSRDeveloper{});
            developer.name = key;
            developer.isFollowed = followed;
            realm.addOrUpdateObject(developer);
        });
    });
}

void KSRDevelopers::waitForPendingChanges() {
    followWrites().sync([] {});
}

}  // namespace corvane
