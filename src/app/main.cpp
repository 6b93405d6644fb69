// The process entry: the log, then the platform's application loop with KSCorvane as its
// delegate. The options stand in for what the platform would deliver: URLs handed over by other
// applications, a home-screen shortcut, and the end of the process.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/KSCorvane.h"
#include "app/KSProcessStart.h"
#include "app/launch/KSAlertAnswerer.h"
#include "app/launch/KSLaunchOptions.h"
#include "app/launch/KSLogFile.h"
#include "app/launch/KSRestWatch.h"
#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "foundation/Log.h"
#include "foundation/ProcessMemory.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "framework/links/KSLoggedURL.h"
#include "framework/storage/KSDataFolderMigration.h"
#include "uikit/Application.h"
#include "uikit/ViewRenderer.h"
#include "uikit/Window.h"

// Read by the leak checker of sanitised builds at exit. Fontconfig keeps what it allocates while
// parsing its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

using corvane::KSLaunchOptions;

// A text that is no URL is refused in the log, as the application refuses a URL it cannot use;
// the launch and the other URLs go on.
void openHandedOverURL(const std::string& text, const foundation::Value& options) {
    auto url = foundation::URL::withString(text);
    if (!url) {
        KSLog("Refused the URL \"%@\": it cannot be read as a URL",
              corvane::KSLoggedURL::text(text));
        return;
    }
    uikit::Application::shared().handleOpenURL(*url, options);
}

// Delivered on the loop's first turn, once the launch is over and the window is on screen.
void queueLaunchEvents(const KSLaunchOptions& options) {
    auto& loop = foundation::RunLoop::main();
    foundation::Value handOver;
    if (options.sourceApplication)
        handOver = foundation::Dictionary{
            {uikit::Application::kOpenURLOptionsSourceApplicationKey, *options.sourceApplication}};
    for (const auto& text : options.urlsToOpen)
        loop.perform([text, handOver] { openHandedOverURL(text, handOver); });
    if (options.shortcutType) {
        uikit::ApplicationShortcutItem item;
        item.type = *options.shortcutType;
        loop.perform([item] { uikit::Application::shared().performShortcutItem(item); });
    }
}

// The screen goes to the terminal the program was started from, not into the log.
void describeScreen(int terminal) {
    auto window = uikit::Application::shared().keyWindow();
    FILE* out = fdopen(terminal, "w");
    if (!out)
        return;
    if (window)
        std::fputs(window->describe().c_str(), out);
    std::fclose(out);
}

// The screen as a person would see it, drawn into a PNG file; a failure is told on the terminal.
bool snapshotScreen(const std::string& path, int terminal) {
    auto window = uikit::Application::shared().keyWindow();
    auto written = window ? uikit::ViewRenderer::writePNG(*window, path)
                          : foundation::Status(foundation::Error::make(
                                KSLaunchOptions::kErrorDomain, 2, "There is no screen to draw."));
    FILE* out = fdopen(terminal, "w");
    if (!out)
        return written.ok();
    if (!written)
        std::fprintf(out, "Could not write the snapshot %s: %s\n", path.c_str(),
                     written.error().localizedDescription().c_str());
    std::fclose(out);
    return written.ok();
}

}  // namespace

int main(int argc, char** argv) {
    foundation::ProcessMemory::limitRetainedMemory();
    auto options = KSLaunchOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << options.error().localizedDescription() << "\n"
                  << KSLaunchOptions::usage(argv[0]);
        return 2;
    }
    if (options->help) {
        std::cout << KSLaunchOptions::usage(argv[0]);
        return 0;
    }
    if (options->root)
        foundation::DeviceRoot::set(*options->root);
    if (options->data)
        foundation::DataFolder::set(*options->data);
    queueLaunchEvents(*options);
    if (!corvane::KSProcessStart::prepareFolders())
        return 1;

    const int terminal = options->describe ? dup(STDOUT_FILENO) : -1;
    const int errorTerminal = options->snapshotPath ? dup(STDERR_FILENO) : -1;
    corvane::KSLogFile::redirectStandardStreams();
    corvane::KSDataFolderMigration::moveEarlierData();

    std::shared_ptr<corvane::KSAlertAnswerer> answerer;
    if (!options->answers.empty())
        answerer = std::make_shared<corvane::KSAlertAnswerer>(options->answers);
    std::shared_ptr<corvane::KSRestWatch> terminator;
    if (options->untilIdle) {
        // Asked only once all else is at rest: an alert on screen then gets its answer, and what
        // the answer starts is work still pending.
        terminator = std::make_shared<corvane::KSRestWatch>(
            [answerer] {
                if (answerer && answerer->answerShownAlert())
                    return true;
                auto delegate = corvane::KSCorvane::sharedCorvane();
                return delegate && delegate->hasPendingWork();
            },
            [] { uikit::Application::shared().terminate(); });
        terminator->start();
    } else if (answerer) {
        answerer->start();
    }
    int status = corvane::KSProcessStart::runApplication(argc, argv);
    if (terminal >= 0)
        describeScreen(terminal);
    if (options->snapshotPath && !snapshotScreen(*options->snapshotPath, errorTerminal))
        return 1;
    return status;
}
