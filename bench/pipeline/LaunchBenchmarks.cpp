#include <benchmark/benchmark.h>

#include <memory>

#include "PreparedDevice.h"
#include "app/KSCorvane.h"
#include "app/tabs/KSMainStoryboard.h"
#include "foundation/DeviceRoot.h"
#include "foundation/ProcessState.h"
#include "foundation/RunLoop.h"
#include "framework/tasks/KSPipelineManager.h"
#include "uikit/Application.h"
#include "uikit/Window.h"

namespace corvane::bench {

namespace {

bool isAtRest(const KSCorvane& delegate) {
    auto& pipeline = KSPipelineManager::sharedManager();
    return !delegate.hasPendingWork() && pipeline.tasksArray().empty() &&
           pipeline.pipelineOperationQueue()->operationCount() == 0;
}

// From the launch the platform starts to the first screen laid out in the window, on a device
// whose database holds the launch index's packages, as a person opening the application waits for
// it, in process: the libraries are loaded already (ProgramFigures measures from exec).
// Each launch starts from a process put back as it started (ProcessState), on the same device.
void launchToFirstScreen(benchmark::State& state) {
    const auto& device = PreparedDevice::shared();
    bool launched = true;
    for (auto _ : state) {
        state.PauseTiming();
        foundation::ProcessState::reset();
        foundation::DeviceRoot::set(device.root().string());
        auto delegate = std::make_shared<KSCorvane>();
        auto window = std::make_shared<uikit::Window>();
        uikit::Application::shared().setDelegate(delegate);
        delegate->setWindow(window);
        state.ResumeTiming();

        window->setRootViewController(KSMainStoryboard::instantiateInitialViewController());
        launched = uikit::Application::shared().finishLaunching() && launched;
        window->makeKeyAndVisible();
        uikit::Application::shared().becomeActive();
        foundation::RunLoop::main().runOnce();
        window->layoutIfNeeded();

        state.PauseTiming();
        foundation::RunLoop::main().runUntil([&] { return isAtRest(*delegate); }, 60);
        state.ResumeTiming();
    }
    foundation::ProcessState::reset();
    if (!launched)
        state.SkipWithError("a launch failed");
}

}  // namespace

BENCHMARK(launchToFirstScreen)
    ->Name("Launch/firstScreen")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

}  // namespace corvane::bench
