// Lets a test pose as another device: the device and its screen are put back as they were when
// the pose ends, so the tests after it in the same process see the usual phone.
#pragma once

#include <string>

#include "uikit/Device.h"
#include "uikit/Geometry.h"
#include "uikit/Screen.h"

namespace uikit_testing {

class DevicePose {
  public:
    DevicePose() = default;
    DevicePose(const DevicePose&) = delete;
    DevicePose& operator=(const DevicePose&) = delete;
    ~DevicePose() {
        device().setUserInterfaceIdiom(idiom_);
        device().setSystemVersion(systemVersion_);
        uikit::Screen::main().setBounds(bounds_);
        uikit::Screen::main().setScale(scale_);
    }

  private:
    static uikit::Device& device() { return uikit::Device::current(); }

    uikit::UserInterfaceIdiom idiom_ = device().userInterfaceIdiom();
    std::string systemVersion_ = device().systemVersion();
    uikit::Rect bounds_ = uikit::Screen::main().bounds();
    double scale_ = uikit::Screen::main().scale();
};

}  // namespace uikit_testing
