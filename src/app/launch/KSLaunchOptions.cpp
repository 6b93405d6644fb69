#include "app/launch/KSLaunchOptions.h"

#include "foundation/Format.h"

namespace corvane {

namespace {

foundation::Error optionError(std::string_view format, const std::string& argument) {
    return foundation::Error::make(KSLaunchOptions::kErrorDomain, 1,
                                   foundation::format(format, argument));
}

// Where the value of each option that takes one goes.
void storeValue(KSLaunchOptions& options, const std::string& option, const std::string& value) {
    if (option == "--root")
        options.root = value;
    else if (option == "--data")
        options.data = value;
    else if (option == "--open")
        options.urlsToOpen.push_back(value);
    else if (option == "--source-application")
        options.sourceApplication = value;
    else if (option == "--answer")
        options.answers.push_back(value);
    else if (option == "--snapshot")
        options.snapshotPath = value;
    else
        options.shortcutType = value;
}

bool takesValue(const std::string& argument) {
    for (const char* option : {"--root", "--data", "--open", "--source-application", "--answer",
                               "--shortcut", "--snapshot"}) {
        if (argument == option)
            return true;
    }
    return false;
}

}  // namespace

foundation::Result<KSLaunchOptions> KSLaunchOptions::parse(
    const std::vector<std::string>& arguments) {
    KSLaunchOptions options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const auto& argument = arguments[index];
        if (argument == "--until-idle") {
            options.untilIdle = true;
        } else if (argument == "--describe") {
            options.describe = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (takesValue(argument)) {
            if (index + 1 == arguments.size())
                return optionError("%@ needs a value", argument);
            const auto& value = arguments[++index];
            if (value.empty() && argument == "--snapshot")
                return optionError("%@ needs a file name", argument);
            storeValue(options, argument, value);
        } else {
            return optionError("Unknown argument: %@", argument);
        }
    }
    return options;
}

std::string KSLaunchOptions::usage(const std::string& programName) {
    return foundation::format(
        "Usage: %@ [options]\n"
        "Runs the package manager on a device root. Its own files (log, database, preferences,\n"
        "caches, APT's configuration, lists and archives) live in a data folder apart from the\n"
        "device root, where packages can write; its output goes to the log file there\n"
        "(var/mobile/Library/Logs/me.kestrune.corvane/corvane.log).\n"
        "\n"
        "  --root DIR       the device root, created when missing (default, and for an empty\n"
        "                   DIR: $CORVANE_ROOT, else ~/.local/share/corvane/device)\n"
        "  --data DIR       the data folder, created when missing (default, and for an empty\n"
        "                   DIR: $CORVANE_DATA, else the device root's path followed by\n"
        "                   \"-data\", as ~/.local/share/corvane/device-data)\n"
        "  --open URL       once launched, open the URL as if another application handed it\n"
        "                   over (may be repeated)\n"
        "  --source-application ID\n"
        "                   the application that hands the URLs over (payment callbacks\n"
        "                   count only from com.apple.SafariViewService)\n"
        "  --answer TITLE   tap the button TITLE of the next alert shown, or of the bar of a\n"
        "                   screen presented without one (may be repeated: one each, in order)\n"
        "  --shortcut TYPE  once launched, perform the home-screen shortcut of this type\n"
        "  --until-idle     terminate once no task runs and nothing is pending\n"
        "  --describe       print the visible screen before leaving\n"
        "  --snapshot FILE  draw the visible screen into the PNG file before leaving\n"
        "  --help           print this text\n",
        programName);
}

}  // namespace corvane
