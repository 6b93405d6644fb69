#pragma once

#include "foundation/Result.h"

namespace corvane {

// The log every line of the process goes to, "corvane.log" in the log folder of the device.
class KSLogFile {
  public:
    // Creates the log folder when missing, an error when it cannot; an existing log that has
    // grown too long is cut (KSLogTrimmer) here, before the process writes anything into it.
    static foundation::Status prepare();
    // Reopens standard error, then standard output, onto the log file for appending; false when
    // either could not be reopened.
    static bool redirectStandardStreams();
};

}  // namespace corvane
