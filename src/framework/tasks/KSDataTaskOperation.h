#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Operation.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionDataTask.h"

namespace corvane {

// One GET through a given session as an operation of a queue: it holds its slot until the
// reply has come, then hands the result to the completion, on the session's delegate queue,
// unless it was cancelled. Cancelling stops the load.
class KSDataTaskOperation : public foundation::Operation {
  public:
    using Completion = foundation::URLSessionDataTask::Completion;

    KSDataTaskOperation(std::shared_ptr<foundation::URLSession> session, foundation::URL url,
                        Completion completionHandler);

    // The URL text, which callers compare to avoid fetching one thing twice.
    const std::string& identifier() const { return identifier_; }
    const foundation::URL& url() const { return url_; }

    bool isAsynchronous() const override { return true; }
    void cancel() override;

  protected:
    void main() override;

  private:
    const std::shared_ptr<foundation::URLSession> session_;
    const foundation::URL url_;
    const std::string identifier_;
    Completion completionHandler_;
    std::mutex mutex_;
    std::shared_ptr<foundation::URLSessionDataTask> dataTask_;
};

}  // namespace corvane
