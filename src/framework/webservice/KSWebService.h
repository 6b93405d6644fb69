#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Result.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"
#include "framework/webservice/KSWebServiceForm.h"

namespace corvane {

// The one connection to the maker's web service that every client of it shares: requests go to
// endpoints of KSWebServiceAddress, replies are JSON of at most kMaximumReplyBytes, and every
// completion runs exactly once on the URL-loading queue (never the main thread), failures
// included.
class KSWebService {
  public:
    using Fields = KSWebServiceForm::Fields;
    using Completion = std::function<void(foundation::Result<foundation::Value> reply)>;

    static constexpr std::int64_t kMaximumReplyBytes = std::int64_t{2} << 20;
    static constexpr double kTimeoutSeconds = 30;

    static KSWebService& shared();

    KSWebService();

    // GET path?query.
    void get(std::string_view path, const Fields& query, Completion completion);
    // POST of a form; a token is sent as "Authorization: Bearer <token>".
    void post(std::string_view path, const Fields& form, const std::optional<std::string>& token,
              Completion completion);
    // Runs the block on the URL-loading queue: for answers that need no request.
    void deliver(std::function<void()> block);

  private:
    void send(foundation::Result<foundation::URL> url,
              const std::function<void(foundation::URLRequest&)>& prepare, Completion completion);

    const std::shared_ptr<foundation::URLSession> session_;
};

}  // namespace corvane
