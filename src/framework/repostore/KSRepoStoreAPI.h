#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Result.h"
#include "foundation/URL.h"
#include "foundation/Value.h"
#include "framework/repostore/KSRepoStorePackageInfoResponse.h"
#include "framework/repostore/KSRepoStorePendingFlow.h"
#include "framework/repostore/KSRepoStorePurchaseResponse.h"
#include "framework/repostore/KSRepoStoreReply.h"
#include "framework/repostore/KSRepoStoreSigninResponse.h"
#include "framework/repostore/KSRepoStoreTarget.h"
#include "framework/repostore/KSRepoStoreTransport.h"
#include "framework/repostore/KSRepoStoreUserInfoResponse.h"

namespace corvane {

// The client of the repositories' payment endpoints: discovery, sign-in in the in-app browser,
// user and package information, purchase, download authorisation and sign-out. The browser
// calls back under the scheme "sileo" with the hosts "authentication_success" and
// "payment_completed"; a callback counts only while a flow of its kind that this client started
// is pending. Requests that need the user are never sent while nobody is signed in, and any
// reply with "invalidate" removes the stored credentials of its source.
//
// Completions run on the network queue, except those of the sign-in, which run on the main
// thread.
class KSRepoStoreAPI {
  public:
    using SigninCompletion = std::function<void(KSRepoStoreSigninResponse response)>;
    using PackageInfoCompletion =
        std::function<void(bool failed, KSRepoStorePackageInfoResponse response)>;
    using PurchaseCompletion = std::function<void(KSRepoStorePurchaseResponse response)>;
    using UserInfoCompletion = std::function<void(KSRepoStoreUserInfoResponse response)>;
    using DownloadCompletion = std::function<void(foundation::Result<foundation::URL> url)>;
    // The endpoint now stored on the source; nullopt when it has none or could not be asked.
    using EndpointCompletion = std::function<void(std::optional<std::string> endpoint)>;

    static constexpr std::string_view kCallbackScheme = "sileo";
    static constexpr std::string_view kAuthenticationSuccessHost = "authentication_success";
    static constexpr std::string_view kPaymentCompletedHost = "payment_completed";
    // The one repository whose paid packages are queued without an endpoint.
    static constexpr std::string_view kBlacklistedLocation = "https://repo.blocked.example/";
    static constexpr std::size_t kMaximumUserItems = 100000;

    static KSRepoStoreAPI& sharedRepoStore();

    // Asks the repository at location for "payment_endpoint" and stores what it names on the
    // source: a 200 reply or a 404 decides, any other outcome keeps what is stored.
    void discoverEndpointForSourceLocation(const std::string& location,
                                           EndpointCompletion completion = {});

    // Opens the endpoint's "authenticate" page with the device's udid and model; the
    // "authentication_success" callback completes the sign-in. Closing the browser or starting
    // another sign-in or purchase cancels it.
    void userSigninForSourceLocation(const std::string& location, SigninCompletion completion);
    // Stores the callback's "token" and "payment_secret" for the source that is signing in and
    // completes that sign-in; nothing when no sign-in is pending.
    void signinAuthenticationCallBackHandler(const foundation::URL& url);
    // Signs in, then fetches the user information and marks the source's bought packages paid
    // through the endpoint; the completion runs on the main thread, YES when the user is signed
    // in at the end.
    static void loginToSource(const std::string& location, std::function<void(bool)> completion);
    static bool userIsAuthenticatedForStoreLocation(const std::string& location);
    // Removes the stored token and payment secret and posts KSRSourceUpdatedNotification on
    // the main thread.
    void invalidateCredentialsForSourceLocation(const std::string& location);
    // Tells the endpoint ("sign_out") and removes the credentials without waiting for it.
    void signOutFromSourceLocation(const std::string& location);

    void userInfoForSourceLocation(const std::string& location, UserInfoCompletion completion);
    // failed is YES when the transport failed, the status was neither 200 nor 304, or the reply
    // was no JSON object; the response then carries the error.
    void purchaseInfoForPackageWithIdentifier(const std::string& identifier,
                                              PackageInfoCompletion completion);
    // A reply of status 1 opens its payment page and keeps the completion until the
    // "payment_completed" callback; the purchase then completes with status 0 only after the
    // package information confirms it as bought.
    void purchasePackageWithIdentifier(const std::string& identifier,
                                       PurchaseCompletion completion);
    // Nothing when no payment is pending.
    void purchaseCompletedCallbackHandler();
    // The address from which the package's archive of that version may be downloaded.
    void authorizeDownloadForPackageWithIdentifier(const std::string& identifier,
                                                   const std::string& version,
                                                   DownloadCompletion completion);

    bool sourceWithLoacationIsBlacklisted(const std::string& location) const;

  private:
    using Target = foundation::Result<KSRepoStoreTarget>;
    using ReplyHandler = std::function<void(const KSRepoStoreReply& reply)>;

    KSRepoStoreAPI();

    // Posts the body with the token and device fields to the target's path; a target error or
    // an unusable path becomes a failed reply without sending anything.
    void send(const Target& target, const std::string& path, foundation::Value::Dictionary body,
              ReplyHandler handler);
    void beginSignin(const std::string& location, SigninCompletion completion);
    void beginPayment(const KSRepoStoreTarget& target, const std::string& identifier,
                      const KSRepoStoreReply& reply, PurchaseCompletion completion);
    void confirmPayment(KSRepoStorePendingFlow::Payment payment);
    void storeEndpoint(const std::string& location, const std::optional<std::string>& endpoint);
    static void markPurchasedPackages(const std::string& location,
                                      const std::vector<std::string>& identifiers);

    KSRepoStoreTransport transport_;
    KSRepoStorePendingFlow pendingFlow_;
};

}  // namespace corvane
