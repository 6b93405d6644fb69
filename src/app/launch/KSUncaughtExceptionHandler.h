#pragma once

#include <exception>
#include <string>

namespace corvane {

// What happens to an exception nobody caught: one log line that names it, then the process
// ends as it would have anyway.
class KSUncaughtExceptionHandler {
  public:
    // Makes HandleExceptions the handler of every uncaught exception, on any thread.
    static void install();
    // Writes the log line; does nothing else.
    static void HandleExceptions(const std::exception_ptr& exception);
    // The exception's own text, or a note that it carried none.
    static std::string debugDescription(const std::exception_ptr& exception);
};

}  // namespace corvane
