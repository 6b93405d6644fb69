#pragma once

#include <functional>
#include <memory>

#include "uikit/ApplicationDelegate.h"
#include "uikit/ViewController.h"

namespace uikit {

using ApplicationDelegateFactory = std::function<std::shared_ptr<ApplicationDelegate>()>;
using MainInterfaceBuilder = std::function<std::shared_ptr<ViewController>()>;

// The process entry of an application: makes the delegate and the window (with the main
// interface as its root controller when a builder is given), launches, shows the window, becomes
// active and runs the main run loop until it stops (Application::terminate), telling the
// delegate willTerminate on the way out. Returns the process's exit status.
int applicationMain(int argc, char** argv, const ApplicationDelegateFactory& delegateFactory,
                    const MainInterfaceBuilder& mainInterface = {});

}  // namespace uikit
