#include "framework/compatibility/TweakCompatibilityManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "device/Identity.h"
#include "foundation/FileManager.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;
using Status = TweakCompatibilityStatus;

constexpr const char* kDocument = R"({"packages": [
    {"id": "com.example.works", "versions": {"1.0": "working", "1.1": "not working"}},
    {"id": "com.example.broken", "versions": {"2.0": "not working", "2.1": "partial"}},
    {"versions": {"1.0": "working"}},
    {"id": "com.example.odd", "versions": ["1.0"]}
]})";

class TweakCompatibilityManagerTest : public testing::Test {
  protected:
    void SetUp() override {
        device::Identity::setFirmwareVersion("14.3");
        server_.start();
        address_ = server_.url("/compatibility/%@.json");
    }

    std::shared_ptr<TweakCompatibilityManager> prepared() {
        auto manager = std::make_shared<TweakCompatibilityManager>(address_);
        bool done = false;
        manager->prepare([&done] { done = true; });
        testing_support::pumpUntil([&done] { return done; });
        return manager;
    }

    void serve(std::string body, int status = 200) {
        server_.route(
            "/compatibility/14.3.json",
            {.status = status, .body = std::move(body), .contentType = "application/json"});
    }

    // Throws, failing the test, when there is no cache file for the version.
    std::string cache() const { return TweakCompatibilityManager::cacheFile("14.3").value(); }

    // An old cache is fetched again on the next launch.
    void ageCache() const { ASSERT_TRUE(FileManager::setModificationDate(cache(), 1e9).ok()); }

    std::optional<std::string> address_;
    testing_support::TempDeviceRoot root_;
    testing_support::HttpServer server_;
};

TEST_F(TweakCompatibilityManagerTest, StatusesComeFromTheServedDocument) {
    serve(kDocument);
    auto manager = prepared();
    EXPECT_EQ(manager->statusForBundle("com.example.works", "1.0"), Status::Working);
    EXPECT_EQ(manager->statusForBundle("com.example.works", "1.1"), Status::NotWorking);
    EXPECT_EQ(manager->statusForBundle("com.example.works", "1.2"), Status::Unknown);
    EXPECT_EQ(manager->statusForBundle("com.example.broken", "2.1"), Status::Unknown);
    EXPECT_EQ(manager->statusForBundle("com.example.odd", "1.0"), Status::Unknown);
    EXPECT_EQ(manager->statusForBundle("com.example.missing", "1.0"), Status::Unknown);

    EXPECT_EQ(manager->colorForBundle("com.example.works", "1.0"), uikit::Color::systemGreen());
    EXPECT_EQ(manager->colorForBundle("com.example.broken", "2.0"), uikit::Color::systemRed());
    EXPECT_EQ(manager->colorForBundle("com.example.missing", "1.0"), uikit::Color::systemYellow());
    EXPECT_EQ(FileManager::readText(cache()).valueOr(""), kDocument);
}

TEST_F(TweakCompatibilityManagerTest, AFreshCacheServesTheNextLaunchWithoutAFetch) {
    serve(kDocument);
    prepared();
    ASSERT_EQ(server_.requests().size(), 1u);

    auto relaunched = prepared();
    EXPECT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(relaunched->statusForBundle("com.example.works", "1.1"), Status::NotWorking);

    address_.reset();
    ageCache();
    EXPECT_EQ(prepared()->statusForBundle("com.example.works", "1.0"), Status::Working);
}

TEST_F(TweakCompatibilityManagerTest, AnOldCacheIsReplacedByANewDocument) {
    serve(kDocument);
    prepared();
    ageCache();
    serve(R"({"packages": [{"id": "com.example.works", "versions": {"1.0": "not working"}}]})");
    auto manager = prepared();
    EXPECT_EQ(server_.requests().size(), 2u);
    EXPECT_EQ(manager->statusForBundle("com.example.works", "1.0"), Status::NotWorking);
    EXPECT_EQ(manager->statusForBundle("com.example.broken", "2.0"), Status::Unknown);
}

TEST_F(TweakCompatibilityManagerTest, ABadDocumentKeepsTheOldCache) {
    serve(kDocument);
    prepared();
    const std::string oversized =
        R"({"packages": [)" + std::string(CompatibilityDocument::kMaximumBytes, ' ') + "]}";
    for (const auto& [body, status] : std::vector<std::pair<std::string, int>>{
             {R"({"packages": [{"id": )", 200},
             {R"({"items": []})", 200},
             {R"([1, 2])", 200},
             {oversized, 200},
             {R"({"packages": []})", 500},
         }) {
        ageCache();
        serve(body, status);
        auto manager = prepared();
        EXPECT_EQ(manager->statusForBundle("com.example.works", "1.0"), Status::Working)
            << body.substr(0, 40);
        EXPECT_EQ(FileManager::readText(cache()).valueOr(""), kDocument);
    }
    EXPECT_EQ(server_.requests().size(), 6u);
}

TEST_F(TweakCompatibilityManagerTest, NothingIsFetchedWithoutAnHttpAddress) {
    serve(kDocument);
    address_.reset();
    EXPECT_EQ(prepared()->statusForBundle("com.example.works", "1.0"), Status::Unknown);
    address_ = "file:///etc/%@";
    EXPECT_EQ(prepared()->statusForBundle("com.example.works", "1.0"), Status::Unknown);
    EXPECT_TRUE(server_.requests().empty());
    EXPECT_FALSE(FileManager::fileExists(cache()));
}

TEST_F(TweakCompatibilityManagerTest, AFirmwareVersionThatIsNoVersionNamesNoFile) {
    EXPECT_EQ(TweakCompatibilityManager::cacheFile("../14.3"), std::nullopt);
    EXPECT_EQ(TweakCompatibilityManager::cacheFile(""), std::nullopt);
    device::Identity::setFirmwareVersion("14/3");
    serve(kDocument);
    EXPECT_EQ(prepared()->statusForBundle("com.example.works", "1.0"), Status::Unknown);
    EXPECT_TRUE(server_.requests().empty());
}

TEST(TweakCompatibilityManager, TheAddressComesFromTheEnvironment) {
    unsetenv(TweakCompatibilityManager::kAddressEnvironmentVariable);
    EXPECT_EQ(TweakCompatibilityManager::addressFromEnvironment(), std::nullopt);
    setenv(TweakCompatibilityManager::kAddressEnvironmentVariable, "", 1);
    EXPECT_EQ(TweakCompatibilityManager::addressFromEnvironment(), std::nullopt);
    setenv(TweakCompatibilityManager::kAddressEnvironmentVariable, "https://example.org/%@", 1);
    EXPECT_EQ(TweakCompatibilityManager::addressFromEnvironment(), "https://example.org/%@");
}

}  // namespace
}  // namespace corvane
