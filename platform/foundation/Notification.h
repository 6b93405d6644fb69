#pragma once

#include <memory>
#include <string>

#include "foundation/Value.h"

namespace foundation {

struct Notification {
    std::string name;
    // Value objects (a package identifier, a source location) travel in object; reference
    // objects (a task, a manager) in sender.
    Value object;
    Value userInfo;
    std::shared_ptr<void> sender;
};

}  // namespace foundation
