// Repository icons through the cache against a loopback server: memory, then disk after a
// restart, one fetch per key, failures remembered only in memory, and the limits on what is
// fetched.
#include "ui/imagecache/KSPersistentImageCache.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>

#include "foundation/Digest.h"
#include "foundation/FileManager.h"
#include "foundation/Strings.h"
#include "framework/device/KSPaths.h"
#include "support/HttpServer.h"
#include "support/TempDeviceRoot.h"

namespace corvane {
namespace {

using foundation::FileManager;
using testing_support::CannedResponse;
using uikit::Color;

constexpr const char* kBigBoss = "apt.bigboss.example.org/repofiles/cydia/";

std::string pngOf(const Color& color, uikit::Size size = {4, 4}) {
    auto png = uikit::Image::withColor(color, size)->pngData().value();
    return {png.begin(), png.end()};
}

// A PNG of noise, which does not compress: well above the size cap, yet a good image.
std::string largePNG() {
    auto pixels = std::make_shared<uikit::PixelBuffer>();
    pixels->width = pixels->height = 1000;
    pixels->stride = pixels->width * 4;
    pixels->bytes.resize(static_cast<std::size_t>(pixels->stride) * pixels->height);
    std::mt19937 noise(7);
    for (auto& byte : pixels->bytes)
        byte = static_cast<std::uint8_t>(noise());
    for (std::size_t alpha = 3; alpha < pixels->bytes.size(); alpha += 4)
        pixels->bytes[alpha] = 255;
    auto png = uikit::Image::fromPixels(pixels, 1)->pngData().value();
    return {png.begin(), png.end()};
}

CannedResponse image(std::string body, double delaySeconds = 0) {
    CannedResponse response;
    response.body = std::move(body);
    response.contentType = "image/png";
    response.delaySeconds = delaySeconds;
    return response;
}

CannedResponse missing(double delaySeconds = 0) {
    CannedResponse response;
    response.status = 404;
    response.delaySeconds = delaySeconds;
    return response;
}

class KSPersistentImageCacheTest : public ::testing::Test {
  protected:
    void SetUp() override { server_.start(); }
    void TearDown() override { server_.stop(); }

    std::shared_ptr<KSPersistentImageCache> restart() {
        return std::make_shared<KSPersistentImageCache>();
    }
    static void settle(const KSPersistentImageCache& cache) {
        cache.iconFetchQueue()->waitUntilAllOperationsAreFinished();
    }
    std::size_t requestsFor(const std::string& path) const {
        std::size_t count = 0;
        for (const auto& request : server_.requests())
            count += request.path == path;
        return count;
    }
    static Color colourOf(const std::shared_ptr<uikit::Image>& image) {
        return image ? image->pixelAt(0, 0) : Color::clear();
    }
    static bool isDefault(const std::shared_ptr<uikit::Image>& image) {
        return image && image->name() == "KSCydiaSource";
    }

    testing_support::TempDeviceRoot root_;
    testing_support::HttpServer server_;
};

TEST_F(KSPersistentImageCacheTest, AnswersFromMemoryThenFromDiskAfterARestart) {
    server_.route("/icon.png", image(pngOf(Color::systemRed())));
    const std::string key = server_.url("/icon.png");
    auto cache = restart();
    std::mutex mutex;
    std::vector<std::shared_ptr<uikit::Image>> heard;
    auto first = cache->imageForKey(key, [&](const auto& icon) {
        std::lock_guard lock(mutex);
        heard.push_back(icon);
    });
    EXPECT_TRUE(isDefault(first)) << "the default icon while the real one comes";
    settle(*cache);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(colourOf(heard.front()), Color::systemRed());
    EXPECT_EQ(colourOf(cache->imageForKey(key)), Color::systemRed());
    EXPECT_EQ(requestsFor("/icon.png"), 1u);

    const auto file = KSPersistentImageCache::filePathForKey(key);
    EXPECT_EQ(foundation::lastPathComponent(file), "Icon-" + foundation::sha256Hex(key));
    EXPECT_EQ(foundation::deletingLastPathComponent(file), KSPaths::iconCacheDirectory());
    ASSERT_TRUE(FileManager::fileExists(file));
    ASSERT_TRUE(FileManager::setModificationDate(file, 1'000'000).ok());

    auto afterRestart = restart();
    EXPECT_FALSE(afterRestart->objectForKey(key));
    EXPECT_EQ(colourOf(afterRestart->imageForKey(key)), Color::systemRed());
    EXPECT_TRUE(afterRestart->objectForKey(key)) << "kept in memory from the file";
    settle(*afterRestart);
    EXPECT_EQ(requestsFor("/icon.png"), 1u);
    EXPECT_EQ(FileManager::modificationDate(file), 1'000'000) << "a disk hit writes nothing";

    afterRestart->removeObjectForKey(key);
    EXPECT_FALSE(FileManager::fileExists(file));
    EXPECT_TRUE(isDefault(afterRestart->imageForKey(key)));
    settle(*afterRestart);
    EXPECT_EQ(requestsFor("/icon.png"), 2u);
}

TEST_F(KSPersistentImageCacheTest, TwoLookupsOfOneKeyFetchOnceAndBothHearTheIcon) {
    server_.route("/slow.png", image(pngOf(Color::systemBlue()), 0.3));
    const std::string key = server_.url("/slow.png");
    auto cache = restart();
    std::mutex mutex;
    int heard = 0;
    auto count = [&](const auto&) {
        std::lock_guard lock(mutex);
        ++heard;
    };
    cache->imageForKey(key, count);
    cache->imageForKey(key, count);
    settle(*cache);
    EXPECT_EQ(requestsFor("/slow.png"), 1u);
    EXPECT_EQ(heard, 2);
}

TEST_F(KSPersistentImageCacheTest, AFailedFetchIsRememberedInMemoryAndNeverReplacesAGoodIcon) {
    server_.route("/gone.png", missing());
    const std::string gone = server_.url("/gone.png");
    auto cache = restart();
    bool heard = false;
    cache->imageForKey(gone, [&](const auto&) { heard = true; });
    settle(*cache);
    EXPECT_TRUE(isDefault(cache->imageForKey(gone)));
    settle(*cache);
    EXPECT_EQ(requestsFor("/gone.png"), 1u) << "not asked again";
    EXPECT_FALSE(heard);
    EXPECT_FALSE(FileManager::fileExists(KSPersistentImageCache::filePathForKey(gone)));
    auto afterRestart = restart();
    afterRestart->imageForKey(gone);
    settle(*afterRestart);
    EXPECT_EQ(requestsFor("/gone.png"), 2u) << "a failure is not written down";

    // A good icon arrives while a fetch of the same key is under way, and that fetch fails.
    server_.route("/flaky.png", missing(0.3));
    const std::string flaky = server_.url("/flaky.png");
    cache->imageForKey(flaky);
    cache->setImage(uikit::Image::withColor(Color::systemGreen(), {4, 4}), flaky);
    settle(*cache);
    EXPECT_EQ(requestsFor("/flaky.png"), 1u);
    EXPECT_EQ(colourOf(cache->imageForKey(flaky)), Color::systemGreen());
    EXPECT_EQ(colourOf(restart()->imageForKey(flaky)), Color::systemGreen());

    server_.route("/garbage.png", image("not an image at all"));
    const std::string garbage = server_.url("/garbage.png");
    cache->imageForKey(garbage);
    settle(*cache);
    EXPECT_TRUE(isDefault(cache->imageForKey(garbage)));
    settle(*cache);
    EXPECT_EQ(requestsFor("/garbage.png"), 1u) << "data that does not decode is a failure";
    EXPECT_FALSE(FileManager::fileExists(KSPersistentImageCache::filePathForKey(garbage)));
}

TEST_F(KSPersistentImageCacheTest, FetchesOnlyWebAddressesAndNothingTooLarge) {
    auto cache = restart();
    for (const char* address : {"file:///etc/hostname", "ftp://127.0.0.1/icon.png",
                                "127.0.0.1/icon.png", "source_icon_other"})
        EXPECT_TRUE(isDefault(cache->imageForKey(address))) << address;
    EXPECT_EQ(cache->iconFetchQueue()->operationCount(), 0u);

    const std::string large = largePNG();
    ASSERT_GT(static_cast<std::int64_t>(large.size()), KSPersistentImageCache::kMaximumIconBytes);
    ASSERT_TRUE(uikit::Image::fromData(foundation::Bytes(large.begin(), large.end())))
        << "a good image, only too large";
    server_.route("/huge.png", image(large));
    const std::string huge = server_.url("/huge.png");
    cache->imageForKey(huge);
    settle(*cache);
    EXPECT_TRUE(isDefault(cache->imageForKey(huge)));
    EXPECT_FALSE(FileManager::fileExists(KSPersistentImageCache::filePathForKey(huge)));
}

TEST_F(KSPersistentImageCacheTest, RepositoryIconsAreChosenByExactHost) {
    const std::string location = std::string("https://") + kBigBoss;
    EXPECT_EQ(KSPersistentImageCache::overrideKeyForKey(location), kBigBoss);
    EXPECT_EQ(KSPersistentImageCache::overrideKeyForKey(std::string("http://") + kBigBoss),
              kBigBoss);
    EXPECT_EQ(KSPersistentImageCache::overrideKeyForKey(
                  "HTTPS://APT.BIGBOSS.EXAMPLE.ORG/repofiles/cydia/CydiaIcon.png"),
              kBigBoss);
    EXPECT_EQ(KSPersistentImageCache::fileNameForKey(location),
              KSPersistentImageCache::fileNameForKey(std::string("http://") + kBigBoss));
    EXPECT_EQ(KSPersistentImageCache::overrideKeyForKey("https://repo.vostrel.example.org"),
              "repo.vostrel.example.org/");

    for (const std::string& elsewhere :
         {std::string("https://evil.example.org/?u=") + kBigBoss,
          std::string("https://evil.example.org/") + kBigBoss,
          std::string("https://apt.bigboss.example.org.evil.example.org/repofiles/cydia/"),
          std::string("https://apt.bigboss.example.org/other/"),
          std::string("https://x.apt.modmyi.example.org/")})
        EXPECT_EQ(KSPersistentImageCache::overrideKeyForKey(elsewhere), elsewhere);

    auto cache = restart();
    auto icon = cache->imageForKey(location);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->name(), "KSCydiaSourceBigBoss");
    EXPECT_EQ(cache->imageForKey("http://apt.modmyi.example.org/")->name(), "KSCydiaSourceMMI");
    EXPECT_EQ(cache->iconFetchQueue()->operationCount(), 0u) << "the bundle has them";
}

}  // namespace
}  // namespace corvane
