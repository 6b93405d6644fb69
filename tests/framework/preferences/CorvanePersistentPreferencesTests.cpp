#include "framework/preferences/CorvanePersistentPreferences.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "foundation/PropertyList.h"
#include "framework/device/KSPaths.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;
using foundation::PropertyList;
using foundation::Value;
using testing_support::advanceClock;

foundation::Dictionary onDisk(const std::string& path) {
    auto contents = PropertyList::readFile(path);
    EXPECT_TRUE(contents.ok()) << path;
    return contents ? contents->dictionary() : foundation::Dictionary{};
}

TEST(CorvanePersistentPreferences, SavesOneSecondAfterTheLastChange) {
    testing_support::TempDeviceRoot root;
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    const std::string file = KSPaths::preferenceFile();
    EXPECT_EQ(preferences.path(), file);

    preferences.setValue(true, "PlaySounds");
    advanceClock(0.6);
    preferences.setObject("Date", "SortInstalledPackagesBy");
    advanceClock(0.6);
    EXPECT_FALSE(FileManager::fileExists(file)) << "a later change re-arms the save";
    advanceClock(0.5);
    ASSERT_TRUE(FileManager::fileExists(file));
    const auto saved = onDisk(file);
    EXPECT_EQ(saved.at("PlaySounds"), Value(true));
    EXPECT_EQ(saved.at("SortInstalledPackagesBy"), Value("Date"));
}

TEST(CorvanePersistentPreferences, SaveToFileWritesAtOnceAndDropsThePendingSave) {
    testing_support::TempDeviceRoot root;
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    preferences.setValue(3, "NewsCount");
    ASSERT_TRUE(preferences.saveToFile());
    EXPECT_EQ(onDisk(preferences.path()).at("NewsCount"), Value(3));

    ASSERT_TRUE(FileManager::removeItem(preferences.path()).ok());
    advanceClock(5);
    EXPECT_FALSE(FileManager::fileExists(preferences.path()));
}

TEST(CorvanePersistentPreferences, ReadsWhatAnEarlierRunStored) {
    testing_support::TempDeviceRoot root;
    const std::string file = KSPaths::preferenceFile();
    {
        CorvanePersistentPreferences first(file);
        first.setValue(true, "DarkMode");
        first.setValue(7, "NewsCount");
        first.setValue("Name", "SortInstalledPackagesBy");
        first.setValue(1.7e9, "LastVisitDate");
        first.setValue("gone", "SearchDeveloper");
        first.setValue(Value(), "SearchDeveloper");
    }
    CorvanePersistentPreferences second(file);
    EXPECT_TRUE(second.boolForKey("DarkMode"));
    EXPECT_FALSE(second.boolForKey("PlaySounds"));
    EXPECT_EQ(second.integerForKey("NewsCount"), 7);
    EXPECT_EQ(second.stringForKey("SortInstalledPackagesBy"), "Name");
    EXPECT_EQ(second.stringForKey("NewsCount"), std::nullopt);
    EXPECT_EQ(second.objectForKey("LastVisitDate"), Value(1.7e9));
    EXPECT_TRUE(second.objectForKey("SearchDeveloper").isNil());
}

TEST(CorvanePersistentPreferences, SetDictionaryReplacesEverything) {
    testing_support::TempDeviceRoot root;
    CorvanePersistentPreferences preferences(KSPaths::preferenceFile());
    preferences.setValue(true, "DarkMode");
    preferences.setDictionary({{"PlaySounds", true}});
    ASSERT_TRUE(preferences.saveToFile());
    EXPECT_EQ(onDisk(preferences.path()), (foundation::Dictionary{{"PlaySounds", true}}));
}

TEST(CorvanePersistentPreferences, DefaultsFillOnlyMissingKeys) {
    testing_support::TempDeviceRoot root;
    CorvanePersistentPreferences preferences(KSPaths::preferenceFile());
    preferences.setValue(false, "UseTranslucentBars");
    preferences.setValue("Date", "SortInstalledPackagesBy");
    preferences.writeMissingDefaults();

    EXPECT_FALSE(preferences.boolForKey("UseTranslucentBars"));
    EXPECT_EQ(preferences.stringForKey("SortInstalledPackagesBy"), "Date");
    EXPECT_TRUE(preferences.boolForKey("prefersLargeTitles"));
    EXPECT_TRUE(preferences.boolForKey("setupDone"));
    EXPECT_EQ(preferences.objectForKey("NewsCount"), Value(0));
    EXPECT_TRUE(preferences.objectForKey("ObserveAppleDarkModeChanges").isNil());
    EXPECT_EQ(preferences.dictionary().size(),
              CorvanePersistentPreferences::corvaneDefaultPreferences().size());
    advanceClock(1.1);
    EXPECT_EQ(onDisk(preferences.path()).at("SortInstalledPackagesBy"), Value("Date"));
}

TEST(CorvanePersistentPreferences, AMalformedFileLoadsEmptyAndSurvivesUntilAChange) {
    testing_support::TempDeviceRoot root;
    const std::string file = KSPaths::preferenceFile();
    ASSERT_TRUE(FileManager::createDirectory(KSPaths::dataDirectory()).ok());
    for (const std::string& garbage : {std::string("<?xml version=\"1.0\"?><plist><dict><key>Dark"),
                                       std::string("bplist00\x01")}) {
        ASSERT_TRUE(FileManager::writeAtomically(file, garbage).ok());
        CorvanePersistentPreferences preferences(file);
        EXPECT_TRUE(preferences.dictionary().empty());
        EXPECT_FALSE(preferences.boolForKey("DarkMode"));
        advanceClock(5);
        EXPECT_EQ(FileManager::readText(file).valueOr(""), garbage);

        preferences.setValue(true, "DarkMode");
        advanceClock(1.1);
        EXPECT_EQ(onDisk(file), (foundation::Dictionary{{"DarkMode", true}}));
    }
}

TEST(CorvanePersistentPreferences, AFileThatIsNoDictionaryLoadsEmpty) {
    testing_support::TempDeviceRoot root;
    const std::string file = KSPaths::preferenceFile();
    ASSERT_TRUE(FileManager::createDirectory(KSPaths::dataDirectory()).ok());
    ASSERT_TRUE(
        PropertyList::writeFile(file, Value(foundation::Array{1, 2}), PropertyList::Format::Binary)
            .ok());
    CorvanePersistentPreferences preferences(file);
    EXPECT_TRUE(preferences.dictionary().empty());
}

TEST(CorvanePersistentPreferences, AValueWithoutPropertyListFormIsRefused) {
    testing_support::TempDeviceRoot root;
    CorvanePersistentPreferences preferences(KSPaths::preferenceFile());
    preferences.setValue(Value::null(), "SearchDeveloper");
    preferences.setValue(Value(foundation::Array{Value("a"), Value::null()}), "Broken");
    preferences.setDictionary({{"Broken", Value::null()}});
    preferences.setValue(true, "DarkMode");
    EXPECT_TRUE(preferences.objectForKey("SearchDeveloper").isNil());
    EXPECT_TRUE(preferences.objectForKey("Broken").isNil());
    ASSERT_TRUE(preferences.saveToFile());
    EXPECT_EQ(onDisk(preferences.path()), (foundation::Dictionary{{"DarkMode", true}}));
}

TEST(CorvanePersistentPreferences, TheSharedInstanceFollowsTheDataFolder) {
    testing_support::TempDeviceRoot first;
    CorvanePersistentPreferences::sharedInstance().setValue(true, "DarkMode");
    ASSERT_TRUE(CorvanePersistentPreferences::sharedInstance().saveToFile());

    testing_support::TempDeviceRoot second;
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    EXPECT_EQ(preferences.path(), second.dataPath() + std::string(KSPaths::kDataDirectory) + "/" +
                                      std::string(KSPaths::kPreferenceFileName));
    EXPECT_FALSE(preferences.boolForKey("DarkMode"));
}

TEST(CorvanePersistentPreferences, WritesFromManyThreadsAreAllKept) {
    testing_support::TempDeviceRoot root;
    const std::string file = KSPaths::preferenceFile();
    {
        CorvanePersistentPreferences preferences(file);
        std::vector<std::thread> writers;
        for (int thread = 0; thread < 4; ++thread) {
            writers.emplace_back([&preferences, thread] {
                for (int i = 0; i < 200; ++i) {
                    preferences.setValue(i,
                                         "key-" + std::to_string(thread) + "-" + std::to_string(i));
                    if (i % 50 == 0) {
                        preferences.saveToFile();
                    }
                }
            });
        }
        for (auto& writer : writers) {
            writer.join();
        }
        advanceClock(1.1);
    }
    const auto saved = onDisk(file);
    EXPECT_EQ(saved.size(), 800u);
    EXPECT_EQ(saved.at("key-3-199"), Value(199));
}

}  // namespace
}  // namespace corvane
