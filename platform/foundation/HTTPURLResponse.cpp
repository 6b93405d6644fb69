#include "foundation/HTTPURLResponse.h"

#include "foundation/Strings.h"

namespace foundation {

std::optional<std::string> HTTPURLResponse::mimeType() const {
    auto type = headers.value("Content-Type");
    if (!type)
        return std::nullopt;
    return lowercase(trimmed(std::string_view(*type).substr(0, type->find(';'))));
}

}  // namespace foundation
