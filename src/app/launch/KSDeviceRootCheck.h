#pragma once

#include <string>

#include "foundation/Result.h"

namespace corvane {

// Makes sure the device root can hold a device before anything is written below it: the log,
// the data folder and the database all live there, and without them the process could neither
// run nor say why it stopped.
class KSDeviceRootCheck {
  public:
    static constexpr const char* kErrorDomain = "KSDeviceRootCheck";
    enum ErrorCode : long {
        kNotAFolder = 1,
        kNotWritable = 2,
    };

    // Creates the folder, with the folders above it, when it does not exist; an error that says
    // why when the path names something else than a folder, or one the process cannot write in.
    static foundation::Status prepare(const std::string& path);
    // The line printed on the terminal for a failed prepare().
    static std::string refusal(const std::string& path, const foundation::Error& error);
};

}  // namespace corvane
