#pragma once

#include <string_view>

#include "foundation/Result.h"
#include "foundation/URL.h"
#include "framework/webservice/KSWebServiceForm.h"

namespace corvane {

// Where the maker's web service lives. The environment variable, when set and not empty, wins
// over the preference, so that one run can be pointed elsewhere without touching the stored
// preferences. Nothing is ever sent to a built-in host: without an address every request fails.
class KSWebServiceAddress {
  public:
    static constexpr const char* kPreferenceKey = "WebServiceBaseURL";
    static constexpr const char* kEnvironmentVariable = "CORVANE_WEB_SERVICE_URL";

    // An http or https address with a host and without query or fragment; NoAddress or
    // UnsupportedAddress otherwise.
    static foundation::Result<foundation::URL> baseURL();
    // The base address with path appended ("reviews" under "https://host/api" gives
    // "https://host/api/reviews") and the query, escaped as strictly as a form: some servers
    // refuse a "?" or "/" left bare inside a query value.
    static foundation::Result<foundation::URL> endpoint(std::string_view path,
                                                        const KSWebServiceForm::Fields& query = {});
};

}  // namespace corvane
