#include "framework/webservice/KSAccount.h"

#include <gtest/gtest.h>

#include "framework/webservice/WebServiceFixture.h"
#include "keychain/Keychain.h"

namespace corvane::testing {
namespace {

using SignInResult = std::optional<foundation::Error>;

class KSAccountTest : public WebServiceFixture {
  protected:
    Delivered<SignInResult> signInAs(const std::string& username, const std::string& password) {
        return await<SignInResult>(
            [&](auto done) { KSAccount::instance()->signIn(username, password, std::move(done)); });
    }
};

TEST_F(KSAccountTest, SignInKeepsTheAccountInTheKeychainUntilSignOut) {
    reply("account/signin", R"({"userID": 42, "token": "t0k&n", "premium": 2})");
    const auto& account = KSAccount::instance();
    EXPECT_FALSE(account->returnUsername());

    auto result = signInAs("alice", "p&ss=word");
    EXPECT_FALSE(result.value);
    EXPECT_FALSE(result.onMain);
    auto requests = requestsTo("account/signin");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(formFields(requests[0].body), (std::map<std::string, std::string>{
                                                {"username", "alice"}, {"password", "p&ss=word"}}));

    // Another reader of the same keychain, as after a relaunch.
    KSAccount relaunched;
    EXPECT_EQ(relaunched.returnUsername(), "alice");
    EXPECT_EQ(relaunched.authenticationToken(), "t0k&n");
    EXPECT_EQ(relaunched.userIdentifier(), "42");
    EXPECT_EQ(relaunched.premiumTier(), 2);
    auto stored =
        keychain::Keychain::standard()->passwordForService(KSAccount::kKeychainService, "token");
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(*stored, "t0k&n");
    EXPECT_FALSE(keychain::Keychain::standard()
                     ->passwordForService(KSAccount::kKeychainService, "password")
                     .ok());

    account->signOut();
    EXPECT_FALSE(account->returnUsername());
    EXPECT_FALSE(account->authenticationToken());
    EXPECT_FALSE(account->userIdentifier());
    EXPECT_EQ(account->premiumTier(), 0);
}

TEST_F(KSAccountTest, AFailedSignInLeavesTheEarlierAccountOrNone) {
    signIn("alice");
    reply("account/signin", R"({"error": "wrong password"})", 401);
    auto refused = signInAs("bob", "bad");
    ASSERT_TRUE(refused.value);
    EXPECT_TRUE(foundation::contains(refused.value->localizedDescription(), "wrong password"));
    EXPECT_EQ(KSAccount::instance()->returnUsername(), "alice");

    reply("account/signin", R"({"userID": 8})");
    EXPECT_TRUE(signInAs("bob", "pw").value);
    EXPECT_EQ(KSAccount::instance()->returnUsername(), "alice");

    const auto sent = server_.requests().size();
    EXPECT_TRUE(signInAs("", "pw").value);
    EXPECT_TRUE(signInAs("bob", "").value);
    EXPECT_EQ(server_.requests().size(), sent);
}

}  // namespace
}  // namespace corvane::testing
