#pragma once

#include <string>

#include "foundation/Result.h"

namespace corvane {

// Makes sure the device root and the data folder can serve before anything is written below them:
// the log, the database and APT's files live in the data folder, and without them the process
// could neither run nor say why it stopped.
class KSDeviceRootCheck {
  public:
    static constexpr const char* kErrorDomain = "KSDeviceRootCheck";
    enum ErrorCode : long {
        kNotAFolder = 1,
        kNotWritable = 2,
        kNotApart = 3,
    };

    // Creates the folder, with the folders above it, when it does not exist; an error that says
    // why when the path names something else than a folder, or one the process cannot write in.
    // The folder is left reachable by its owner only: a package may leave a set-user-ID program
    // in the device root, which must serve no other user of the machine.
    static foundation::Status prepare(const std::string& path);
    // An error when one folder lies inside the other: whatever lies in the device root is open
    // to the scripts of packages, and the data folder must be out of their reach.
    static foundation::Status checkApart(const std::string& root, const std::string& data);
    // The line printed on the terminal for a failed prepare() of the folder ("device root").
    static std::string refusal(const std::string& folder, const std::string& path,
                               const foundation::Error& error);
};

}  // namespace corvane
