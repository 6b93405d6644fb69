#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The fields of a form body ("application/x-www-form-urlencoded") or of a query: every byte but
// the unreserved characters is escaped, so a "&", "=", "+" or "?" in a value never splits or
// changes it.
class KSWebServiceForm {
  public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    static std::string encode(const Fields& fields);
};

}  // namespace corvane
