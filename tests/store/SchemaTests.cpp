#include <gtest/gtest.h>

#include "StoreFixture.h"

using namespace store_test;
using foundation::Value;

class Schemas : public StoreFixture {};

TEST_F(Schemas, PropertiesAreListedInOrderAndReadAndWrittenByName) {
    const auto& schema = Package::schema();
    std::vector<std::string> names;
    for (const auto& property : schema.properties())
        names.push_back(property.name);
    EXPECT_EQ(names, (Strings{"identifier", "name", "maintainer", "section", "isInstalled",
                              "isHeld", "queueOperation", "rating", "installDate", "installedFiles",
                              "availableVersions"}));

    Package record;
    schema.set(record, "name", "Tweak");
    schema.set(record, "isInstalled", true);
    schema.set(record, "queueOperation", 3);
    schema.set(record, "installDate", Value::date(12.5));
    schema.set(record, "installedFiles", Value::Array{"/a", "/b"});
    schema.set(record, "availableVersions",
               Value::Array{Value::Dictionary{{"key", "t-1.0"}, {"version", "1.0"}}});
    EXPECT_EQ(record.name, "Tweak");
    EXPECT_TRUE(record.isInstalled);
    EXPECT_EQ(record.queueOperation, 3);
    EXPECT_EQ(schema.get(record, "installDate"), Value::date(12.5));
    EXPECT_EQ(schema.get(record, "installedFiles"), (Value::Array{"/a", "/b"}));
    EXPECT_EQ(schema.get(record, "availableVersions")[std::size_t{0}]["version"], Value("1.0"));
    EXPECT_TRUE(schema.get(record, "maintainer").isNil());
    EXPECT_TRUE(schema.get(record, "noSuchProperty").isNil());
    EXPECT_THROW(schema.set(record, "noSuchProperty", 1), store::StoreError);

    schema.set(record, "name", Value());
    schema.set(record, "installedFiles", Value());
    EXPECT_FALSE(record.name);
    EXPECT_TRUE(record.installedFiles.empty()) << "setting nil empties a list";
}

TEST_F(Schemas, ListsRoundTripAndEmptyWhenSetToNil) {
    auto record = package("tweak", "Tweak");
    record.installedFiles = {"/usr/lib/tweak.dylib", "/path with \"quotes\"\n and Ünïcode", ""};
    record.availableVersions = {{"tweak-2.0", "2.0"}, {"tweak-1.0", "1.0"}};
    record.installDate = 1700000000.25;
    record.isHeld = false;
    add({record});

    auto stored = realm.objectForPrimaryKey<Package>("tweak");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->installedFiles, record.installedFiles);
    ASSERT_EQ(stored->availableVersions.size(), 2u);
    EXPECT_EQ(stored->availableVersions[0].version, "2.0") << "a list keeps its order";
    EXPECT_EQ(stored->availableVersions[1].key, "tweak-1.0");
    EXPECT_EQ(stored->installDate, 1700000000.25);
    EXPECT_EQ(stored->isHeld, false);
    EXPECT_EQ(stored->section, "Tweaks");
    EXPECT_EQ(realm.allObjects<Version>().count(), 2u)
        << "listed records are stored in their own table";

    realm.write([&] {
        auto changed = realm.objectForPrimaryKey<Package>("tweak").value();
        Package::schema().set(changed, "installedFiles", Value());
        Package::schema().set(changed, "availableVersions", Value());
        realm.addOrUpdateObject(changed);
    });
    stored = realm.objectForPrimaryKey<Package>("tweak");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->installedFiles.empty());
    EXPECT_TRUE(stored->availableVersions.empty());
    EXPECT_EQ(stored->name, "Tweak");
}

TEST_F(Schemas, AClassOutsideTheConfigurationIsRefused) {
    struct Stray {
        std::string key;
        static const store::Schema<Stray>& schema() {
            static const auto schema =
                store::Schema<Stray>("Stray", "key").property("key", &Stray::key);
            return schema;
        }
    };
    EXPECT_THROW(realm.allObjects<Stray>(), store::StoreError);
    EXPECT_THROW(realm.objectForPrimaryKey<Stray>("x"), store::StoreError);

    // Only a scalar property can have an index.
    struct IndexedList {
        std::string key;
        std::vector<std::string> tags;
        static const store::Schema<IndexedList>& schema() {
            static const auto schema = store::Schema<IndexedList>("IndexedList", "key")
                                           .property("key", &IndexedList::key)
                                           .property("tags", &IndexedList::tags)
                                           .indexed({"key", "tags"});
            return schema;
        }
    };
    store::Configuration indexedList;
    indexedList.path = root_.path() + "/indexed.sqlite";
    indexedList.setObjectTypes<IndexedList>();
    const auto opened = store::Realm::open(indexedList);
    ASSERT_FALSE(opened.ok());
    EXPECT_NE(opened.error().localizedDescription().find("tags"), std::string::npos);
}

TEST_F(Schemas, EqualityComparesEveryPropertyAndEveryListedRecord) {
    auto record = package("tweak", "Tweak");
    record.installedFiles = {"/a"};
    record.installDate = 12.5;
    record.availableVersions = {{"tweak-2.0", "2.0"}, {"tweak-1.0", "1.0"}};
    add({record});
    const auto& schema = Package::schema();
    const auto stored = realm.objectForPrimaryKey<Package>("tweak");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(schema.equal(*stored, record)) << "a stored record reads back equal";

    auto changed = record;
    changed.isHeld = false;
    EXPECT_FALSE(schema.equal(changed, record)) << "false is not unset";
    changed = record;
    changed.installedFiles.push_back("/b");
    EXPECT_FALSE(schema.equal(changed, record));
    changed = record;
    changed.availableVersions[1].version = "1.1";
    EXPECT_FALSE(schema.equal(changed, record)) << "a listed record's field";
    changed = record;
    std::swap(changed.availableVersions[0], changed.availableVersions[1]);
    EXPECT_FALSE(schema.equal(changed, record)) << "the order of a list";
}
