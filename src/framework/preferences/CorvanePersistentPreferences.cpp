#include "framework/preferences/CorvanePersistentPreferences.h"

#include <filesystem>
#include <map>
#include <memory>

#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "foundation/SharedInstance.h"
#include "framework/device/KSPaths.h"

namespace corvane {

using foundation::Dictionary;
using foundation::FileManager;
using foundation::PropertyList;
using foundation::RunLoop;
using foundation::Value;

// The shared instances by preference file, one for each device root used. Dropped only by the
// process reset, which stands for a new process: a save still pending then is not made, since
// its device root may be gone already.
struct CorvanePersistentPreferences::SharedInstances {
    ~SharedInstances() {
        for (auto& [path, instance] : byPath)
            instance->discardPendingSave();
    }

    std::mutex mutex;
    std::map<std::string, std::unique_ptr<CorvanePersistentPreferences>> byPath;
};

CorvanePersistentPreferences& CorvanePersistentPreferences::sharedInstance() {
    // Never deleted: a save at process exit could otherwise outlive the run loop it uses.
    static auto* shared = new foundation::SharedInstance<SharedInstances>(
        [] { return std::make_shared<SharedInstances>(); });
    const std::string path = KSPaths::preferenceFile();
    const auto instances = shared->pointer();
    std::lock_guard lock(instances->mutex);
    auto& instance = instances->byPath[path];
    if (!instance) {
        instance = std::make_unique<CorvanePersistentPreferences>(path);
    }
    return *instance;
}

const Dictionary& CorvanePersistentPreferences::corvaneDefaultPreferences() {
    static const Dictionary defaults = {
        {"ShowIncompatiblePackages", false},
        {"PlaySounds", false},
        {"DarkMode", false},
        {"AppleDarkMode", false},
        {"TrueDarkMode", false},
        {"ShowVerboseUI", false},
        {"HidePackageTweakCompatibleIndicator", false},
        {"HidePackageVersion", false},
        {"ReplacePackageMaintainerWithSourceName", false},
        {"HidePackageDescription", false},
        {"AuthenticationForPackagesManagementTasks", false},
        {"LegacyIcon", false},
        {"GetCydiaPackageInfoFromDepiction", true},
        {"AutoVerboseViewForPackageTasks", true},
        {"OriginalCydiaSourcesIcons", true},
        {"prefersLargeTitles", true},
        {"ShowNotificationsInsteadOfErrorAlerts", true},
        {"UseTranslucentBars", true},
        {"NewsCount", 0},
        {"SortInstalledPackagesBy", "Name"},
        // There is no first-run setup screen, so a fresh install counts as set up and can
        // refresh its sources.
        {"setupDone", true},
    };
    return defaults;
}

CorvanePersistentPreferences::CorvanePersistentPreferences(std::string path)
    : path_(std::move(path)) {
    load();
}

CorvanePersistentPreferences::~CorvanePersistentPreferences() {
    bool pending = false;
    {
        std::lock_guard lock(mutex_);
        pending = pendingSave_.has_value();
    }
    if (pending) {
        saveToFile();
    }
}

void CorvanePersistentPreferences::load() {
    if (!FileManager::fileExists(path_)) {
        return;
    }
    auto contents = PropertyList::readFile(path_);
    if (!contents || !contents->isDictionary()) {
        KSLog("The preference file %@ is unreadable and is ignored until the next change: %@",
              path_,
              contents ? std::string("not a dictionary") : contents.error().localizedDescription());
        return;
    }
    values_ = contents->dictionary();
}

bool CorvanePersistentPreferences::boolForKey(const std::string& key) const {
    return objectForKey(key).boolValue();
}

std::int64_t CorvanePersistentPreferences::integerForKey(const std::string& key) const {
    return objectForKey(key).integerValue();
}

std::optional<std::string> CorvanePersistentPreferences::stringForKey(
    const std::string& key) const {
    return objectForKey(key).optionalString();
}

Value CorvanePersistentPreferences::objectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(key);
    return found == values_.end() ? Value() : found->second;
}

Dictionary CorvanePersistentPreferences::dictionary() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void CorvanePersistentPreferences::setValue(Value value, const std::string& key) {
    if (!value.isNil() && !PropertyList::writeBinary(value)) {
        // Stored, such a value would make every later save fail.
        KSLog("The preference %@ has no property-list form and is not stored", key);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (value.isNil()) {
            values_.erase(key);
        } else {
            values_[key] = std::move(value);
        }
    }
    scheduleSave();
}

void CorvanePersistentPreferences::setDictionary(Dictionary dictionary) {
    if (!PropertyList::writeBinary(Value(dictionary))) {
        KSLog("The preferences have no property-list form and are not stored");
        return;
    }
    {
        std::lock_guard lock(mutex_);
        values_ = std::move(dictionary);
    }
    scheduleSave();
}

void CorvanePersistentPreferences::writeMissingDefaults() {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [key, value] : corvaneDefaultPreferences()) {
            changed = values_.try_emplace(key, value).second || changed;
        }
    }
    if (changed) {
        scheduleSave();
    }
}

void CorvanePersistentPreferences::discardPendingSave() {
    std::lock_guard lock(mutex_);
    if (pendingSave_) {
        RunLoop::main().cancelTimer(*pendingSave_);
        pendingSave_.reset();
    }
}

void CorvanePersistentPreferences::scheduleSave() {
    std::lock_guard lock(mutex_);
    if (pendingSave_) {
        RunLoop::main().cancelTimer(*pendingSave_);
    }
    pendingSave_ = RunLoop::main().schedule(kSaveDelaySeconds, [this] { saveToFile(); });
}

bool CorvanePersistentPreferences::saveToFile() {
    std::lock_guard save(saveMutex_);
    Dictionary snapshot;
    {
        std::lock_guard lock(mutex_);
        if (pendingSave_) {
            RunLoop::main().cancelTimer(*pendingSave_);
            pendingSave_.reset();
        }
        snapshot = values_;
    }
    auto status = FileManager::createDirectory(std::filesystem::path(path_).parent_path().string());
    if (status)
        status =
            PropertyList::writeFile(path_, Value(std::move(snapshot)), PropertyList::Format::XML);
    if (!status) {
        KSLog("Could not save the preferences to %@: %@", path_,
              status.error().localizedDescription());
        return false;
    }
    return true;
}

}  // namespace corvane
