#include "framework/apt/KSParsingUtility.h"

#include <exception>

#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/debian/ControlFileParser.h"

namespace corvane {

foundation::Array KSParsingUtility::arrayFromPackagesFromString(std::string_view text) {
    return ControlFileParser::parse(text, "Package");
}

void KSParsingUtility::checkStatusFileWithCompletion(std::function<void()> completion) {
    foundation::runInBackground([completion = std::move(completion)] {
        try {
            KSStatusFileSync::synchronise();
        } catch (const std::exception& error) {
            KSLog("Could not check the dpkg status file: %@", error.what());
        }
        if (completion)
            foundation::runOnMain(completion);
    });
}

}  // namespace corvane
