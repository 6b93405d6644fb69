#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "foundation/Operation.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"

namespace corvane {

// One icon download that holds its slot in the fetch queue until the body has been handled, so
// that the queue's limit bounds whole fetches, storing included.
class KSIconFetchOperation : public foundation::Operation {
  public:
    // The body of a successful (2xx) answer, else nullopt.
    using Completion = std::function<void(std::optional<foundation::Bytes> body)>;

    KSIconFetchOperation(std::shared_ptr<foundation::URLSession> session, foundation::URL url,
                         Completion completion);

    bool isAsynchronous() const override { return true; }

  protected:
    void main() override;

  private:
    void handle(std::optional<foundation::Bytes> data,
                const std::optional<foundation::HTTPURLResponse>& response);

    const std::shared_ptr<foundation::URLSession> session_;
    const foundation::URL url_;
    const Completion completion_;
};

}  // namespace corvane
