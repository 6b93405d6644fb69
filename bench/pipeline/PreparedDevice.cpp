#include "PreparedDevice.h"

#include <stdexcept>

namespace corvane::bench {

PreparedDevice::PreparedDevice() {
    auto& repository = LoopbackRepository::shared();
    root_ = repository.scratch() / "prepared-device";
    refreshRun_ = runProgram(
        {CORVANE_PROGRAM, "--root", root_.string(), "--until-idle"},
        {"CORVANE_DEFAULT_SOURCES=" + repository.location(IndexShape::distribution, "prepared")});
    if (refreshRun_.status != 0)
        throw std::runtime_error("the program could not refresh the prepared device");
}

const PreparedDevice& PreparedDevice::shared() {
    static const PreparedDevice device;
    return device;
}

ProgramRun PreparedDevice::launch() const {
    return runProgram({CORVANE_PROGRAM, "--root", root_.string(), "--until-idle"});
}

}  // namespace corvane::bench
