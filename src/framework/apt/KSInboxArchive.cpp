#include "framework/apt/KSInboxArchive.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/device/KSDeviceFile.h"
#include "framework/device/KSPaths.h"

namespace corvane {

using foundation::FileManager;

foundation::Result<std::shared_ptr<KSInboxArchive>> KSInboxArchive::copyOf(
    const std::string& path) {
    if (!isPlainPath(path))
        return pathError(kNotAnArchivePath, path, "\"" + path + "\" is not a package archive.");
    FOUNDATION_RETURN_IF_ERROR(FileManager::createDirectory(inboxDirectory()));
    const auto copy = inboxDirectory() + "/" + generatedName();
    // The content, not a link: a link would let the file change between reading and installing.
    auto copied = KSDeviceFile::copyHostFile(path, copy, kMaxArchiveBytes);
    if (copied)
        return std::make_shared<KSInboxArchive>(copy);
    const auto& error = copied.error();
    if (error.domain != KSDeviceFile::kErrorDomain)
        return foundation::Error::make(
            kErrorDomain, kCopyFailed,
            "The archive could not be copied: " + error.localizedDescription());
    if (error.code == KSDeviceFile::kMissing)
        return pathError(kNoSuchFile, path, "\u201C" + path + "\u201D: no such file.");
    return pathError(kUnreadable, path,
                     "\u201C" + path + "\u201D cannot be read: " +
                         error.userInfo[KSDeviceFile::kReasonKey].stringValue());
}

std::string KSInboxArchive::inboxDirectory() {
    return KSPaths::dataPath(kInboxName);
}

void KSInboxArchive::emptyInbox() {
    if (!FileManager::fileExists(inboxDirectory()))
        return;
    if (auto removed = FileManager::removeItem(inboxDirectory()); !removed)
        KSLog("The inbox was not emptied: %@", removed.error().localizedDescription());
}

KSInboxArchive::~KSInboxArchive() {
    if (auto removed = FileManager::removeItem(path_); !removed)
        KSLog("The inbox copy %@ was not removed: %@", path_,
              removed.error().localizedDescription());
}

bool KSInboxArchive::isPlainPath(const std::string& path) {
    const bool printable = std::none_of(path.begin(), path.end(), [](unsigned char character) {
        return character < 0x20 || character == 0x7f;
    });
    return foundation::hasPrefix(path, "/") && printable;
}

foundation::Error KSInboxArchive::pathError(ErrorCode code, const std::string& path,
                                            const std::string& description) {
    auto error = foundation::Error::make(kErrorDomain, code, description);
    error.userInfo.mutableDictionary()["path"] = path;
    return error;
}

// Nobody can guess the next name, so nothing can be put in its place beforehand.
std::string KSInboxArchive::generatedName() {
    std::random_device random;
    std::string name;
    for (int part = 0; part < 4; ++part) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(random()));
        name += hex;
    }
    return name + ".deb";
}

}  // namespace corvane
