#include "framework/tasks/KSTaskError.h"

namespace corvane {

foundation::Error KSTaskError::make(Code code, const std::string& description) {
    return foundation::Error::make(kDomain, code, description);
}

foundation::Error KSTaskError::forSource(Code code, const std::string& description,
                                         const std::string& location) {
    auto error = make(code, description);
    error.userInfo.mutableDictionary()["source"] = location;
    return error;
}

foundation::Error KSTaskError::forPackage(Code code, const std::string& description,
                                          const std::string& identifier) {
    auto error = make(code, description);
    error.userInfo.mutableDictionary()["packageID"] = identifier;
    return error;
}

}  // namespace corvane
