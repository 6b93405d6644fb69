#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Dispatch.h"

namespace corvane {

using KSDepictionTextCompletion = std::function<void(std::optional<std::string>)>;
using KSDepictionURLsCompletion = std::function<void(std::vector<std::string>)>;

// Every retrieve answers exactly once and on a global background queue, whichever thread asked
// and whether or not the answer needed the network, so callers hop to the main thread alike.
template <typename Result>
void answerInBackground(const std::function<void(Result)>& completion, Result result) {
    if (!completion)
        return;
    foundation::runOnDefaultQueue(
        [completion, result = std::move(result)]() mutable { completion(std::move(result)); });
}

template <typename Result, typename Work>
void answerInBackgroundWith(const std::function<void(Result)>& completion, Work work) {
    if (!completion)
        return;
    foundation::runOnDefaultQueue(
        [completion, work = std::move(work)]() mutable { completion(work()); });
}

}  // namespace corvane
