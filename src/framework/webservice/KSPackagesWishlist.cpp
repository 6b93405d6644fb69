#include "framework/webservice/KSPackagesWishlist.h"

#include "foundation/Log.h"
#include "foundation/SharedInstance.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSWebService.h"

namespace corvane {

namespace {

std::string joined(const std::vector<std::string>& identifiers) {
    std::string text;
    for (const auto& identifier : identifiers) {
        if (!text.empty()) {
            text += ';';
        }
        text += identifier;
    }
    return text;
}

}  // namespace

std::shared_ptr<KSPackagesWishlist> KSPackagesWishlist::sharedInstance() {
    static auto* wishlist = new foundation::SharedInstance<KSPackagesWishlist>(
        [] { return std::make_shared<KSPackagesWishlist>(); });
    return wishlist->pointer();
}

std::vector<std::string> KSPackagesWishlist::wishlistedIdentifiers() {
    std::vector<std::string> identifiers;
    auto packages = KSDatabase::realm()
                        .objectsWhere<KSRPackage>("isInWishlist == YES")
                        .sortedResultsUsingKeyPath("identifier", true);
    for (const auto& package : packages) {
        // An identifier holding the separator would change the list; no valid package name
        // holds one.
        if (package.identifier.find(';') == std::string::npos) {
            identifiers.push_back(package.identifier);
        }
    }
    return identifiers;
}

void KSPackagesWishlist::syncWithTheKestruneAccount(std::function<void(bool)> completion) {
    auto& service = KSWebService::shared();
    const auto& account = KSAccount::instance();
    auto username = account->returnUsername();
    auto token = account->authenticationToken();
    if (!username || !token) {
        KSLog("The wishlist is not uploaded: nobody is signed in");
        if (completion) {
            service.deliver([completion = std::move(completion)] { completion(false); });
        }
        return;
    }
    service.post("wishlist", {{"user", *username}, {"packages", joined(wishlistedIdentifiers())}},
                 token,
                 [completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
                     if (completion) {
                         completion(reply.ok());
                     }
                 });
}

}  // namespace corvane
