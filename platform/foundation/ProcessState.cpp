#include "foundation/ProcessState.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/RunLoop.h"

namespace foundation {

namespace {

struct Work {
    std::string what;
    ProcessState::Settle settle;
};

struct Registry {
    std::mutex mutex;
    std::vector<Work> work;
    std::map<ProcessState::Phase, std::vector<ProcessState::Reset>> resets;
};

// Never destroyed: a piece may register while the process exits.
Registry& registry() {
    static auto* shared = new Registry();
    return *shared;
}

// Copies, since a piece first used while another is reset registers meanwhile (it is fresh).
std::vector<Work> registeredWork() {
    std::lock_guard lock(registry().mutex);
    return registry().work;
}

std::vector<ProcessState::Reset> resetsOf(ProcessState::Phase phase) {
    std::lock_guard lock(registry().mutex);
    return registry().resets[phase];
}

// The names of the work still running; empty once all has ended.
std::vector<std::string> unsettledWork() {
    std::vector<std::string> running;
    for (const auto& work : registeredWork())
        if (!work.settle())
            running.push_back(work.what);
    return running;
}

bool settleWork(double limitSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    for (;;) {
        RunLoop::main().dropPendingWork();
        const auto running = unsettledWork();
        if (running.empty())
            return true;
        if (std::chrono::steady_clock::now() >= deadline) {
            for (const auto& what : running)
                std::fprintf(stderr, "process reset: %s still running after %g s\n", what.c_str(),
                             limitSeconds);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void runResets(ProcessState::Phase phase) {
    const auto resets = resetsOf(phase);
    for (auto reset = resets.rbegin(); reset != resets.rend(); ++reset)
        (*reset)();
}

}  // namespace

bool ProcessState::registerReset(Phase phase, Reset reset) {
    std::lock_guard lock(registry().mutex);
    registry().resets[phase].push_back(std::move(reset));
    return true;
}

bool ProcessState::registerWork(std::string what, Settle settle) {
    std::lock_guard lock(registry().mutex);
    registry().work.push_back({std::move(what), std::move(settle)});
    return true;
}

bool ProcessState::reset(double workLimitSeconds) {
    const bool settled = settleWork(workLimitSeconds);
    runResets(Phase::state);
    RunLoop::main().dropPendingWork();
    runResets(Phase::mainLoop);
    return settled;
}

}  // namespace foundation
