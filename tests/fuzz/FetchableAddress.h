#pragma once

#include <string>

#include "foundation/URL.h"

// Addresses that depictions hand out are fetched later: each must read back as an http or https
// address with a host.
inline bool isFetchableAddress(const std::string& address) {
    const auto url = foundation::URL::withString(address);
    return url && (url->scheme() == "http" || url->scheme() == "https") && !url->host().empty();
}
