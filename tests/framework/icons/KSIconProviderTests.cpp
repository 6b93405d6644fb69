#include "framework/icons/KSIconProvider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/Strings.h"
#include "framework/StorageFixture.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRNotifications.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "uikit/Image.h"

namespace corvane {
namespace {

using foundation::FileManager;

std::string pngOf(const uikit::Color& color, double side) {
    const auto png = *uikit::Image::withColor(color, {side, side})->pngData();
    return {png.begin(), png.end()};
}

class KSIconProviderTest : public testing::StorageFixture {
  protected:
    void SetUp() override {
        StorageFixture::SetUp();
        const auto resources = root_.path() + "/resources";
        ASSERT_TRUE(FileManager::createDirectory(resources));
        ASSERT_TRUE(FileManager::writeAtomically(resources + "/category_tweaks.png",
                                                 pngOf(uikit::Color(1, 0, 0, 1), 4)));
        ASSERT_TRUE(FileManager::writeAtomically(resources + "/category_default.png",
                                                 pngOf(uikit::Color(0, 0, 1, 1), 4)));
        setenv("MAIN_BUNDLE_RESOURCES", resources.c_str(), 1);
        server_.start();
    }
    void TearDown() override { server_.stop(); }

    void storeTweak(const std::string& identifier, const std::string& iconURL) {
        auto record = package(identifier);
        record.category = "Tweaks";
        record.iconURL = iconURL;
        store({record});
    }

    // Every fetch stored or given up, and every announcement made on the main thread.
    static void settle(KSIconProvider& provider) {
        provider.fetchQueue()->waitUntilAllOperationsAreFinished();
        bool drained = false;
        foundation::runAsyncOnMain([&drained] { drained = true; });
        testing_support::pumpUntil([&drained] { return drained; });
    }

    std::vector<std::string> announced() {
        std::lock_guard lock(mutex_);
        return announced_;
    }

    testing_support::HttpServer server_;
    std::shared_ptr<KSIconProvider> provider_ = std::make_shared<KSIconProvider>();
    std::mutex mutex_;
    std::vector<std::string> announced_;
    foundation::ObservationToken observation_ =
        foundation::NotificationCenter::defaultCenter().addObserver(
            KSRPackageInfoIconChangedNotification, [this](const foundation::Notification& note) {
                EXPECT_TRUE(foundation::isMainThread());
                std::lock_guard lock(mutex_);
                announced_.push_back(note.object.stringValue());
            });
};

TEST_F(KSIconProviderTest, AFetchedIconIsStoredAnnouncedOnceAndServedFromTheCache) {
    const auto icon = pngOf(uikit::Color(0, 1, 0, 1), 16);
    server_.route("/icons/tweak.png", {.headers = {}, .body = icon});
    storeTweak("tweak", server_.url("/icons/tweak.png"));

    EXPECT_EQ(provider_->iconForIdentifier("tweak")->name(), "category_tweaks");
    settle(*provider_);

    EXPECT_EQ(announced(), std::vector<std::string>{"tweak"});
    const auto tweak = stored("tweak");
    ASSERT_TRUE(tweak);
    const auto path = tweak->iconPath();
    ASSERT_TRUE(FileManager::fileExists(path));
    EXPECT_EQ(FileManager::readFile(path).valueOr({}), foundation::Bytes(icon.begin(), icon.end()));

    const auto fetched = provider_->iconForIdentifier("tweak");
    EXPECT_TRUE(fetched->name().empty());
    EXPECT_EQ(fetched->pixelWidth(),
              uikit::Image::fromData({icon.begin(), icon.end()})->pixelWidth());
    settle(*provider_);
    EXPECT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(announced().size(), 1u);
}

TEST_F(KSIconProviderTest, AnIconAskedForAgainWhileItLoadsIsFetchedOnce) {
    // The delay keeps the first fetch in flight while the others ask.
    server_.route("/icons/shared.png", {.headers = {},
                                        .body = pngOf(uikit::Color(0, 1, 0, 1), 16),
                                        .contentType = "image/png",
                                        .delaySeconds = 0.5});
    storeTweak("first", server_.url("/icons/shared.png"));
    storeTweak("second", server_.url("/icons/shared.png"));

    for (int asked = 0; asked < 3; ++asked) {
        EXPECT_EQ(provider_->iconForIdentifier("first")->name(), "category_tweaks");
        EXPECT_EQ(provider_->iconForIdentifier("second")->name(), "category_tweaks");
    }
    settle(*provider_);

    EXPECT_EQ(server_.requests().size(), 1u);
    auto names = announced();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second"}));
}

TEST_F(KSIconProviderTest, AFailedFetchKeepsThePlaceholderPostsNothingAndIsNotRetried) {
    server_.route("/missing.png", {.status = 404, .headers = {}, .body = "not here"});
    server_.route("/page.png", {.headers = {}, .body = "<html>not an image</html>"});
    // A real image padded past the cap: only the cap can turn it away.
    const auto huge =
        pngOf(uikit::Color(0, 1, 0, 1), 16) + std::string(KSIconProvider::kMaximumIconBytes, '\0');
    ASSERT_TRUE(uikit::Image::fromData({huge.begin(), huge.end()}));
    server_.route("/huge.png", {.headers = {}, .body = huge});
    storeTweak("missing", server_.url("/missing.png"));
    storeTweak("page", server_.url("/page.png"));
    storeTweak("huge", server_.url("/huge.png"));
    // An earlier download left a damaged file; a failed fetch must not make it worse or remove
    // the evidence either.
    const auto page = stored("page");
    ASSERT_TRUE(page);
    const auto damaged = page->iconPath();
    ASSERT_TRUE(FileManager::createDirectory(foundation::deletingLastPathComponent(damaged)));
    ASSERT_TRUE(FileManager::writeAtomically(damaged, std::string_view("damaged")));

    for (int round = 0; round < 2; ++round) {
        for (const char* identifier : {"missing", "page", "huge"})
            EXPECT_EQ(provider_->iconForIdentifier(identifier)->name(), "category_tweaks");
        settle(*provider_);
    }

    EXPECT_TRUE(announced().empty());
    EXPECT_EQ(server_.requests().size(), 3u) << "a failed address is not asked again";
    const auto missingRecord = stored("missing");
    ASSERT_TRUE(missingRecord);
    EXPECT_FALSE(FileManager::fileExists(missingRecord->iconPath()));
    const auto hugeRecord = stored("huge");
    ASSERT_TRUE(hugeRecord);
    EXPECT_FALSE(FileManager::fileExists(hugeRecord->iconPath()));
    EXPECT_EQ(FileManager::readText(damaged).valueOr(""), "damaged");
}

TEST_F(KSIconProviderTest, OnlyHttpAndHttpsIconsAreFetched) {
    const auto local = root_.path() + "/secret.png";
    ASSERT_TRUE(FileManager::writeAtomically(local, pngOf(uikit::Color(0, 1, 0, 1), 16)));
    storeTweak("local", "file://" + local);
    storeTweak("script", "javascript:alert(1)");

    EXPECT_EQ(provider_->iconForIdentifier("local")->name(), "category_tweaks");
    EXPECT_EQ(provider_->iconForIdentifier("script")->name(), "category_tweaks");
    settle(*provider_);

    const auto localRecord = stored("local");
    ASSERT_TRUE(localRecord);
    EXPECT_FALSE(FileManager::fileExists(localRecord->iconPath()));
    EXPECT_EQ(provider_->iconForIdentifier("local")->name(), "category_tweaks");
    EXPECT_TRUE(announced().empty());
}

TEST_F(KSIconProviderTest, ThePackagesCollectionFetchesThroughTheRegisteredProvider) {
    server_.route("/icons/tweak.png", {.headers = {}, .body = pngOf(uikit::Color(0, 1, 0, 1), 16)});
    storeTweak("tweak", server_.url("/icons/tweak.png"));
    auto& packages = KSRPackageManager::sharedPackageManager().packages();

    KSIconProvider::registerWithPackageManager();
    EXPECT_EQ(packages.iconForIdentifier("tweak")->name(), "category_tweaks");
    settle(*KSIconProvider::sharedProvider());

    EXPECT_EQ(announced(), std::vector<std::string>{"tweak"});
    EXPECT_TRUE(packages.iconForIdentifier("tweak")->name().empty());
    EXPECT_TRUE(KSIconProvider::packageIconForIdentifier("tweak")->name().empty());
    EXPECT_EQ(server_.requests().size(), 1u);
}

}  // namespace
}  // namespace corvane
