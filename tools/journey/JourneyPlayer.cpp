#include "JourneyPlayer.h"

#include <algorithm>
#include <chrono>

#include "ScreenFinder.h"
#include "app/KSCorvane.h"
#include "foundation/Clock.h"
#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "uikit/Application.h"
#include "uikit/Hands.h"
#include "uikit/ViewRenderer.h"
#include "uikit/Window.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane::journey {

namespace {

constexpr double kLongPressSeconds = 1.0;

foundation::Error stepError(const std::string& why) {
    return foundation::Error::make("JourneyPlayer", 1, why);
}

std::shared_ptr<uikit::Window> screen() {
    return uikit::Application::shared().keyWindow();
}

// The application's views, and the banners of the notifications it presented while in front:
// a failure that ends up in a notification reaches the person only there.
bool shows(const std::string& text) {
    if (screen() && screen()->describe().find(text) != std::string::npos)
        return true;
    const auto banners =
        usernotifications::UserNotificationCenter::current().deliveredNotifications();
    return std::ranges::any_of(banners, [&](const usernotifications::Notification& banner) {
        const auto& content = banner.request.content;
        return content.title.find(text) != std::string::npos ||
               content.body.find(text) != std::string::npos;
    });
}

}  // namespace

JourneyPlayer::JourneyPlayer(std::vector<JourneyStep> steps, Settings settings, FILE* out)
    : steps_(std::move(steps)), settings_(std::move(settings)), out_(out) {}

JourneyPlayer::~JourneyPlayer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (watchdog_.joinable())
        watchdog_.join();
}

void JourneyPlayer::start() {
    startedAt_ = foundation::Clock::now();
    watchdog_ = std::thread([this] { watchTheClock(); });
    foundation::RunLoop::main().perform([weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->waitForRest();
    });
}

void JourneyPlayer::waitForRest() {
    ++waitNumber_;
    wake_.notify_all();
    restWatch_ = std::make_shared<KSRestWatch>(
        [] {
            auto delegate = KSCorvane::sharedCorvane();
            return delegate && delegate->hasPendingWork();
        },
        [weak = weak_from_this()] {
            if (auto self = weak.lock())
                self->playNext();
        });
    restWatch_->start();
}

void JourneyPlayer::playNext() {
    if (failed_ || finished_)
        return;
    if (next_ == steps_.size())
        return finish();
    const auto& step = steps_[next_];
    std::fprintf(out_, "> %s\n", step.text().c_str());
    std::fflush(out_);
    if (auto played = play(step); !played)
        return fail(played.error().localizedDescription());
    ++next_;
    waitForRest();
}

foundation::Status JourneyPlayer::play(const JourneyStep& step) {
    switch (step.kind) {
        case JourneyStep::Kind::open: {
            auto url = foundation::URL::withString(step.argument);
            if (!url)
                return stepError("it is no URL");
            uikit::Application::shared().handleOpenURL(*url);
            return foundation::Success();
        }
        case JourneyStep::Kind::tap:
        case JourneyStep::Kind::press:
            return touch(step);
        case JourneyStep::Kind::expect:
            if (shows(step.argument))
                return foundation::Success();
            return stepError(foundation::format("the screen does not show \"%@\"", step.argument));
        case JourneyStep::Kind::show:
            return show(step);
        case JourneyStep::Kind::shortcut:
            return pickShortcut(step);
    }
    return stepError("unknown step");
}

// The frontmost view that reads the title and that a finger reaches; the touch goes to whatever
// takes it there, as it would under a finger.
foundation::Status JourneyPlayer::touch(const JourneyStep& step) {
    auto window = screen();
    for (const auto& view : ScreenFinder::viewsReading(window, step.argument)) {
        if (!ScreenFinder::isReachable(window, view))
            continue;
        if (step.kind == JourneyStep::Kind::press)
            uikit::hands::longPress(view, kLongPressSeconds);
        else
            uikit::hands::tap(view);
        return foundation::Success();
    }
    return stepError(
        foundation::format("nothing a finger can reach on screen reads \"%@\"", step.argument));
}

foundation::Status JourneyPlayer::pickShortcut(const JourneyStep& step) {
    auto& application = uikit::Application::shared();
    for (const auto& item : application.shortcutItems()) {
        if (item.localizedTitle == step.argument) {
            application.performShortcutItem(item);
            return foundation::Success();
        }
    }
    return stepError(
        foundation::format("the application's icon offers no shortcut \"%@\"", step.argument));
}

foundation::Status JourneyPlayer::show(const JourneyStep& step) {
    auto window = screen();
    if (!window)
        return stepError("there is no screen");
    std::fprintf(out_, "%s\n", window->describe().c_str());
    if (settings_.snapshotFolder.empty())
        return foundation::Success();
    char number[8];
    std::snprintf(number, sizeof number, "%02d", ++shown_);
    const auto path = settings_.snapshotFolder + "/" + number + "-" + step.argument + ".png";
    return uikit::ViewRenderer::writePNG(*window, path);
}

void JourneyPlayer::fail(const std::string& why) {
    if (failed_ || finished_)
        return;
    failed_ = true;
    const auto& step = steps_[std::min(next_, steps_.size() - 1)];
    std::fprintf(out_, "The step on line %d, \"%s\", failed: %s.\nThe screen:\n%s\n", step.line,
                 step.text().c_str(), why.c_str(), screen() ? screen()->describe().c_str() : "");
    std::fflush(out_);
    uikit::Application::shared().terminate();
}

void JourneyPlayer::finish() {
    finished_ = true;
    std::fprintf(out_, "Walked %zu steps in %.1f s.\n", steps_.size(),
                 foundation::Clock::now() - startedAt_);
    std::fflush(out_);
    uikit::Application::shared().terminate();
}

void JourneyPlayer::watchTheClock() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const unsigned waiting = waitNumber_;
        const auto timeout = std::chrono::duration<double>(settings_.stepTimeoutSeconds);
        const bool moved =
            wake_.wait_for(lock, timeout, [&] { return stopping_ || waitNumber_ != waiting; });
        if (moved || waiting == 0)
            continue;
        foundation::runOnMain([weak = weak_from_this(), waiting] {
            auto self = weak.lock();
            if (self && self->waitNumber_ == waiting)
                self->fail(foundation::format("the application did not come to rest within %@ s",
                                              self->settings_.stepTimeoutSeconds));
        });
    }
}

}  // namespace corvane::journey
