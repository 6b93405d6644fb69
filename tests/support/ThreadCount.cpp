#include "support/ThreadCount.h"

#include <filesystem>
#include <iterator>

namespace testing_support {

std::size_t threadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<std::size_t>(
        std::distance(std::filesystem::begin(tasks), std::filesystem::end(tasks)));
}

}  // namespace testing_support
