#include "foundation/URLSessionDataTask.h"

namespace foundation {

void URLSessionDataTask::complete(std::optional<HTTPURLResponse> response,
                                  std::optional<Error> error) {
    if (!completion_)
        return;
    // After an error the loading thread may still be writing to data_, so it is never read.
    if (error)
        completion_(std::nullopt, std::nullopt, std::move(error));
    else
        completion_(std::move(data_), std::move(response), std::nullopt);
}

}  // namespace foundation
