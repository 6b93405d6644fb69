#include "framework/webservice/KSWebServiceFields.h"

#include <cmath>

#include "foundation/URL.h"
#include "framework/network/KSFetchableURL.h"

namespace corvane {

using foundation::Value;

std::optional<std::string> KSWebServiceFields::text(const Value& value) {
    if (!value.isString() || !foundation::isPresentText(value)) {
        return std::nullopt;
    }
    return *value.string();
}

std::optional<std::string> KSWebServiceFields::textOrNumber(const Value& value) {
    if (value.isNumber() && !value.isBool()) {
        return value.stringValue();
    }
    return text(value);
}

std::optional<std::string> KSWebServiceFields::webAddress(const Value& value) {
    auto address = text(value);
    if (!address) {
        return std::nullopt;
    }
    auto url = foundation::URL::withString(*address);
    if (!url || !KSFetchableURL::isFetchable(*url)) {
        return std::nullopt;
    }
    return address;
}

std::int64_t KSWebServiceFields::count(const Value& value) {
    if (!value.isNumber() || value.isBool() || !std::isfinite(value.doubleValue()) ||
        value.doubleValue() < 0) {
        return 0;
    }
    return value.integerValue();
}

}  // namespace corvane
