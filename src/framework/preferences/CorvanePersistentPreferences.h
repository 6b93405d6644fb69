#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/RunLoop.h"
#include "foundation/Value.h"

namespace corvane {

// The application preferences: one dictionary kept in a property-list file. Every change is
// saved one second (of the main run loop's clock) after the last change; saveToFile() writes at
// once. Reads and writes may come from any thread.
class CorvanePersistentPreferences {
  public:
    static constexpr double kSaveDelaySeconds = 1.0;

    // The instance for the preference file under the current device root; a changed root gives
    // the instance of the new file. Instances live until the process reset, so a reference stays
    // valid until then.
    static CorvanePersistentPreferences& sharedInstance();
    // Key to default value: the launch writes them for every missing key.
    static const foundation::Dictionary& corvaneDefaultPreferences();

    // Reads the file; a missing file gives an empty dictionary, a malformed one too (with a log
    // line), and the file is left alone until the next change.
    explicit CorvanePersistentPreferences(std::string path);
    // Writes a pending change rather than losing it.
    ~CorvanePersistentPreferences();
    CorvanePersistentPreferences(const CorvanePersistentPreferences&) = delete;
    CorvanePersistentPreferences& operator=(const CorvanePersistentPreferences&) = delete;

    // NO when absent.
    bool boolForKey(const std::string& key) const;
    // 0 when absent.
    std::int64_t integerForKey(const std::string& key) const;
    // nullopt when absent or not a string.
    std::optional<std::string> stringForKey(const std::string& key) const;
    // Nil when absent.
    foundation::Value objectForKey(const std::string& key) const;
    foundation::Dictionary dictionary() const;

    // A nil value removes the key.
    void setValue(foundation::Value value, const std::string& key);
    void setObject(foundation::Value value, const std::string& key) {
        setValue(std::move(value), key);
    }
    // Replaces the whole dictionary.
    void setDictionary(foundation::Dictionary dictionary);
    // Stores the default of every key that holds nothing; stored values are never overwritten,
    // so defaults added in a later version reach an existing preference file.
    void writeMissingDefaults();
    // Writes the dictionary atomically now and drops a pending save; false (with a log line) when
    // the file could not be written.
    bool saveToFile();

    const std::string& path() const { return path_; }

  private:
    struct SharedInstances;

    void load();
    void scheduleSave();
    void discardPendingSave();

    const std::string path_;
    mutable std::mutex mutex_;
    // Held across a whole save so that a later snapshot is never overwritten by an earlier one.
    std::mutex saveMutex_;
    foundation::Dictionary values_;
    std::optional<foundation::RunLoop::TimerID> pendingSave_;
};

}  // namespace corvane
