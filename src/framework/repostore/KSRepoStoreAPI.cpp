#include "framework/repostore/KSRepoStoreAPI.h"

#include <utility>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/SharedInstance.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSPlatform.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/repostore/KSRepoStoreEndpoint.h"
#include "framework/repostore/KSRepoStoreError.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"

namespace corvane {

using foundation::Value;

namespace {

KSRepoStoreReply failedReply(foundation::Error error) {
    KSRepoStoreReply reply;
    reply.error = std::move(error);
    return reply;
}

std::optional<foundation::URL> webAddress(const Value& value) {
    const auto* text = value.string();
    auto url = text ? foundation::URL::withString(*text) : std::nullopt;
    if (!url || !KSFetchableURL::isFetchable(*url))
        return std::nullopt;
    return url;
}

std::optional<std::string> queryValue(const foundation::URL& url, std::string_view name) {
    for (auto& item : url.queryItems()) {
        if (item.name == name)
            return item.value;
    }
    return std::nullopt;
}

std::string packagePath(const std::string& identifier, std::string_view action) {
    return "package/" + identifier + "/" + std::string(action);
}

KSRepoStoreSigninResponse storeCallbackCredentials(const std::string& location,
                                                   const foundation::URL& callback) {
    auto token = queryValue(callback, "token");
    auto secret = queryValue(callback, "payment_secret");
    if (!KSRepoStoreCredentials::isAcceptable(token) ||
        !KSRepoStoreCredentials::isAcceptable(secret))
        return {false, KSRepoStoreError::make(
                           KSRepoStoreError::IncompleteReply,
                           "The repository did not send a usable token and payment secret.")};
    if (auto stored = KSRepoStoreCredentials::store(location, *token, *secret); !stored)
        return {false, KSRepoStoreError::make(KSRepoStoreError::CredentialsNotStored,
                                              stored.error().localizedDescription())};
    foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, location);
    return {true, std::nullopt};
}

}  // namespace

KSRepoStoreAPI& KSRepoStoreAPI::sharedRepoStore() {
    // Never deleted: replies may still arrive while the process ends.
    static auto* shared = new foundation::SharedInstance<KSRepoStoreAPI>(
        [] { return std::shared_ptr<KSRepoStoreAPI>(new KSRepoStoreAPI()); });
    return shared->get();
}

KSRepoStoreAPI::KSRepoStoreAPI()
    : pendingFlow_([this](std::function<void()> block) { transport_.deliver(std::move(block)); }) {}

void KSRepoStoreAPI::discoverEndpointForSourceLocation(const std::string& location,
                                                       EndpointCompletion completion) {
    auto url = foundation::URL::withString(location + (location.ends_with('/') ? "" : "/") +
                                           "payment_endpoint");
    if (!url || !KSFetchableURL::isFetchable(*url)) {
        if (completion)
            transport_.deliver([completion] { completion(std::nullopt); });
        return;
    }
    transport_.get(*url, [this, location, completion](bool answered, long status,
                                                      std::optional<std::string> body) {
        std::optional<std::string> endpoint;
        if (auto checked = body ? KSRepoStoreEndpoint::withString(*body) : std::nullopt)
            endpoint = checked->string();
        if (answered && (status == 200 || status == 404))
            storeEndpoint(location, endpoint);
        if (completion)
            completion(endpoint);
    });
}

void KSRepoStoreAPI::userSigninForSourceLocation(const std::string& location,
                                                 SigninCompletion completion) {
    foundation::runOnMain(
        [this, location, completion] { beginSignin(location, std::move(completion)); });
}

void KSRepoStoreAPI::signinAuthenticationCallBackHandler(const foundation::URL& url) {
    foundation::runOnMain([this, url] {
        if (url.scheme() != kCallbackScheme || url.host() != kAuthenticationSuccessHost)
            return;
        auto signin = pendingFlow_.takeSignin();
        if (!signin) {
            KSLog("Ignored a sign-in callback: no sign-in is pending");
            return;
        }
        signin->completion(storeCallbackCredentials(signin->location, url));
    });
}

void KSRepoStoreAPI::loginToSource(const std::string& location,
                                   std::function<void(bool)> completion) {
    auto& store = sharedRepoStore();
    store.userSigninForSourceLocation(
        location, [&store, location, completion](KSRepoStoreSigninResponse signin) {
            if (!signin.success)
                return completion(false);
            store.userInfoForSourceLocation(
                location, [location, completion](KSRepoStoreUserInfoResponse info) {
                    if (!info.error)
                        markPurchasedPackages(location, info.items);
                    foundation::runOnMain([location, completion] {
                        completion(userIsAuthenticatedForStoreLocation(location));
                    });
                });
        });
}

bool KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(const std::string& location) {
    return KSRepoStoreCredentials::forLocation(location).isComplete();
}

void KSRepoStoreAPI::invalidateCredentialsForSourceLocation(const std::string& location) {
    KSRepoStoreCredentials::remove(location);
    foundation::runOnMain([location] {
        foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification,
                                                             location);
    });
}

void KSRepoStoreAPI::signOutFromSourceLocation(const std::string& location) {
    send(KSRepoStoreTarget::forSourceLocation(location), "sign_out", {},
         [location](const KSRepoStoreReply& reply) {
             if (reply.failed)
                 KSLog("Sign-out of %@ not confirmed: %@", location,
                       reply.error->localizedDescription());
         });
    invalidateCredentialsForSourceLocation(location);
}

void KSRepoStoreAPI::userInfoForSourceLocation(const std::string& location,
                                               UserInfoCompletion completion) {
    send(KSRepoStoreTarget::forSourceLocation(location), "user_info", {},
         [completion](const KSRepoStoreReply& reply) {
             KSRepoStoreUserInfoResponse response{reply.invalidate, {}, {}, reply.error};
             for (const auto& item : reply.document["items"].array()) {
                 if (response.items.size() == kMaximumUserItems)
                     break;
                 if (const auto* identifier = item.string();
                     identifier && isValidPackageName(*identifier))
                     response.items.push_back(*identifier);
             }
             response.userName = reply.document["user"]["name"].optionalString();
             completion(std::move(response));
         });
}

void KSRepoStoreAPI::purchaseInfoForPackageWithIdentifier(const std::string& identifier,
                                                          PackageInfoCompletion completion) {
    send(KSRepoStoreTarget::forPackage(identifier), packagePath(identifier, "info"), {},
         [completion](const KSRepoStoreReply& reply) {
             KSRepoStorePackageInfoResponse response;
             response.invalidate = reply.invalidate;
             response.available = reply.document["available"].boolValue();
             response.purchased = reply.document["purchased"].boolValue();
             response.price = reply.document["price"].optionalString();
             response.error = reply.error;
             response.recovery_url = reply.recoveryURL;
             completion(reply.failed, std::move(response));
         });
}

void KSRepoStoreAPI::purchasePackageWithIdentifier(const std::string& identifier,
                                                   PurchaseCompletion completion) {
    auto target = KSRepoStoreTarget::signedIn(KSRepoStoreTarget::forPackage(identifier));
    Value::Dictionary body;
    if (target)
        body["payment_secret"] = *target->credentials.paymentSecret;
    send(target, packagePath(identifier, "purchase"), std::move(body),
         [this, target, identifier, completion](const KSRepoStoreReply& reply) {
             const auto& status = reply.document["status"];
             long code = status.isNumber() && !status.isBool()
                             ? static_cast<long>(status.integerValue())
                             : KSRepoStorePurchaseResponse::kStatusFailed;
             if (reply.failed)
                 code = KSRepoStorePurchaseResponse::kStatusFailed;
             if (code == KSRepoStorePurchaseResponse::kStatusPaymentPage && !reply.invalidate)
                 return beginPayment(*target, identifier, reply, completion);
             completion({reply.invalidate, code, reply.error});
         });
}

void KSRepoStoreAPI::purchaseCompletedCallbackHandler() {
    foundation::runOnMain([this] {
        auto payment = pendingFlow_.takePayment();
        if (!payment) {
            KSLog("Ignored a payment callback: no payment is pending");
            return;
        }
        confirmPayment(std::move(*payment));
    });
}

void KSRepoStoreAPI::authorizeDownloadForPackageWithIdentifier(const std::string& identifier,
                                                               const std::string& version,
                                                               DownloadCompletion completion) {
    auto target = KSRepoStoreTarget::signedIn(KSRepoStoreTarget::forPackage(identifier));
    Value::Dictionary body{{"version", version}};
    if (target) {
        body["payment_secret"] = *target->credentials.paymentSecret;
        body["repo"] = target->location;
    }
    send(target, packagePath(identifier, "authorize_download"), std::move(body),
         [completion](const KSRepoStoreReply& reply) {
             auto url = reply.failed ? std::nullopt : webAddress(reply.document["url"]);
             if (url)
                 return completion(std::move(*url));
             completion(reply.error.value_or(
                 KSRepoStoreError::make(KSRepoStoreError::IncompleteReply,
                                        "The repository did not authorise the download.")));
         });
}

bool KSRepoStoreAPI::sourceWithLoacationIsBlacklisted(const std::string& location) const {
    return location == kBlacklistedLocation;
}

void KSRepoStoreAPI::send(const Target& target, const std::string& path, Value::Dictionary body,
                          ReplyHandler handler) {
    auto signedIn = KSRepoStoreTarget::signedIn(target);
    auto url = signedIn ? signedIn->endpoint.urlForPath(path) : std::nullopt;
    if (!url) {
        auto error = signedIn ? KSRepoStoreError::make(KSRepoStoreError::NoEndpoint,
                                                       "The repository's address is unusable.")
                              : signedIn.error();
        transport_.deliver([handler, error] { handler(failedReply(error)); });
        return;
    }
    body["token"] = *signedIn->credentials.token;
    body["udid"] = KSPlatform::deviceUDID();
    body["device"] = KSPlatform::deviceModelID();
    transport_.post(*url, Value(std::move(body)),
                    [this, location = signedIn->location, handler](KSRepoStoreReply reply) {
                        if (reply.invalidate)
                            invalidateCredentialsForSourceLocation(location);
                        handler(reply);
                    });
}

void KSRepoStoreAPI::beginSignin(const std::string& location, SigninCompletion completion) {
    auto target = KSRepoStoreTarget::forSourceLocation(location);
    auto page = target ? target->endpoint.urlForPath("authenticate",
                                                     {{"udid", KSPlatform::deviceUDID()},
                                                      {"model", KSPlatform::deviceModelID()}})
                       : std::nullopt;
    if (!page) {
        completion({false, target ? KSRepoStoreError::make(KSRepoStoreError::NoEndpoint,
                                                           "The repository's address is unusable.")
                                  : target.error()});
        return;
    }
    pendingFlow_.start(KSRepoStorePendingFlow::Signin{location, std::move(completion)}, *page);
}

void KSRepoStoreAPI::beginPayment(const KSRepoStoreTarget& target, const std::string& identifier,
                                  const KSRepoStoreReply& reply, PurchaseCompletion completion) {
    auto page = webAddress(reply.document["url"]);
    if (!page) {
        completion({false, KSRepoStorePurchaseResponse::kStatusFailed,
                    KSRepoStoreError::make(KSRepoStoreError::IncompleteReply,
                                           "The repository did not send a payment page.")});
        return;
    }
    KSRepoStorePendingFlow::Payment payment{target.location, identifier, std::move(completion)};
    foundation::runOnMain([this, payment = std::move(payment), page = std::move(*page)]() mutable {
        pendingFlow_.start(std::move(payment), page);
    });
}

void KSRepoStoreAPI::confirmPayment(KSRepoStorePendingFlow::Payment payment) {
    purchaseInfoForPackageWithIdentifier(
        payment.identifier, [completion = std::move(payment.completion)](
                                bool failed, KSRepoStorePackageInfoResponse info) {
            if (!failed && !info.error && info.purchased)
                return completion({false, KSRepoStorePurchaseResponse::kStatusCompleted, {}});
            completion({info.invalidate, KSRepoStorePurchaseResponse::kStatusFailed,
                        info.error.value_or(KSRepoStoreError::make(
                            KSRepoStoreError::PurchaseNotConfirmed,
                            "The repository has not confirmed the purchase."))});
        });
}

void KSRepoStoreAPI::storeEndpoint(const std::string& location,
                                   const std::optional<std::string>& endpoint) {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        auto source = realm.objectForPrimaryKey<KSRSource>(location);
        if (!source ||
            (source->hasEndpoint == endpoint.has_value() && source->endpoint == endpoint))
            return;
        source->hasEndpoint = endpoint.has_value();
        source->endpoint = endpoint;
        realm.addOrUpdateObject(*source);
    });
}

void KSRepoStoreAPI::markPurchasedPackages(const std::string& location,
                                           const std::vector<std::string>& identifiers) {
    if (identifiers.empty())
        return;
    auto realm = KSDatabase::realm();
    realm.write([&] {
        for (const auto& identifier : identifiers) {
            auto package = realm.objectForPrimaryKey<KSRPackage>(identifier);
            // A repository vouches only for its own packages.
            if (!package || package->sourceLocation != location || package->isPaidThroughSileo)
                continue;
            package->isPaidThroughSileo = true;
            realm.addOrUpdateObject(*package);
        }
    });
}

}  // namespace corvane
