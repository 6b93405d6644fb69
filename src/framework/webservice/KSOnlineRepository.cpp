#include "framework/webservice/KSOnlineRepository.h"

#include "framework/webservice/KSWebServiceFields.h"

namespace corvane {

std::optional<KSOnlineRepository> KSOnlineRepository::fromJSON(const foundation::Value& entry) {
    auto name = KSWebServiceFields::text(entry["name"]);
    auto location = KSWebServiceFields::webAddress(entry["location"]);
    if (!name || !location) {
        return std::nullopt;
    }
    KSOnlineRepository repository;
    repository.name = std::move(*name);
    repository.location = std::move(*location);
    repository.description = KSWebServiceFields::text(entry["description"]);
    repository.iconURL = KSWebServiceFields::webAddress(entry["iconURL"]);
    return repository;
}

}  // namespace corvane
