#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Result.h"
#include "keychain/KeychainFile.h"

namespace keychain {

inline constexpr const char* kErrorDomain = "keychain";

enum ErrorCode : long {
    InvalidParameter = -50,  // an empty service or account
    ItemNotFound = -25300,
};

// Generic-password items by service and account, kept in one file that only its owner can read
// and that is replaced atomically at every change. Safe to use from any thread. A change that
// cannot be saved is not made.
class Keychain {
  public:
    // Where the device keeps its keychain, below the data folder (foundation::DataFolder): the
    // device root is open to every package.
    static constexpr const char* kDevicePath = "/var/Keychains/generic-passwords.plist";

    // The keychain of the current data folder (a new one when the folder has changed).
    static std::shared_ptr<Keychain> standard();

    // A keychain in the file at this host path, read at its first use. Two keychains on one file
    // do not see each other's later changes: share standard() within a process.
    explicit Keychain(std::string filePath) : file_(std::move(filePath)) {}

    // Adds the item or replaces its password.
    foundation::Status setPassword(const std::string& password, const std::string& service,
                                   const std::string& account);
    // ItemNotFound when there is no such item.
    foundation::Result<std::string> passwordForService(const std::string& service,
                                                       const std::string& account);
    // ItemNotFound when there is no such item.
    foundation::Status deletePasswordForService(const std::string& service,
                                                const std::string& account);
    // Sorted; empty when the service has none.
    foundation::Result<std::vector<std::string>> accountsForService(const std::string& service);

    const std::string& path() const { return file_.path(); }

  private:
    // The caller holds the mutex.
    foundation::Result<PasswordItems*> loadedItems();
    foundation::Status store(PasswordItems changed);

    std::mutex mutex_;
    KeychainFile file_;
    std::optional<PasswordItems> items_;
};

}  // namespace keychain
