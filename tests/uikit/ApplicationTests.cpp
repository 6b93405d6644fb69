// The application's life, the URLs it opens and its process entry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "RecordingViewController.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "support/MainLoop.h"
#include "uikit/Application.h"
#include "uikit/ApplicationMain.h"
#include "uikit/Window.h"

namespace {

using namespace uikit;
using testing_support::advanceClock;
using uikit_testing::EventLog;
using Events = std::vector<std::string>;

class RecordingDelegate : public ApplicationDelegate {
  public:
    explicit RecordingDelegate(std::shared_ptr<EventLog> log) : log_(std::move(log)) {}

    bool didFinishLaunching(const foundation::Value&) override {
        log_->add("didFinishLaunching");
        return true;
    }
    void willEnterForeground() override { log_->add("willEnterForeground"); }
    void didBecomeActive() override { log_->add("didBecomeActive"); }
    void willTerminate() override { log_->add("willTerminate"); }
    bool openURL(const foundation::URL& url, const foundation::Value& options) override {
        log_->add("openURL " + url.absoluteString() + " from " +
                  options[Application::kOpenURLOptionsSourceApplicationKey].stringValue());
        return true;
    }
    void performActionForShortcutItem(const ApplicationShortcutItem& item,
                                      std::function<void(bool)> completion) override {
        log_->add("shortcut " + item.type);
        completion(item.type == "refresh");
    }

  private:
    std::shared_ptr<EventLog> log_;
};

foundation::URL url(const std::string& text) {
    auto parsed = foundation::URL::withString(text);
    EXPECT_TRUE(parsed) << text;
    return parsed.value_or(foundation::URL::fileURL("/"));
}

class ApplicationTest : public ::testing::Test {
  protected:
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
    Application& application = Application::shared();
    std::vector<foundation::ObservationToken> observations;

    void SetUp() override {
        application.setDelegate(std::make_shared<RecordingDelegate>(log));
        for (auto name : {Application::kDidFinishLaunchingNotification,
                          Application::kDidBecomeActiveNotification,
                          Application::kDidEnterBackgroundNotification,
                          Application::kWillEnterForegroundNotification,
                          Application::kWillTerminateNotification}) {
            observations.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
                name, [this](const foundation::Notification& n) { log->add(n.name); }));
        }
    }
};

TEST_F(ApplicationTest, TheLifeCycleReachesTheDelegateAndTheNotificationCentre) {
    application.finishLaunching();
    application.becomeActive();
    EXPECT_EQ(application.applicationState(), Application::State::active);
    application.enterBackground();
    EXPECT_EQ(application.applicationState(), Application::State::background);
    application.enterForeground();
    EXPECT_EQ(log->take(),
              (Events{"didFinishLaunching", "UIApplicationDidFinishLaunchingNotification",
                      "didBecomeActive", "UIApplicationDidBecomeActiveNotification",
                      "UIApplicationDidEnterBackgroundNotification", "willEnterForeground",
                      "UIApplicationWillEnterForegroundNotification", "didBecomeActive",
                      "UIApplicationDidBecomeActiveNotification"}));
    application.terminate();
    application.terminate();
    EXPECT_EQ(log->take(), (Events{"willTerminate", "UIApplicationWillTerminateNotification"}));

    application.finishLaunching();
    EXPECT_EQ(application.applicationState(), Application::State::inactive);
    application.terminate();
    EXPECT_EQ(log->take(),
              (Events{"didFinishLaunching", "UIApplicationDidFinishLaunchingNotification",
                      "willTerminate", "UIApplicationWillTerminateNotification"}))
        << "a new launch ends with its own goodbye";
}

TEST_F(ApplicationTest, OnlyWebURLsGoToTheOutsideOpener) {
    std::vector<std::string> opened;
    auto opener = application.setURLOpener([&](const std::string& text) {
        opened.push_back(text);
        return true;
    });
    std::vector<bool> results;
    auto record = [&](bool success) { results.push_back(success); };
    std::size_t earlierURLs = application.openedURLs().size();
    application.openURL(url("https://example.com/a"), {}, record);
    application.openURL(url("otherapp://authentication_success"), {}, record);
    application.openURL(url("file:///etc/passwd"), {}, record);
    application.openURL(url("http://example.com/b"), {}, record);
    EXPECT_TRUE(results.empty()) << "completions come on the next turn";
    advanceClock(0);
    EXPECT_EQ(opened, (Events{"https://example.com/a", "http://example.com/b"}));
    EXPECT_EQ(results, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(application.openedURLs().size(), earlierURLs + 4) << "every URL is recorded";
}

TEST_F(ApplicationTest, TheDesktopOpenerGetsTheURLAsOneArgumentWithoutAShell) {
    auto folder = std::filesystem::temp_directory_path() / ("opener-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    auto script = folder / "xdg-open";
    auto output = folder / "arguments";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" << output.string()
                          << ".part\" && mv \"" << output.string() << ".part\" \""
                          << output.string() << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (folder.string() + ":" + oldPath).c_str(), 1);
    // An opener is asked only while its token lives; the desktop's opener comes back after.
    auto asked = std::make_shared<int>(0);
    auto earlier = application.setURLOpener([asked](const std::string&) { return ++*asked > 0; });
    auto later = application.setURLOpener([asked](const std::string&) { return ++*asked > 0; });
    earlier.reset();
    application.openURL(url("https://example.com/kept"));
    EXPECT_EQ(*asked, 1) << "the later opener outlives the earlier token";
    later.reset();

    auto hostile = url("https://example.com/q?x=$(id);y='a'&z=$HOME");
    bool succeeded = false;
    application.openURL(hostile, {}, [&](bool success) { succeeded = success; });
    testing_support::pumpUntil([&] { return std::filesystem::exists(output); });
    advanceClock(0);
    setenv("PATH", oldPath.c_str(), 1);
    std::stringstream arguments;
    arguments << std::ifstream(output).rdbuf();
    EXPECT_EQ(arguments.str(), "1\n" + hostile.absoluteString() + "\n");
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(*asked, 1);
    std::filesystem::remove_all(folder);
}

TEST_F(ApplicationTest, URLsAndShortcutsFromOutsideGoToTheDelegate) {
    foundation::Value options(foundation::Dictionary{
        {Application::kOpenURLOptionsSourceApplicationKey, "com.example.browser"}});
    EXPECT_TRUE(application.handleOpenURL(url("example://show/x"), options));
    application.setShortcutItems(
        {{"refresh",
          "Refresh Sources",
          "Refresh all sources",
          ApplicationShortcutIcon::withTemplateImageName("ShortcutActionRefresh"),
          {}},
         {"add",
          "Add Source",
          std::nullopt,
          ApplicationShortcutIcon::withType(ApplicationShortcutIcon::Type::add),
          {}}});
    std::vector<bool> answers;
    for (const auto& item : application.shortcutItems())
        application.performShortcutItem(item, [&](bool done) { answers.push_back(done); });
    EXPECT_EQ(answers, (std::vector<bool>{true, false}));
    EXPECT_EQ(log->take(), (Events{"openURL example://show/x from com.example.browser",
                                   "shortcut refresh", "shortcut add"}));

    application.setDelegate(nullptr);
    application.performShortcutItem(application.shortcutItems()[0],
                                    [&](bool done) { answers.push_back(done); });
    EXPECT_EQ(answers.back(), false);
}

TEST_F(ApplicationTest, HomeScreenStateIsKept) {
    std::optional<foundation::Error> error{foundation::Error::make("x", 1)};
    application.setAlternateIconName("Dark", [&](auto result) { error = result; });
    application.setApplicationIconBadgeNumber(3);
    application.setNetworkActivityIndicatorVisible(true);
    advanceClock(0);
    EXPECT_EQ(error, std::nullopt);
    EXPECT_EQ(application.alternateIconName(), "Dark");
    EXPECT_EQ(application.applicationIconBadgeNumber(), 3);
    EXPECT_TRUE(application.isNetworkActivityIndicatorVisible());
}

TEST_F(ApplicationTest, TheProcessEntryLaunchesShowsRunsAndTerminates) {
    std::shared_ptr<ApplicationDelegate> delegate = std::make_shared<RecordingDelegate>(log);
    std::shared_ptr<uikit_testing::RecordingViewController> root;
    foundation::RunLoop::main().perform([&] {
        log->add("running");
        EXPECT_EQ(Application::shared().keyWindow(), delegate->window());
        EXPECT_EQ(delegate->window()->rootViewController(), root);
        Application::shared().terminate();
    });
    char name[] = "app";
    char* argv[] = {name, nullptr};
    int status = applicationMain(
        1, argv, [&] { return delegate; },
        [&] {
            root = std::make_shared<uikit_testing::RecordingViewController>("Tabs", log);
            return root;
        });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(log->take(), (Events{"Tabs didLoad", "didFinishLaunching",
                                   "UIApplicationDidFinishLaunchingNotification", "Tabs willAppear",
                                   "Tabs didAppear", "didBecomeActive",
                                   "UIApplicationDidBecomeActiveNotification", "running",
                                   "willTerminate", "UIApplicationWillTerminateNotification"}));
}

}  // namespace
