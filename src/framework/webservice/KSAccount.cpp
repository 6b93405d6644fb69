#include "framework/webservice/KSAccount.h"

#include <array>

#include "foundation/Log.h"
#include "foundation/SharedInstance.h"
#include "foundation/Strings.h"
#include "framework/webservice/KSWebService.h"
#include "framework/webservice/KSWebServiceError.h"
#include "framework/webservice/KSWebServiceFields.h"
#include "keychain/Keychain.h"

namespace corvane {

using foundation::Error;

namespace {

constexpr const char* kUsernameItem = "username";
constexpr const char* kTokenItem = "token";
constexpr const char* kUserIdentifierItem = "userID";
constexpr const char* kPremiumTierItem = "premium";
// The token is removed first and stored last: an account is signed in only while it is there, so
// a reader never sees half an account.
constexpr std::array<const char*, 4> kItemsInRemovalOrder = {kTokenItem, kUsernameItem,
                                                             kUserIdentifierItem, kPremiumTierItem};

std::optional<std::string> item(const char* name) {
    auto password =
        keychain::Keychain::standard()->passwordForService(KSAccount::kKeychainService, name);
    if (!password || password->empty()) {
        return std::nullopt;
    }
    return *password;
}

void removeItems() {
    auto keychain = keychain::Keychain::standard();
    for (const char* name : kItemsInRemovalOrder) {
        // An item that is not there is as good as removed; one that stays is a signed-in
        // account left behind.
        auto removed = keychain->deletePasswordForService(KSAccount::kKeychainService, name);
        if (!removed && removed.error().code != keychain::ItemNotFound)
            KSLog("The account could not be removed from the keychain: %@",
                  removed.error().localizedDescription());
    }
}

Error signInError(std::string description) {
    return Error::make(KSWebServiceError::kDomain, KSWebServiceError::MalformedReply,
                       std::move(description));
}

}  // namespace

std::shared_ptr<KSAccount> KSAccount::instance() {
    static auto* account =
        new foundation::SharedInstance<KSAccount>([] { return std::make_shared<KSAccount>(); });
    return account->pointer();
}

std::optional<std::string> KSAccount::returnUsername() const {
    if (!item(kTokenItem)) {
        return std::nullopt;
    }
    return item(kUsernameItem);
}

std::optional<std::string> KSAccount::authenticationToken() const {
    return item(kUsernameItem) ? item(kTokenItem) : std::nullopt;
}

std::optional<std::string> KSAccount::userIdentifier() const {
    return isSignedIn() ? item(kUserIdentifierItem) : std::nullopt;
}

std::int64_t KSAccount::premiumTier() const {
    if (!isSignedIn()) {
        return 0;
    }
    return foundation::integerValue(item(kPremiumTierItem).value_or("0"));
}

void KSAccount::signIn(const std::string& username, const std::string& password,
                       SignInCompletion completion) {
    auto& service = KSWebService::shared();
    if (username.empty() || password.empty()) {
        service.deliver([completion = std::move(completion)] {
            completion(Error::make(KSWebServiceError::kDomain, KSWebServiceError::InvalidRequest,
                                   "Both a user name and a password are needed to sign in"));
        });
        return;
    }
    service.post("account/signin", {{"username", username}, {"password", password}}, std::nullopt,
                 [self = instance(), username,
                  completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
                     if (!reply) {
                         completion(reply.error());
                         return;
                     }
                     auto stored = self->store(username, *reply);
                     completion(stored ? std::nullopt : std::optional(stored.error()));
                 });
}

void KSAccount::signOut() {
    removeItems();
}

foundation::Status KSAccount::store(const std::string& username, const foundation::Value& reply) {
    auto token = KSWebServiceFields::text(reply["token"]);
    auto userIdentifier = KSWebServiceFields::textOrNumber(reply["userID"]);
    if (!token || !userIdentifier) {
        return signInError("The sign-in reply has no \"token\" or no \"userID\"");
    }
    const std::array<std::pair<const char*, std::string>, 4> items = {{
        {kUsernameItem, username},
        {kUserIdentifierItem, *userIdentifier},
        {kPremiumTierItem, std::to_string(KSWebServiceFields::count(reply["premium"]))},
        {kTokenItem, *token},
    }};
    removeItems();
    auto keychain = keychain::Keychain::standard();
    for (const auto& [name, value] : items) {
        auto saved = keychain->setPassword(value, kKeychainService, name);
        if (!saved) {
            KSLog("The account could not be stored in the keychain: %@",
                  saved.error().localizedDescription());
            removeItems();
            return saved.error();
        }
    }
    return foundation::Success{};
}

}  // namespace corvane
