#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Result.h"

namespace corvane {

// The command line of the program. With no other application and no home screen around, its
// options stand in for the events the platform would deliver.
struct KSLaunchOptions {
    static constexpr const char* kErrorDomain = "KSLaunchOptions";

    // The device root (--root); when absent or empty, the environment's CORVANE_ROOT, else the
    // default device root under the user's data folder.
    std::optional<std::string> root;
    // The program's own data (--data); when absent or empty, the environment's CORVANE_DATA, else
    // the folder beside the device root named after it with "-data".
    std::optional<std::string> data;
    // Handed to the delegate in order once launched, as if other applications opened them.
    std::vector<std::string> urlsToOpen;
    // The application that hands them over (--source-application); none when absent.
    std::optional<std::string> sourceApplication;
    // Button titles that answer the alerts shown, or the bars of screens presented without
    // one, one each, in order (--answer): a person's taps in a run without one.
    std::vector<std::string> answers;
    // A home-screen shortcut picked once launched.
    std::optional<std::string> shortcutType;
    // Terminate, as the platform would, once nothing runs and nothing is pending.
    bool untilIdle = false;
    // Print the visible screen on the way out.
    bool describe = false;
    // Draw the visible screen into this PNG file on the way out.
    std::optional<std::string> snapshotPath;
    bool help = false;

    // An unknown option, a missing value or a stray argument is an error that names it.
    static foundation::Result<KSLaunchOptions> parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& programName);
};

}  // namespace corvane
