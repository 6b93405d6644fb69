#include "foundation/Error.h"

namespace foundation {

Error Error::make(std::string domain, long code, std::string description) {
    Error error{std::move(domain), code, {}};
    if (!description.empty())
        error.userInfo.mutableDictionary()[kLocalizedDescriptionKey] = std::move(description);
    return error;
}

std::string Error::localizedDescription() const {
    if (auto text = userInfo[kLocalizedDescriptionKey].string())
        return *text;
    return "The operation couldn't be completed. (" + domain + " error " + std::to_string(code) +
           ".)";
}

}  // namespace foundation
