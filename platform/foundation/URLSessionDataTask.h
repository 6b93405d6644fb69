#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "foundation/URLSessionTask.h"

namespace foundation {

// Loads a response body into memory.
class URLSessionDataTask : public URLSessionTask {
  public:
    using Data = std::vector<std::uint8_t>;
    // Data and response on success, the error alone on failure.
    using Completion =
        std::function<void(std::optional<Data> data, std::optional<HTTPURLResponse> response,
                           std::optional<Error> error)>;

    URLSessionDataTask(std::uint64_t identifier, URLRequest request,
                       URLSessionConfiguration configuration,
                       std::shared_ptr<OperationQueue> delegateQueue,
                       std::shared_ptr<URLSessionConnectionPool> connections, Completion completion)
        : URLSessionTask(identifier, std::move(request), std::move(configuration),
                         std::move(delegateQueue), std::move(connections)),
          completion_(std::move(completion)) {}

  protected:
    bool receive(const char* bytes, std::size_t count) override {
        data_.insert(data_.end(), bytes, bytes + count);
        return true;
    }
    void complete(std::optional<HTTPURLResponse> response, std::optional<Error> error) override;

  private:
    Completion completion_;
    Data data_;
};

}  // namespace foundation
