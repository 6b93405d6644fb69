#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "framework/webservice/KSWebServiceAddress.h"
#include "screens/packages/PackagePageFixture.h"
#include "support/HttpServer.h"
#include "support/MainLoop.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/NavigationController.h"
#include "uikit/ViewRenderer.h"

namespace corvane::testing {

// The screens a package page opens, as it opens them: through the screen factory, onto the
// page's navigation stack or presented over it, against the sample repository's stored
// packages and the maker's service on 127.0.0.1.
class PageScreenFixture : public PackagePageFixture {
  protected:
    using Screen = KSScreenFactory::Screen;

    void SetUp() override {
        PackagePageFixture::SetUp();
        // What the screens are opened over: a plain white screen stands for the package page.
        navigation->topViewController()->view()->setBackgroundColor(uikit::Color::white());
        service.start();
        setenv(KSWebServiceAddress::kEnvironmentVariable, service.url("/api").c_str(), 1);
    }

    void replyJSON(const std::string& endpoint, std::string body, int status = 200) {
        service.route("/api/" + endpoint, {.status = status,
                                           .headers = {},
                                           .body = std::move(body),
                                           .contentType = "application/json"});
    }

    // Made by the factory, pushed and shown as the page pushes it.
    template <typename T>
    std::shared_ptr<T> push(Screen screen, const KSScreenFactory::Request& request) {
        return show<T>(screen, request, [this](const std::shared_ptr<uikit::ViewController>& made) {
            navigation->push(made, true);
        });
    }

    // Made by the factory and presented in a navigation controller of its own, as the
    // application presents it.
    template <typename T>
    std::shared_ptr<T> presentInNavigation(Screen screen, const KSScreenFactory::Request& request) {
        return show<T>(screen, request, [this](const std::shared_ptr<uikit::ViewController>& made) {
            navigation->present(uikit::NavigationController::create(made), true);
        });
    }

    template <typename T>
    std::shared_ptr<T> show(
        Screen screen, const KSScreenFactory::Request& request,
        const std::function<void(const std::shared_ptr<uikit::ViewController>&)>& how) {
        auto made = std::dynamic_pointer_cast<T>(KSScreenFactory::make(screen, request));
        EXPECT_TRUE(made);
        if (!made)
            return nullptr;
        how(made);
        testing_support::advanceClock(1);
        made->view()->layoutIfNeeded();
        return made;
    }

    // The window as a person sees it; also written as name.png into the folder that
    // CORVANE_SNAPSHOTS names, when it names one, for a person to look at.
    std::shared_ptr<uikit::Image> snapshot(const std::string& name) {
        window->layoutIfNeeded();
        if (const char* folder = std::getenv("CORVANE_SNAPSHOTS")) {
            const auto path = std::string(folder) + "/" + name + ".png";
            EXPECT_TRUE(uikit::ViewRenderer::writePNG(*window, path).ok()) << path;
        }
        return uikit::ViewRenderer::imageOfView(*window);
    }

    testing_support::HttpServer service;
};

}  // namespace corvane::testing
