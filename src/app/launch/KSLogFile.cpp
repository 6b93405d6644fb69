#include "app/launch/KSLogFile.h"

#include <cstdio>

#include "app/launch/KSLogTrimmer.h"
#include "foundation/FileManager.h"
#include "framework/device/KSPaths.h"

namespace corvane {

using foundation::FileManager;

foundation::Status KSLogFile::prepare() {
    // A fresh device root lacks the folders above the log folder that a device always has.
    if (!FileManager::isDirectory(KSPaths::logDirectory()))
        return FileManager::createDirectory(KSPaths::logDirectory());
    if (FileManager::fileExists(KSPaths::logFile()))
        KSLogTrimmer::trimLogFile(KSPaths::logFile());
    return foundation::Success{};
}

bool KSLogFile::redirectStandardStreams() {
    const auto path = KSPaths::logFile();
    bool redirected = std::freopen(path.c_str(), "a+", stderr) != nullptr;
    redirected = std::freopen(path.c_str(), "a+", stdout) != nullptr && redirected;
    // Each line reaches the file whole and at once, as on a terminal: a reopened stream would
    // otherwise hold its lines until the process ends, and lose them when it crashes.
    std::setvbuf(stderr, nullptr, _IOLBF, BUFSIZ);
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    return redirected;
}

}  // namespace corvane
