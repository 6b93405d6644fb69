#pragma once

#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Result.h"
#include "foundation/Value.h"

namespace corvane {

// What a finished web-service request means: the JSON document of a 2xx reply, or the error
// that stands for the failure (the transport's own, BadStatus with the service's "error" text
// when it gave one, or MalformedReply).
class KSWebServiceReply {
  public:
    static foundation::Result<foundation::Value> interpret(
        const std::optional<foundation::Bytes>& data,
        const std::optional<foundation::HTTPURLResponse>& response,
        const std::optional<foundation::Error>& error);

    // The "answer" text of a reply; nullopt for a failure or a reply without one.
    static std::optional<std::string> answer(const foundation::Result<foundation::Value>& reply);
};

}  // namespace corvane
