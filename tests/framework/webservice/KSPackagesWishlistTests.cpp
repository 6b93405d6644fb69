#include "framework/webservice/KSPackagesWishlist.h"

#include <gtest/gtest.h>

#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/WebServiceFixture.h"

namespace corvane::testing {
namespace {

using Fields = std::map<std::string, std::string>;

class KSPackagesWishlistTest : public WebServiceFixture {
  protected:
    void SetUp() override {
        WebServiceFixture::SetUp();
        reply("wishlist", R"({"answer": "Success"})");
    }
    static void store(const std::string& identifier, bool inWishlist) {
        KSRPackage package;
        package.identifier = identifier;
        package.isInWishlist = inWishlist;
        auto realm = KSDatabase::realm();
        realm.write([&] { realm.addOrUpdateObject(package); });
    }
    static Delivered<bool> sync() {
        return await<bool>([](auto done) {
            KSPackagesWishlist::sharedInstance()->syncWithTheKestruneAccount(std::move(done));
        });
    }
};

TEST_F(KSPackagesWishlistTest, SyncSendsTheWishlistedIdentifiersOfTheSignedInUser) {
    store("com.example.zeta", true);
    store("com.example.alpha", true);
    store("com.example.other", false);
    signIn("alice", "tok-a");

    auto synced = sync();
    EXPECT_TRUE(synced.value);
    EXPECT_FALSE(synced.onMain);
    store("com.example.zeta", false);
    store("com.example.alpha", false);
    EXPECT_TRUE(sync().value);

    auto requests = requestsTo("wishlist");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].header("Authorization"), "Bearer tok-a");
    EXPECT_EQ(formFields(requests[0].body),
              (Fields{{"user", "alice"}, {"packages", "com.example.alpha;com.example.zeta"}}));
    // An emptied wishlist is uploaded too, or the service would keep the old one.
    EXPECT_EQ(formFields(requests[1].body), (Fields{{"user", "alice"}, {"packages", ""}}));
}

TEST_F(KSPackagesWishlistTest, NothingIsSentWhileSignedOut) {
    store("com.example.alpha", true);
    auto result = sync();
    EXPECT_FALSE(result.value);
    EXPECT_FALSE(result.onMain);

    signIn("alice");
    KSAccount::instance()->signOut();
    EXPECT_FALSE(sync().value);
    EXPECT_TRUE(requestsTo("wishlist").empty());
}

}  // namespace
}  // namespace corvane::testing
