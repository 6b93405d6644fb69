#include "app/launch/KSUncaughtExceptionHandler.h"

#include <cstdlib>

#include "foundation/Log.h"

namespace corvane {

void KSUncaughtExceptionHandler::install() {
    std::set_terminate([] {
        HandleExceptions(std::current_exception());
        std::abort();
    });
}

void KSUncaughtExceptionHandler::HandleExceptions(const std::exception_ptr& exception) {
    KSLog("*** Corvane has encountered an unhandled exception: %@", debugDescription(exception));
}

std::string KSUncaughtExceptionHandler::debugDescription(const std::exception_ptr& exception) {
    if (!exception)
        return "no exception (the process was ended by std::terminate)";
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception that is no std::exception";
    }
}

}  // namespace corvane
