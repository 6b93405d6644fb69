#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionTask.h"
#include "foundation/Value.h"

namespace corvane {

// Loads one request at a time and waits for it, for tasks that do their work on a pipeline
// thread of their own. cancel() from another thread ends the load under way, and every later
// one, with the cancellation error.
class KSBlockingTransfer {
  public:
    // 0 to 1, on a loading thread.
    using Progress = std::function<void(double fraction)>;
    struct Reply {
        // Exactly one of response and error is set; data only by fetchData.
        std::optional<foundation::HTTPURLResponse> response;
        std::optional<foundation::Error> error;
        foundation::Bytes data;
    };

    explicit KSBlockingTransfer(foundation::URLSessionConfiguration configuration);

    // The body in memory.
    Reply fetchData(foundation::URLRequest request, const Progress& progress = {});
    // The body moved to destination when the server answered 200; an answer of another status
    // leaves no file there.
    Reply download(foundation::URLRequest request, const std::string& destination,
                   const Progress& progress = {});
    void cancel();

  private:
    Reply await(const std::shared_ptr<foundation::URLSessionTask>& task,
                const std::shared_ptr<Reply>& reply, const std::shared_ptr<bool>& done,
                const Progress& progress);

    std::shared_ptr<foundation::URLSession> session_;
    std::mutex mutex_;
    std::condition_variable replied_;
    bool cancelled_ = false;
    std::shared_ptr<foundation::URLSessionTask> current_;
};

}  // namespace corvane
