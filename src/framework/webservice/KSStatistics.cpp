#include "framework/webservice/KSStatistics.h"

#include "framework/webservice/KSWebService.h"

namespace corvane {

void KSStatistics::postPackageStatisticForIdentifier(
    const std::string& identifier, const std::optional<std::string>& devName,
    const std::optional<std::string>& repoURL, const std::optional<std::string>& version,
    std::int64_t downloadCount, std::int64_t seenCount, std::function<void(bool)> completion) {
    KSWebService::Fields form = {{"package", identifier}};
    for (const auto& [name, value] :
         {std::pair{"developer", devName}, {"repository", repoURL}, {"version", version}}) {
        if (value) {
            form.emplace_back(name, *value);
        }
    }
    form.emplace_back("downloads", std::to_string(downloadCount));
    form.emplace_back("views", std::to_string(seenCount));
    KSWebService::shared().post(
        "statistics", form, std::nullopt,
        [completion = std::move(completion)](foundation::Result<foundation::Value> reply) {
            if (completion) {
                completion(reply.ok());
            }
        });
}

}  // namespace corvane
