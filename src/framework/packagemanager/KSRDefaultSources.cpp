#include "framework/packagemanager/KSRDefaultSources.h"

#include <cstdlib>
#include <sstream>

#include "foundation/Bundle.h"
#include "foundation/Log.h"
#include "framework/storage/KSRSourceAddress.h"

namespace corvane {

namespace {

foundation::Value resource() {
    auto list = foundation::Bundle::plistResource("DefaultSources");
    if (!list.ok()) {
        KSLog("No default sources: %@", list.error().localizedDescription());
        return {};
    }
    return list.value();
}

std::vector<std::string> normalisedLocations(const std::vector<std::string>& addresses) {
    std::vector<std::string> locations;
    for (const auto& address : addresses) {
        if (auto location = KSRSourceAddress::normalised(address))
            locations.push_back(*location);
        else
            KSLog("Ignoring the default source \"%@\": not a repository address", address);
    }
    return locations;
}

std::vector<std::string> strings(const foundation::Value& array) {
    std::vector<std::string> texts;
    for (const auto& element : array.array())
        if (element.isString())
            texts.push_back(*element.string());
    return texts;
}

}  // namespace

std::vector<std::string> KSRDefaultSources::defaultLocations() {
    if (const char* overridden = std::getenv(kEnvironmentVariable)) {
        std::istringstream words(overridden);
        std::vector<std::string> addresses;
        for (std::string word; words >> word;)
            addresses.push_back(word);
        return normalisedLocations(addresses);
    }
    return normalisedLocations(strings(resource()["DefaultSources"]));
}

std::vector<std::string> KSRDefaultSources::requiredLocations(JailbreakTool tool) {
    const auto key = std::to_string(static_cast<int>(tool));
    return normalisedLocations(strings(resource()["JailbreakSources"][key]));
}

}  // namespace corvane
