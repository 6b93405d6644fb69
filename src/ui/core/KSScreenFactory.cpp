#include "ui/core/KSScreenFactory.h"

#include <map>

#include "foundation/Log.h"
#include "foundation/ProcessValue.h"

namespace corvane {

namespace {

using Builders = std::map<KSScreenFactory::Screen, KSScreenFactory::Builder>;
foundation::ProcessValue<Builders> builders;

const char* nameOf(KSScreenFactory::Screen screen) {
    switch (screen) {
        case KSScreenFactory::Screen::queueConfirmation:
            return "queue confirmation";
        case KSScreenFactory::Screen::taskList:
            return "task list";
        case KSScreenFactory::Screen::news:
            return "news";
        case KSScreenFactory::Screen::packageList:
            return "package list";
        case KSScreenFactory::Screen::website:
            return "website";
        case KSScreenFactory::Screen::packagePage:
            return "package page";
        case KSScreenFactory::Screen::webDepiction:
            return "web depiction";
        case KSScreenFactory::Screen::sourcePage:
            return "source page";
        case KSScreenFactory::Screen::developerDetails:
            return "developer details";
        case KSScreenFactory::Screen::importedArchive:
            return "imported archive";
        case KSScreenFactory::Screen::allReviews:
            return "all reviews";
        case KSScreenFactory::Screen::contactDeveloper:
            return "contact developer";
        case KSScreenFactory::Screen::leaveReview:
            return "leave review";
        case KSScreenFactory::Screen::developerPackages:
            return "developer's packages";
        case KSScreenFactory::Screen::installedFiles:
            return "installed files";
        case KSScreenFactory::Screen::screenshots:
            return "screenshots";
    }
    return "unknown";
}

}  // namespace

void KSScreenFactory::registerScreen(Screen screen, Builder builder) {
    builders.update([&](Builders& registered) {
        if (builder)
            registered[screen] = std::move(builder);
        else
            registered.erase(screen);
    });
}

std::shared_ptr<uikit::ViewController> KSScreenFactory::make(Screen screen,
                                                             const Request& request) {
    const Builder builder = builders.update([screen](const Builders& registered) {
        auto found = registered.find(screen);
        return found == registered.end() ? Builder() : found->second;
    });
    auto controller = builder ? builder(request) : nullptr;
    if (!controller)
        KSLog("The %@ screen is not available; nothing was shown", nameOf(screen));
    return controller;
}

std::shared_ptr<uikit::ViewController> KSScreenFactory::make(Screen screen) {
    return make(screen, Request());
}

}  // namespace corvane
