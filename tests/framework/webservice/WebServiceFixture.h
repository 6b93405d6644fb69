#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "foundation/RunLoop.h"
#include "foundation/Strings.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "support/HttpServer.h"
#include "support/TempDeviceRoot.h"

namespace corvane::testing {

// What a completion was called with, and whether it ran on the main thread.
template <typename T>
struct Delivered {
    T value;
    bool onMain = false;
};

// Starts a request and waits for its completion, which runs on the URL-loading queue.
template <typename T>
Delivered<T> await(const std::function<void(std::function<void(T)>)>& start) {
    auto promise = std::make_shared<std::promise<Delivered<T>>>();
    auto future = promise->get_future();
    start([promise](T value) {
        promise->set_value({std::move(value), foundation::RunLoop::main().isMainThread()});
    });
    if (future.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        throw std::runtime_error("the completion never ran");
    }
    return future.get();
}

// For completions that take nothing.
inline Delivered<bool> awaitCall(const std::function<void(std::function<void()>)>& start) {
    return await<bool>([&](std::function<void(bool)> done) { start([done] { done(true); }); });
}

// "a=1&b=x%26y" -> {a: 1, b: x&y}.
inline std::map<std::string, std::string> formFields(const std::string& body) {
    std::map<std::string, std::string> fields;
    if (body.empty()) {
        return fields;
    }
    for (const auto& pair : foundation::split(body, "&")) {
        auto equals = pair.find('=');
        auto name = foundation::percentDecode(pair.substr(0, equals));
        auto value = foundation::percentDecode(
            equals == std::string::npos ? std::string() : pair.substr(equals + 1));
        fields[name.value_or("<undecodable>")] = value.value_or("<undecodable>");
    }
    return fields;
}

// A fresh device root (preferences, keychain, database) and a loopback web service at
// "/api", named by the environment.
class WebServiceFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.start();
        setenv(KSWebServiceAddress::kEnvironmentVariable, server_.url("/api").c_str(), 1);
    }

    void reply(const std::string& endpoint, std::string body, int status = 200) {
        server_.route("/api/" + endpoint, {.status = status,
                                           .headers = {},
                                           .body = std::move(body),
                                           .contentType = "application/json"});
    }

    void signIn(const std::string& username, const std::string& token = "token-1") {
        reply("account/signin", R"({"userID": 7, "token": ")" + token + R"(", "premium": 1})");
        auto result = await<std::optional<foundation::Error>>(
            [&](auto done) { KSAccount::instance()->signIn(username, "secret", std::move(done)); });
        ASSERT_FALSE(result.value) << result.value->localizedDescription();
    }

    // The requests to one endpoint.
    std::vector<testing_support::CapturedRequest> requestsTo(const std::string& endpoint) const {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : server_.requests()) {
            if (request.path == "/api/" + endpoint) {
                found.push_back(request);
            }
        }
        return found;
    }

    testing_support::TempDeviceRoot root_;
    testing_support::HttpServer server_;
};

}  // namespace corvane::testing
