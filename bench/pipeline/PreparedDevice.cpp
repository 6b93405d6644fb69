#include "PreparedDevice.h"

#include <stdexcept>

#include "LoopbackRepository.h"

namespace corvane::bench {

PreparedDevice::PreparedDevice() {
    auto& repository = LoopbackRepository::shared();
    root_ = repository.scratch() / "prepared-device";
    const auto refresh =
        runProgram({CORVANE_PROGRAM, "--root", root_.string(), "--until-idle"},
                   {"CORVANE_DEFAULT_SOURCES=" + repository.location(launchIndex(), "prepared")});
    if (refresh.status != 0)
        throw std::runtime_error("the program could not refresh the prepared device");
}

const PreparedDevice& PreparedDevice::shared() {
    static const PreparedDevice device;
    return device;
}

}  // namespace corvane::bench
