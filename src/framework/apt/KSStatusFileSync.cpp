#include "framework/apt/KSStatusFileSync.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "foundation/Date.h"
#include "foundation/Log.h"
#include "foundation/ProcessValue.h"
#include "foundation/Strings.h"
#include "framework/apt/KSDpkgStatus.h"
#include "framework/debian/ControlFileParser.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/debian/VersionCompare.h"
#include "framework/device/KSDeviceFile.h"
#include "framework/device/KSPaths.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackageControlFields.h"

namespace corvane {

namespace {

std::mutex runMutex;
foundation::ProcessValue<KSStatusFileSync::Report> lastRun;

// An architecture as dpkg names it ("iphoneos-arm"), safe to put into a file name.
bool isArchitectureName(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

bool sameRecord(const KSRPackage& a, const KSRPackage& b) {
    return KSRPackage::schema().dictionary(&a) == KSRPackage::schema().dictionary(&b);
}

}  // namespace

KSStatusFileSync::Report KSStatusFileSync::synchronise() {
    std::lock_guard lock(runMutex);
    KSStatusFileSync sync(KSDatabase::realm());
    if (!sync.readStatusFile()) {
        lastRun.set(sync.report_);
        return sync.report_;
    }
    sync.realm_.write([&] {
        for (const auto& [name, installed] : sync.installed_)
            sync.markInstalled(installed);
        sync.unmarkRemoved();
    });
    lastRun.set(sync.report_);
    return sync.report_;
}

KSStatusFileSync::Report KSStatusFileSync::lastReport() {
    return lastRun.get();
}

bool KSStatusFileSync::readStatusFile() {
    auto text = KSDeviceFile::read(KSPaths::kDpkgStatusFile, kMaxStatusFileBytes);
    if (!text.ok() && text.error().code == KSDeviceFile::kMissing)
        return true;
    if (!text.ok()) {
        KSLog("The dpkg status file is not read: %@", text.error().localizedDescription());
        return false;
    }
    for (const auto& element : ControlFileParser::parse(text->bytes, "Package")) {
        const auto name = element["Package"].stringValue();
        const auto status = KSDpkgStatus::parse(element["Status"].stringValue());
        if (!isValidPackageName(name)) {
            KSLog("Ignoring \"%@\" of the dpkg status file: not a valid package name", name);
            continue;
        }
        if (!status || (!status->isConfigured() && !status->isPartlyInstalled()))
            continue;
        installed_.try_emplace(
            foundation::lowercase(name),
            InstalledPackage{element.dictionary(), name, element["Version"].stringValue(),
                             status->isHeld()});
        if (status->isPartlyInstalled())
            report_.partiallyInstalled.push_back(name);
    }
    return true;
}

void KSStatusFileSync::markInstalled(const InstalledPackage& installed) {
    const auto stored = storedPackage(installed.name);
    KSRPackage package = stored.value_or(KSRPackage{});
    if (!stored) {
        package.identifier = installed.name;
        package.initialDate = foundation::Date::now();
        report_.added.push_back(installed.name);
    }
    if (!package.sourceLocation)
        KSRPackageControlFields::apply(installed.stanza, package);
    std::optional<double> installDate;
    package.installedFiles = installedFiles(installed, &installDate);
    if (installDate)
        package.installDate = installDate;
    package.isInstalled = true;
    package.installedVersion =
        installed.version.empty() ? std::nullopt : std::optional(installed.version);
    package.isHeld = installed.isHeld;
    package.isUpdated = package.version && greaterThan(*package.version, installed.version);
    if (!stored || !sameRecord(*stored, package))
        realm_.addOrUpdateObject(package);
    markedIdentifiers_.push_back(package.identifier);
    report_.installed.push_back(package.identifier);
}

void KSStatusFileSync::unmarkRemoved() {
    const std::set<std::string> marked(markedIdentifiers_.begin(), markedIdentifiers_.end());
    std::vector<KSRPackage> removed;
    for (const auto& package : realm_.objectsWhere<KSRPackage>("isInstalled = YES"))
        if (!marked.contains(package.identifier))
            removed.push_back(package);
    for (auto& package : removed) {
        report_.unmarked.push_back(package.identifier);
        if (!package.sourceLocation) {
            realm_.deleteObject(package);
            continue;
        }
        package.isInstalled = false;
        package.installedVersion.reset();
        package.installDate.reset();
        package.installedFiles.clear();
        package.isUpdated = false;
        package.isHeld = false;
        realm_.addOrUpdateObject(package);
    }
}

std::optional<KSRPackage> KSStatusFileSync::storedPackage(const std::string& name) const {
    if (auto exact = realm_.objectForPrimaryKey<KSRPackage>(name))
        return exact;
    return realm_.objectsWhere<KSRPackage>("identifier ==[c] %@", name).firstObject();
}

std::vector<std::string> KSStatusFileSync::installedFiles(const InstalledPackage& installed,
                                                          std::optional<double>* installDate) {
    const auto info =
        std::string(KSPaths::kDpkgInfoDirectory) + "/" + foundation::lowercase(installed.name);
    std::vector<std::string> candidates{info + ".list"};
    const auto architecture = installed.stanza.contains("Architecture")
                                  ? installed.stanza.at("Architecture").stringValue()
                                  : std::string();
    if (isArchitectureName(architecture))
        candidates.push_back(info + ":" + architecture + ".list");
    for (const auto& path : candidates) {
        auto list = KSDeviceFile::read(path, kMaxFileListBytes);
        if (!list.ok() && list.error().code == KSDeviceFile::kMissing)
            continue;
        if (!list.ok()) {
            KSLog("A file list is not read: %@", list.error().localizedDescription());
            continue;
        }
        *installDate = list->modificationDate;
        std::vector<std::string> files;
        for (auto& line : foundation::split(list->bytes, "\n"))
            if (!line.empty() && line != "/.")
                files.push_back(std::move(line));
        return files;
    }
    return {};
}

}  // namespace corvane
