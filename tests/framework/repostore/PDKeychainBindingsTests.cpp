#include "framework/repostore/PDKeychainBindings.h"

#include <gtest/gtest.h>

#include "foundation/Bundle.h"
#include "keychain/Keychain.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

TEST(PDKeychainBindings, StringsAreKeptAsItemsOfTheApplication) {
    testing_support::TempDeviceRoot root;
    auto& bindings = PDKeychainBindings::sharedKeychainBindings();
    EXPECT_EQ(bindings.stringForKey("https://repo.example/_token"), std::nullopt);
    ASSERT_TRUE(bindings.setString("first", "https://repo.example/_token"));
    ASSERT_TRUE(bindings.setString("second", "https://repo.example/_token"));
    ASSERT_TRUE(bindings.setString("other", "https://other.example/_token"));
    EXPECT_EQ(bindings.stringForKey("https://repo.example/_token"), "second");
    auto item = keychain::Keychain::standard()->passwordForService(
        foundation::Bundle::bundleIdentifier(), "https://repo.example/_token");
    ASSERT_TRUE(item);
    EXPECT_EQ(*item, "second");

    EXPECT_TRUE(bindings.removeObjectForKey("https://repo.example/_token"));
    EXPECT_TRUE(bindings.removeObjectForKey("https://repo.example/_token"));
    EXPECT_EQ(bindings.stringForKey("https://repo.example/_token"), std::nullopt);
    EXPECT_EQ(bindings.stringForKey("https://other.example/_token"), "other");
}

}  // namespace
}  // namespace corvane
