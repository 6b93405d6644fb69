#include "keychain/Keychain.h"

#include "foundation/DataFolder.h"
#include "foundation/ProcessValue.h"

namespace keychain {

namespace {

// The keychain of the current data folder, kept while the folder stays.
foundation::ProcessValue<std::shared_ptr<Keychain>> standardKeychain;

foundation::Error notFound(const std::string& service, const std::string& account) {
    return foundation::Error::make(kErrorDomain, ItemNotFound,
                                   "No password for account \"" + account + "\" of service \"" +
                                       service + "\" in the keychain.");
}

std::optional<foundation::Error> invalid(const std::string& service, const std::string& account) {
    if (!service.empty() && !account.empty())
        return std::nullopt;
    return foundation::Error::make(kErrorDomain, InvalidParameter,
                                   "A keychain item needs a service and an account.");
}

}  // namespace

std::shared_ptr<Keychain> Keychain::standard() {
    const std::string path = foundation::DataFolder::resolve(kDevicePath);
    return standardKeychain.update([&path](std::shared_ptr<Keychain>& keychain) {
        if (!keychain || keychain->path() != path)
            keychain = std::make_shared<Keychain>(path);
        return keychain;
    });
}

foundation::Result<PasswordItems*> Keychain::loadedItems() {
    if (!items_) {
        auto loaded = file_.load();
        FOUNDATION_RETURN_IF_ERROR(loaded);
        items_ = std::move(*loaded);
    }
    return &*items_;
}

foundation::Status Keychain::store(PasswordItems changed) {
    FOUNDATION_RETURN_IF_ERROR(file_.save(changed));
    items_ = std::move(changed);
    return foundation::Success{};
}

foundation::Status Keychain::setPassword(const std::string& password, const std::string& service,
                                         const std::string& account) {
    if (auto error = invalid(service, account))
        return *error;
    std::lock_guard lock(mutex_);
    auto items = loadedItems();
    FOUNDATION_RETURN_IF_ERROR(items);
    PasswordItems changed = **items;
    changed[service][account] = password;
    return store(std::move(changed));
}

foundation::Result<std::string> Keychain::passwordForService(const std::string& service,
                                                             const std::string& account) {
    std::lock_guard lock(mutex_);
    auto items = loadedItems();
    FOUNDATION_RETURN_IF_ERROR(items);
    auto accounts = (*items)->find(service);
    if (accounts == (*items)->end())
        return notFound(service, account);
    auto password = accounts->second.find(account);
    if (password == accounts->second.end())
        return notFound(service, account);
    return password->second;
}

foundation::Status Keychain::deletePasswordForService(const std::string& service,
                                                      const std::string& account) {
    std::lock_guard lock(mutex_);
    auto items = loadedItems();
    FOUNDATION_RETURN_IF_ERROR(items);
    PasswordItems changed = **items;
    auto accounts = changed.find(service);
    if (accounts == changed.end() || accounts->second.erase(account) == 0)
        return notFound(service, account);
    if (accounts->second.empty())
        changed.erase(accounts);
    return store(std::move(changed));
}

foundation::Result<std::vector<std::string>> Keychain::accountsForService(
    const std::string& service) {
    std::lock_guard lock(mutex_);
    auto items = loadedItems();
    FOUNDATION_RETURN_IF_ERROR(items);
    std::vector<std::string> accounts;
    if (auto found = (*items)->find(service); found != (*items)->end())
        for (const auto& [account, password] : found->second)
            accounts.push_back(account);
    return accounts;
}

}  // namespace keychain
