#include "framework/apt/KSUnfinishedPackages.h"

#include "framework/apt/KSDpkgStatus.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/debian/ControlFileParser.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/device/KSDeviceFile.h"
#include "framework/device/KSPaths.h"

namespace corvane {

std::vector<std::string> KSUnfinishedPackages::all() const {
    auto names = toReinstall;
    names.insert(names.end(), toConfigure.begin(), toConfigure.end());
    return names;
}

foundation::Result<KSUnfinishedPackages> KSUnfinishedPackages::read() {
    auto text = KSDeviceFile::read(KSPaths::kDpkgStatusFile, KSStatusFileSync::kMaxStatusFileBytes);
    if (!text && text.error().code == KSDeviceFile::kMissing)
        return KSUnfinishedPackages{};
    FOUNDATION_RETURN_IF_ERROR(text);
    KSUnfinishedPackages unfinished;
    for (const auto& element : ControlFileParser::parse(text->bytes, "Package")) {
        const auto name = element["Package"].stringValue();
        const auto status = KSDpkgStatus::parse(element["Status"].stringValue());
        if (!isValidPackageName(name) || !status || !status->isUnfinished())
            continue;
        (status->needsReinstall() ? unfinished.toReinstall : unfinished.toConfigure)
            .push_back(name);
    }
    return unfinished;
}

}  // namespace corvane
