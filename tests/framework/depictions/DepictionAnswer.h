#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "foundation/RunLoop.h"

namespace corvane::testing {

// Waits for the one answer of a retrieve and checks that it came on a background thread.
template <typename Result, typename Retrieve>
Result answerOf(Retrieve retrieve) {
    auto answer = std::make_shared<std::promise<Result>>();
    auto calls = std::make_shared<std::atomic<int>>(0);
    retrieve([answer, calls](Result result) {
        EXPECT_FALSE(foundation::isMainThread());
        if (calls->fetch_add(1) == 0)
            answer->set_value(std::move(result));
        else
            ADD_FAILURE() << "a retrieve answered twice";
    });
    return answer->get_future().get();
}

inline std::optional<std::string> textOf(auto retrieve) {
    return answerOf<std::optional<std::string>>(retrieve);
}

inline std::vector<std::string> urlsOf(auto retrieve) {
    return answerOf<std::vector<std::string>>(retrieve);
}

}  // namespace corvane::testing
