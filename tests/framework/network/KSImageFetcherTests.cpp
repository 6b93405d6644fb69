// Images from outside: only a 2xx reply that decodes is an image, and a failure tells whether
// asking again may help, so that what a screen stored is dropped only on a definite answer.
#include "framework/network/KSImageFetcher.h"

#include <gtest/gtest.h>

#include <future>
#include <map>

#include "foundation/RunLoop.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"

namespace corvane {
namespace {

using Outcome = KSImageFetcher::Outcome;

std::string png(const uikit::Color& color) {
    auto data = uikit::Image::withColor(color, {4, 3})->pngData();
    return data ? std::string(data->begin(), data->end()) : std::string();
}

KSImageFetcher::Result fetched(const std::string& address) {
    auto promise = std::make_shared<std::promise<KSImageFetcher::Result>>();
    auto future = promise->get_future();
    KSImageFetcher::fetch(address, [promise](KSImageFetcher::Result result) {
        EXPECT_FALSE(foundation::RunLoop::main().isMainThread());
        promise->set_value(std::move(result));
    });
    EXPECT_EQ(future.wait_for(std::chrono::seconds(30)), std::future_status::ready) << address;
    return future.get();
}

TEST(KSImageFetcher, OnlyADecodedSuccessIsAnImageAndEachFailureSaysWhetherItMayPass) {
    testing_support::HttpServer server;
    server.route("/shot.png", {.body = png(uikit::Color::systemRed()), .contentType = "image/png"});
    server.route("/created.png",
                 {.status = 201, .body = png(uikit::Color::white()), .contentType = "image/png"});
    server.route("/error-page.png",
                 {.status = 404, .body = png(uikit::Color::black()), .contentType = "text/html"});
    server.route("/gone.png", {.status = 410, .body = ""});
    server.route("/busy.png", {.status = 503, .body = png(uikit::Color::black())});
    server.route("/forbidden.png", {.status = 403, .body = ""});
    server.route("/text.png", {.body = "<html>not an image</html>", .contentType = "image/png"});
    server.start();

    auto shot = fetched(server.url("/shot.png"));
    ASSERT_EQ(shot.outcome, Outcome::image);
    ASSERT_TRUE(shot.image);
    EXPECT_EQ(shot.image->pixelWidth() * 3, shot.image->pixelHeight() * 4);
    EXPECT_EQ(shot.image->pixelAt(1, 1), uikit::Color::systemRed());
    EXPECT_EQ(fetched(server.url("/created.png")).outcome, Outcome::image);

    const std::map<std::string, Outcome> failures = {
        {server.url("/error-page.png"), Outcome::definiteFailure},
        {server.url("/gone.png"), Outcome::definiteFailure},
        {server.url("/text.png"), Outcome::definiteFailure},
        {"file:///etc/passwd", Outcome::definiteFailure},
        {"javascript:alert(1)", Outcome::definiteFailure},
        {"", Outcome::definiteFailure},
        {server.url("/busy.png"), Outcome::temporaryFailure},
        {server.url("/forbidden.png"), Outcome::temporaryFailure},
    };
    for (const auto& [address, outcome] : failures) {
        auto result = fetched(address);
        EXPECT_EQ(result.outcome, outcome) << address;
        EXPECT_FALSE(result.image) << address << ": an error page is no image";
    }

    // A server that has gone away may come back.
    const std::string offline = server.url("/shot.png");
    server.stop();
    EXPECT_EQ(fetched(offline).outcome, Outcome::temporaryFailure);
}

TEST(KSImageFetcher, InOrderKeepsTheAddressOrderAndLeavesFailuresOut) {
    testing_support::HttpServer server;
    server.route("/1.png", {.body = png(uikit::Color::systemRed()), .delaySeconds = 0.2});
    server.route("/2.png", {.body = png(uikit::Color::systemBlue())});
    server.start();
    std::optional<std::vector<std::shared_ptr<uikit::Image>>> images;
    bool onMain = false;
    KSImageFetcher::fetchInOrder({server.url("/1.png"), server.url("/missing.png"),
                                  "file:///etc/hosts", server.url("/2.png")},
                                 [&](std::vector<std::shared_ptr<uikit::Image>> fetched) {
                                     onMain = foundation::RunLoop::main().isMainThread();
                                     images = std::move(fetched);
                                 });
    ASSERT_TRUE(testing_support::pumpUntil([&] { return images.has_value(); }));
    EXPECT_TRUE(onMain);
    ASSERT_EQ(images->size(), 2u);
    EXPECT_EQ((*images)[0]->pixelAt(0, 0), uikit::Color::systemRed());
    EXPECT_EQ((*images)[1]->pixelAt(0, 0), uikit::Color::systemBlue());
}

}  // namespace
}  // namespace corvane
