#include "framework/webservice/KSWebServiceForm.h"

#include "foundation/Strings.h"

namespace corvane {

std::string KSWebServiceForm::encode(const Fields& fields) {
    using foundation::PercentEncoding;
    std::string body;
    for (const auto& [name, value] : fields) {
        if (!body.empty()) {
            body += '&';
        }
        body += foundation::percentEncode(name, PercentEncoding::Unreserved) + '=' +
                foundation::percentEncode(value, PercentEncoding::Unreserved);
    }
    return body;
}

}  // namespace corvane
