#include "uikit/Application.h"

#include "foundation/SharedInstance.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "uikit/Window.h"

extern char** environ;

namespace uikit {

namespace {

// The desktop's opener, given the URL as its one argument; no shell ever sees the text.
bool openWithDesktopOpener(const std::string& url) {
    std::string program = "xdg-open";
    std::vector<char*> argv = {program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    foundation::runInBackground([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    });
    return true;
}

}  // namespace

Application& Application::shared() {
    static auto* application = new foundation::SharedInstance<Application>(
        [] { return std::shared_ptr<Application>(new Application()); });
    return application->get();
}

bool Application::finishLaunching(const foundation::Value& options) {
    state_ = State::inactive;
    terminated_ = false;
    bool launched = delegate_ ? delegate_->didFinishLaunching(options) : true;
    foundation::NotificationCenter::defaultCenter().post(kDidFinishLaunchingNotification);
    return launched;
}

void Application::becomeActive() {
    state_ = State::active;
    if (delegate_)
        delegate_->didBecomeActive();
    foundation::NotificationCenter::defaultCenter().post(kDidBecomeActiveNotification);
}

void Application::enterBackground() {
    state_ = State::background;
    foundation::NotificationCenter::defaultCenter().post(kDidEnterBackgroundNotification);
}

void Application::enterForeground() {
    state_ = State::inactive;
    if (delegate_)
        delegate_->willEnterForeground();
    foundation::NotificationCenter::defaultCenter().post(kWillEnterForegroundNotification);
    becomeActive();
}

void Application::terminate() {
    if (!terminated_) {
        terminated_ = true;
        if (delegate_)
            delegate_->willTerminate();
        foundation::NotificationCenter::defaultCenter().post(kWillTerminateNotification);
    }
    foundation::RunLoop::main().stop();
}

void Application::openURL(const foundation::URL& url, const foundation::Value& options,
                          std::function<void(bool success)> completion) {
    openedURLs_.push_back(url);
    bool opened = false;
    if (url.hasWebScheme()) {
        opened = urlOpener_ ? urlOpener_(url.absoluteString())
                            : openWithDesktopOpener(url.absoluteString());
    }
    if (completion)
        foundation::runAsyncOnMain([completion, opened] { completion(opened); });
}

foundation::ObservationToken Application::setURLOpener(URLOpener opener) {
    urlOpener_ = std::move(opener);
    std::uint64_t generation = ++urlOpenerGeneration_;
    // A later opener stays when an earlier token goes.
    return foundation::ObservationToken([this, generation] {
        if (urlOpenerGeneration_ == generation)
            urlOpener_ = {};
    });
}

bool Application::handleOpenURL(const foundation::URL& url, const foundation::Value& options) {
    return delegate_ && delegate_->openURL(url, options);
}

void Application::performShortcutItem(const ApplicationShortcutItem& item,
                                      std::function<void(bool succeeded)> completion) {
    auto done = [completion](bool succeeded) {
        if (completion)
            completion(succeeded);
    };
    if (delegate_) {
        delegate_->performActionForShortcutItem(item, done);
    } else {
        done(false);
    }
}

void Application::setAlternateIconName(
    std::optional<std::string> name,
    std::function<void(std::optional<foundation::Error>)> completion) {
    alternateIconName_ = std::move(name);
    if (completion)
        foundation::runAsyncOnMain([completion] { completion(std::nullopt); });
}

void Application::setSystemUserInterfaceStyle(UserInterfaceStyle style) {
    systemStyle_ = style;
    for (auto& weak : std::vector(windows_))
        if (auto window = weak.lock())
            window->updateTraits();
}

void Application::addWindow(const std::shared_ptr<Window>& window) {
    std::erase_if(windows_, [](const std::weak_ptr<Window>& weak) { return weak.expired(); });
    for (auto& weak : windows_)
        if (weak.lock() == window)
            return;
    windows_.push_back(window);
}

void Application::setKeyWindow(const std::shared_ptr<Window>& window) {
    addWindow(window);
    keyWindow_ = window;
}

}  // namespace uikit
