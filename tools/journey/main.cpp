// Plays a person's steps on Corvane: launches the application on a device root, then taps,
// presses, opens URLs and looks at the screen as a steps file says (see JourneyStep.h), waiting
// before each step until the application has come to rest. The demo walks a user's journey with
// it, and the end-to-end tests walk theirs.
//
//   corvane-journey --root DIR [--data DIR] --steps FILE [--snapshots DIR]
//                   [--step-timeout SECONDS]
//
// Exit status 0 when every step was done, 1 when one could not be (the reason and the screen
// are printed), 2 for unusable arguments.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "JourneyPlayer.h"
#include "JourneyStep.h"
#include "app/KSProcessStart.h"
#include "app/launch/KSLogFile.h"
#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "foundation/FileManager.h"
#include "framework/storage/KSDataFolderMigration.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

struct Options {
    std::string root;
    std::string data;
    std::string stepsPath;
    corvane::journey::JourneyPlayer::Settings settings;
};

bool parse(const std::vector<std::string>& arguments, Options& options) {
    for (std::size_t index = 0; index + 1 < arguments.size(); index += 2) {
        const auto& name = arguments[index];
        const auto& value = arguments[index + 1];
        if (name == "--root")
            options.root = value;
        else if (name == "--data")
            options.data = value;
        else if (name == "--steps")
            options.stepsPath = value;
        else if (name == "--snapshots")
            options.settings.snapshotFolder = value;
        else if (name == "--step-timeout")
            options.settings.stepTimeoutSeconds = std::stod(value);
        else
            return false;
    }
    return arguments.size() % 2 == 0 && !options.root.empty() && !options.stepsPath.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::cerr << "usage: " << argv[0]
                  << " --root DIR [--data DIR] --steps FILE [--snapshots DIR] [--step-timeout "
                     "SECONDS]\n";
        return 2;
    }
    auto text = foundation::FileManager::readText(options.stepsPath);
    auto steps = text
                     ? corvane::journey::JourneyStep::parse(*text)
                     : foundation::Result<std::vector<corvane::journey::JourneyStep>>(text.error());
    if (!steps) {
        std::cerr << options.stepsPath << ": " << steps.error().localizedDescription() << "\n";
        return 2;
    }
    foundation::DeviceRoot::set(options.root);
    foundation::DataFolder::set(options.data);
    if (!corvane::KSProcessStart::prepareFolders())
        return 1;

    FILE* terminal = fdopen(dup(STDOUT_FILENO), "w");
    corvane::KSLogFile::redirectStandardStreams();
    corvane::KSDataFolderMigration::moveEarlierData();
    auto player = std::make_shared<corvane::journey::JourneyPlayer>(std::move(*steps),
                                                                    options.settings, terminal);
    player->start();
    corvane::KSProcessStart::runApplication(argc, argv);
    const bool succeeded = player->succeeded();
    player.reset();
    std::fclose(terminal);
    return succeeded ? 0 : 1;
}
