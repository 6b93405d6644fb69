#pragma once

#include <cstddef>

namespace testing_support {

// The threads of this process now.
std::size_t threadCount();

}  // namespace testing_support
