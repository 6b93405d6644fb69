#include "ui/core/KSScreenFactory.h"

#include <map>
#include <mutex>

#include "foundation/Log.h"

namespace corvane {

namespace {

std::mutex buildersMutex;

std::map<KSScreenFactory::Screen, KSScreenFactory::Builder>& builders() {
    static std::map<KSScreenFactory::Screen, KSScreenFactory::Builder> registered;
    return registered;
}

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
    }
    return "unknown";
}

}  // namespace

void KSScreenFactory::registerScreen(Screen screen, Builder builder) {
    std::lock_guard lock(buildersMutex);
    if (builder)
        builders()[screen] = std::move(builder);
    else
        builders().erase(screen);
}

void KSScreenFactory::reset() {
    std::lock_guard lock(buildersMutex);
    builders().clear();
}

std::shared_ptr<uikit::ViewController> KSScreenFactory::make(Screen screen,
                                                             const Request& request) {
    Builder builder;
    {
        std::lock_guard lock(buildersMutex);
        auto found = builders().find(screen);
        if (found != builders().end())
            builder = found->second;
    }
    auto controller = builder ? builder(request) : nullptr;
    if (!controller)
        KSLog("The %@ screen is not available; nothing was shown", nameOf(screen));
    return controller;
}

std::shared_ptr<uikit::ViewController> KSScreenFactory::make(Screen screen) {
    return make(screen, Request());
}

}  // namespace corvane
