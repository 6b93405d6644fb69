#include "framework/compatibility/CompatibilityDocument.h"

#include "foundation/JSON.h"

namespace corvane {

using foundation::Error;
using foundation::Value;

namespace {

enum ErrorCode : long { kTooLarge = 1, kMalformed = 2 };

std::optional<TweakCompatibilityStatus> statusNamed(const Value& name) {
    if (name.optionalString() == "working") {
        return TweakCompatibilityStatus::Working;
    }
    if (name.optionalString() == "not working") {
        return TweakCompatibilityStatus::NotWorking;
    }
    return std::nullopt;
}

}  // namespace

foundation::Result<CompatibilityDocument> CompatibilityDocument::parse(
    const foundation::Bytes& data) {
    if (data.size() > kMaximumBytes) {
        return Error::make(kErrorDomain, kTooLarge, "The compatibility document is too large");
    }
    auto json = foundation::JSON::parse(data);
    if (!json || !(*json)["packages"].isArray()) {
        return Error::make(kErrorDomain, kMalformed, "The compatibility document is malformed");
    }
    CompatibilityDocument document;
    for (const Value& entry : (*json)["packages"].array()) {
        addPackage(entry, document.statuses_);
    }
    return document;
}

void CompatibilityDocument::addPackage(
    const Value& entry,
    std::map<std::string, std::map<std::string, TweakCompatibilityStatus>>& statuses) {
    auto identifier = entry["id"].optionalString();
    if (!identifier || !entry["versions"].isDictionary()) {
        return;
    }
    auto& versions = statuses[*identifier];
    for (const auto& [version, name] : entry["versions"].dictionary()) {
        if (auto status = statusNamed(name)) {
            versions[version] = *status;
        }
    }
}

TweakCompatibilityStatus CompatibilityDocument::statusFor(const std::string& identifier,
                                                          const std::string& version) const {
    auto package = statuses_.find(identifier);
    if (package == statuses_.end()) {
        return TweakCompatibilityStatus::Unknown;
    }
    auto status = package->second.find(version);
    return status == package->second.end() ? TweakCompatibilityStatus::Unknown : status->second;
}

}  // namespace corvane
