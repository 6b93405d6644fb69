#pragma once

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/packages/PackagePageFixture.h"
#include "support/HttpServer.h"
#include "uikit/Hands.h"
#include "uikit/ImageContext.h"

namespace corvane::testing {

// The package page with the outside world on 127.0.0.1: the maker's web service under "/api"
// and any image, depiction or page under other paths of the same server. The screens that the
// page opens are stand-ins that note what they were asked to show.
class OnlinePageFixture : public PackagePageFixture {
  protected:
    using Screen = KSScreenFactory::Screen;

    struct Opened {
        Screen screen;
        KSScreenFactory::Request request;
        std::shared_ptr<uikit::ViewController> controller;
    };

    void SetUp() override {
        PackagePageFixture::SetUp();
        web.start();
        setenv(KSWebServiceAddress::kEnvironmentVariable, web.url("/api").c_str(), 1);
        services = std::make_shared<ScreenServices>(window);
        KSApplicationServices::registerServices(services);
        for (Screen screen : {Screen::allReviews, Screen::contactDeveloper, Screen::leaveReview,
                              Screen::developerPackages, Screen::installedFiles,
                              Screen::screenshots, Screen::website, Screen::developerDetails})
            KSScreenFactory::registerScreen(screen, [this, screen](const auto& request) {
                auto controller = std::make_shared<uikit::ViewController>();
                opened.push_back({screen, request, controller});
                return controller;
            });
    }

    // An image of one colour, as a server sends it.
    static std::string png(const uikit::Color& color, uikit::Size size = {40, 60}) {
        uikit::ImageContext context(size, true, 1);
        context.fillAll(color);
        auto data = context.makeImage()->pngData();
        return data ? std::string(data->begin(), data->end()) : std::string();
    }
    void serve(const std::string& path, std::string body, int status = 200,
               const std::string& contentType = "text/html", double delaySeconds = 0) {
        web.route(path, {.status = status,
                         .headers = {},
                         .body = std::move(body),
                         .contentType = contentType,
                         .delaySeconds = delaySeconds});
    }
    void serveImage(const std::string& path, const uikit::Color& color, double delaySeconds = 0) {
        serve(path, png(color), 200, "image/png", delaySeconds);
    }
    void serveJSON(const std::string& endpoint, std::string body, int status = 200) {
        serve("/api/" + endpoint, std::move(body), status, "application/json");
    }

    std::vector<testing_support::CapturedRequest> requestsTo(const std::string& path) const {
        std::vector<testing_support::CapturedRequest> found;
        for (const auto& request : web.requests())
            if (request.path == path)
                found.push_back(request);
        return found;
    }
    std::vector<Opened> openedScreens(Screen screen) const {
        std::vector<Opened> found;
        for (const auto& entry : opened)
            if (entry.screen == screen)
                found.push_back(entry);
        return found;
    }

    void signIn(const std::string& username) {
        serveJSON("account/signin", R"({"userID": 7, "token": "token-1", "premium": 0})");
        std::atomic<bool> done = false;
        KSAccount::instance()->signIn(username, "secret", [&done](auto) { done = true; });
        ASSERT_TRUE(testing_support::pumpUntil([&] { return done.load(); }));
        ASSERT_EQ(KSAccount::instance()->returnUsername(), username);
    }

    // A person scrolls the part of the page to the middle of the screen, clear of the bars.
    static void bringIntoSight(PackageDetailsViewController& page,
                               const std::shared_ptr<uikit::View>& part) {
        const double middle = part->frame().center().y - page.scrollView->bounds().height() / 2;
        page.scrollView->setContentOffset({0, std::max(0.0, middle)});
    }
    // And taps the control there.
    static bool tapOnPage(PackageDetailsViewController& page,
                          const std::shared_ptr<uikit::View>& control) {
        bringIntoSight(page, control);
        return uikit::hands::tap(control);
    }

    // Leaves the page for another screen and comes back to it, as a person does.
    void reappear(PackageDetailsViewController& page) {
        navigation->push(std::make_shared<uikit::ViewController>(), false);
        testing_support::advanceClock(1);
        navigation->pop(false);
        testing_support::advanceClock(1);
        settle(page);
    }

    testing_support::HttpServer web;
    std::vector<Opened> opened;
};

}  // namespace corvane::testing
