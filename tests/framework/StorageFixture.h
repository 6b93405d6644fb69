#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRPackage.h"
#include "reachability/Reachability.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {

// A package engine that only notes what it was asked.
class RecordingEngine : public KSPackageEngine {
  public:
    void refreshSources(const std::vector<std::string>& locations) override {
        std::lock_guard lock(mutex_);
        refreshes_.push_back(locations);
    }
    void downloadPackages(const std::vector<std::string>& identifiers) override {
        std::lock_guard lock(mutex_);
        downloads_.insert(downloads_.end(), identifiers.begin(), identifiers.end());
    }
    std::vector<std::vector<std::string>> refreshes() const {
        std::lock_guard lock(mutex_);
        return refreshes_;
    }
    std::vector<std::string> downloads() const {
        std::lock_guard lock(mutex_);
        return downloads_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::vector<std::string>> refreshes_;
    std::vector<std::string> downloads_;
};

// A fresh device root with its own database, no default sources, the network reachable, and a
// recording package engine.
class StorageFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("CORVANE_DEFAULT_SOURCES", "", 1);
        KSPackageEngineHooks::registerEngine(engine_);
    }

    static store::Realm realm() { return KSDatabase::realm(); }

    static KSRPackage package(std::string identifier, std::optional<std::string> version = "1.0") {
        KSRPackage record;
        record.identifier = std::move(identifier);
        record.name = record.identifier;
        record.version = std::move(version);
        return record;
    }

    static void store(std::initializer_list<KSRPackage> packages) {
        auto database = realm();
        database.write([&] {
            for (const auto& record : packages)
                database.addOrUpdateObject(record);
        });
    }

    static std::optional<KSRPackage> stored(const std::string& identifier) {
        return realm().objectForPrimaryKey<KSRPackage>(identifier);
    }

    testing_support::TempDeviceRoot root_;
    std::shared_ptr<RecordingEngine> engine_ = std::make_shared<RecordingEngine>();
};

}  // namespace corvane::testing
