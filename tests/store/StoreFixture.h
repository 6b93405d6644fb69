#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "TestRecords.h"
#include "store/Realm.h"
#include "support/TempDeviceRoot.h"

namespace store_test {

// A database file in a fresh temporary folder, holding Package (with its Version list) and Source.
class StoreFixture : public ::testing::Test {
  protected:
    std::string databasePath() const { return root_.path() + "/store.sqlite"; }

    store::Configuration configuration() const {
        store::Configuration configuration;
        configuration.path = databasePath();
        configuration.schemaVersion = 27;
        configuration.setObjectTypes<Package, Source>();
        return configuration;
    }

    store::Realm openRealm() const {
        auto realm = store::Realm::open(configuration());
        if (!realm.ok())
            throw std::runtime_error(realm.error().localizedDescription());
        return realm.value();
    }

    void add(std::initializer_list<Package> packages) {
        realm.write([&] {
            for (const auto& p : packages)
                realm.addOrUpdateObject(p);
        });
    }

    template <typename T>
    static std::vector<std::string> identifiers(const store::Results<T>& results) {
        std::vector<std::string> out;
        for (const auto& record : results)
            out.push_back(T::schema().get(record, T::schema().primaryKey().name).stringValue());
        return out;
    }

    testing_support::TempDeviceRoot root_;
    store::Realm realm = openRealm();
};

using Strings = std::vector<std::string>;

}  // namespace store_test
