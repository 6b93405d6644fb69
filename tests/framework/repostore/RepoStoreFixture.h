#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "device/Identity.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "framework/StorageFixture.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "uikit/SafariViewController.h"
#include "uikit/ViewController.h"
#include "uikit/Window.h"

namespace corvane::testing {

// What a completion handed over, and whether it ran on the main thread; shared so that a
// completion arriving after a failed wait touches nothing freed.
template <typename T>
class Outcome {
  public:
    void set(T value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
        onMain_ = foundation::isMainThread();
    }
    bool arrived() const {
        std::lock_guard lock(mutex_);
        return value_.has_value();
    }
    T wait() const {
        testing_support::pumpUntil([this] { return arrived(); });
        std::lock_guard lock(mutex_);
        return value_.value_or(T{});
    }
    bool onMain() const {
        std::lock_guard lock(mutex_);
        return onMain_;
    }

  private:
    mutable std::mutex mutex_;
    std::optional<T> value_;
    bool onMain_ = false;
};

// A source with a payment endpoint on a loopback server, a paid package of it, and a window
// whose root controller presents the in-app browser.
class RepoStoreFixture : public StorageFixture {
  protected:
    static constexpr const char* kUDID = "0123456789abcdef0123456789abcdef01234567";
    static constexpr const char* kModel = "iPhone10,3";
    static constexpr const char* kPaid = "com.example.paid";

    void SetUp() override {
        StorageFixture::SetUp();
        device::Identity::setUniqueDeviceIdentifier(kUDID);
        device::Identity::setModelIdentifier(kModel);
        server_.start();
        location_ = server_.url("/repo/");
        addSource(location_, server_.url("/pay/"));
        auto paid = package(kPaid);
        paid.sourceLocation = location_;
        paid.price = "$1.99";
        store({paid});
        window_->setRootViewController(presenter_);
        window_->makeKeyAndVisible();
        sourceUpdates_ = foundation::NotificationCenter::defaultCenter().addObserver(
            KSRSourceUpdatedNotification, [this](const foundation::Notification& notification) {
                updatedSources_.push_back(notification.object.stringValue());
            });
    }

    static KSRepoStoreAPI& api() { return KSRepoStoreAPI::sharedRepoStore(); }

    static void addSource(const std::string& location, std::optional<std::string> endpoint) {
        KSRSource source;
        source.location = location;
        source.hasEndpoint = endpoint.has_value();
        source.endpoint = std::move(endpoint);
        auto database = realm();
        database.write([&] { database.addOrUpdateObject(source); });
    }

    void routeJSON(const std::string& path, std::string body, int status = 200) {
        server_.route(
            path, {.status = status, .body = std::move(body), .contentType = "application/json"});
    }

    std::shared_ptr<uikit::SafariViewController> browser() const {
        return std::dynamic_pointer_cast<uikit::SafariViewController>(
            presenter_->presentedViewController());
    }

    // Waits until a browser is shown and its presentation has ended.
    std::shared_ptr<uikit::SafariViewController> shownBrowser() const {
        testing_support::pumpUntil(
            [this] { return browser() != nullptr && !browser()->isBeingDismissed(); });
        testing_support::advanceClock(1);
        return browser();
    }

    static void callBack(const std::string& url) {
        auto callback = foundation::URL::withString(url);
        ASSERT_TRUE(callback) << url;
        if (callback->host() == "payment_completed")
            api().purchaseCompletedCallbackHandler();
        else
            api().signinAuthenticationCallBackHandler(*callback);
    }

    KSRepoStoreSigninResponse signIn(
        const std::string& location,
        const std::string& callback =
            "sileo://authentication_success?token=tok-1&payment_secret=sec-1") {
        auto outcome = std::make_shared<Outcome<KSRepoStoreSigninResponse>>();
        api().userSigninForSourceLocation(location,
                                          [outcome](auto response) { outcome->set(response); });
        shownBrowser();
        callBack(callback);
        auto response = outcome->wait();
        testing_support::advanceClock(1);
        return response;
    }

    std::vector<testing_support::CapturedRequest> requestsTo(const std::string& path) const {
        std::vector<testing_support::CapturedRequest> matching;
        for (auto& request : server_.requests()) {
            if (request.path == path)
                matching.push_back(request);
        }
        return matching;
    }

    testing_support::HttpServer server_;
    std::string location_;
    std::shared_ptr<uikit::Window> window_ = std::make_shared<uikit::Window>();
    std::shared_ptr<uikit::ViewController> presenter_ = std::make_shared<uikit::ViewController>();
    std::vector<std::string> updatedSources_;
    foundation::ObservationToken sourceUpdates_;
};

}  // namespace corvane::testing
