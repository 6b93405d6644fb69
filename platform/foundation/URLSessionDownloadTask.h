#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "foundation/URLSessionTask.h"

namespace foundation {

// Loads a response body into a temporary file. The file is removed once the completion handler
// returns: a handler that wants to keep it moves it elsewhere.
class URLSessionDownloadTask : public URLSessionTask {
  public:
    // The file's URL and the response on success, the error alone on failure.
    using Completion =
        std::function<void(std::optional<URL> location, std::optional<HTTPURLResponse> response,
                           std::optional<Error> error)>;

    URLSessionDownloadTask(std::uint64_t identifier, URLRequest request,
                           URLSessionConfiguration configuration,
                           std::shared_ptr<OperationQueue> delegateQueue,
                           std::shared_ptr<URLSessionConnectionPool> connections,
                           Completion completion)
        : URLSessionTask(identifier, std::move(request), std::move(configuration),
                         std::move(delegateQueue), std::move(connections)),
          completion_(std::move(completion)) {}

  protected:
    std::optional<Error> prepare() override;
    bool receive(const char* bytes, std::size_t count) override;
    std::optional<Error> endReceiving() override;
    void complete(std::optional<HTTPURLResponse> response, std::optional<Error> error) override;

  private:
    Completion completion_;
    std::mutex mutex_;
    std::string path_;
    int descriptor_ = -1;  // opened by prepare(), then used by the loading thread alone
};

}  // namespace foundation
