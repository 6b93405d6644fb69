#include "keychain/KeychainFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/PropertyList.h"

namespace keychain {

using foundation::FileManager;
using foundation::Value;

namespace {

constexpr int kMaximumCorruptCopies = 100;

std::optional<PasswordItems> itemsFrom(const Value& list) {
    if (!list.isDictionary())
        return std::nullopt;
    PasswordItems items;
    for (const auto& [service, accounts] : list.dictionary()) {
        if (!accounts.isDictionary())
            return std::nullopt;
        for (const auto& [account, password] : accounts.dictionary()) {
            if (!password.isData())
                return std::nullopt;
            items[service][account] = std::string(password.data()->begin(), password.data()->end());
        }
    }
    return items;
}

Value valueFrom(const PasswordItems& items) {
    foundation::Dictionary services;
    for (const auto& [service, accounts] : items) {
        foundation::Dictionary passwords;
        for (const auto& [account, password] : accounts)
            passwords[account] = foundation::Bytes(password.begin(), password.end());
        services[service] = std::move(passwords);
    }
    return services;
}

foundation::Error systemError(const std::string& path, const std::string& what) {
    auto error =
        foundation::Error::make(FileManager::kErrorDomain, FileManager::kWriteUnknown,
                                "Could not " + what + " " + path + ": " + std::strerror(errno));
    error.userInfo.mutableDictionary()[FileManager::kFilePathKey] = path;
    return error;
}

}  // namespace

foundation::Result<PasswordItems> KeychainFile::load() {
    corrupt_ = false;
    if (!FileManager::fileExists(path_))
        return PasswordItems{};
    if (FileManager::fileSize(path_).value_or(0) > kMaximumSize)
        return readAsCorrupt("it is larger than a keychain can be");
    auto data = FileManager::readFile(path_);
    FOUNDATION_RETURN_IF_ERROR(data);
    if (data->empty())
        return PasswordItems{};
    auto list = foundation::PropertyList::read(*data);
    if (!list)
        return readAsCorrupt(list.error().localizedDescription());
    auto items = itemsFrom(*list);
    if (!items)
        return readAsCorrupt("it does not hold services with accounts and passwords");
    return std::move(*items);
}

PasswordItems KeychainFile::readAsCorrupt(const std::string& why) {
    corrupt_ = true;
    foundation::logPlain("keychain: " + path_ + " is unusable (" + why +
                         "); it reads as empty and is kept aside at the next save");
    return {};
}

foundation::Status KeychainFile::save(const PasswordItems& items) {
    if (corrupt_) {
        FOUNDATION_RETURN_IF_ERROR(moveCorruptFileAside());
        corrupt_ = false;
    }
    auto text = foundation::PropertyList::writeXML(valueFrom(items));
    FOUNDATION_RETURN_IF_ERROR(text);
    FOUNDATION_RETURN_IF_ERROR(prepareOwnerOnlyFile());
    return FileManager::writeAtomically(path_, *text);
}

foundation::Status KeychainFile::moveCorruptFileAside() {
    if (!FileManager::fileExists(path_))
        return foundation::Success{};
    for (int copy = 1; copy <= kMaximumCorruptCopies; ++copy) {
        std::string aside = path_ + ".corrupt" + (copy == 1 ? "" : "-" + std::to_string(copy));
        auto moved = FileManager::moveItem(path_, aside);
        if (moved) {
            foundation::logPlain("keychain: kept the unusable keychain file as " + aside);
            return moved;
        }
        if (moved.error().code != FileManager::kWriteFileExists)
            return moved;
    }
    errno = EEXIST;
    return systemError(path_, "keep aside the unusable keychain file");
}

// The file exists with mode 0600 before any secret is written: the atomic write keeps the mode
// of the file it replaces, and its temporary file is made readable by its owner only.
foundation::Status KeychainFile::prepareOwnerOnlyFile() const {
    std::string folder = std::filesystem::path(path_).parent_path().string();
    bool folderExisted = FileManager::isDirectory(folder);
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(folder));
    if (!folderExisted)
        ::chmod(folder.c_str(), 0700);
    int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return systemError(path_, "create");
    bool restricted = ::fchmod(fd, 0600) == 0;
    int fchmodError = errno;
    ::close(fd);
    errno = fchmodError;
    if (!restricted)
        return systemError(path_, "restrict the permissions of");
    return foundation::Success{};
}

}  // namespace keychain
