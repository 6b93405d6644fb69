#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Keeps a test program away from the device folder the program falls back to when nobody
// chooses one ("~/.local/share/corvane"), which is the user's own device and data.
//
// Made before anything reads the environment (tests/TestProgram.cpp): HOME then names an empty
// temporary folder for the whole run, and the variables that would choose another device root
// or data folder are cleared, so the fallback is a folder of the run's own, inherited by the
// programs the tests start. A test after which that fallback folder exists has opened the
// device without a TempDeviceRoot: it fails, naming the folder, which is then removed so that
// the next test starts without it.
class DefaultDeviceFolderGuard : public ::testing::EmptyTestEventListener {
  public:
    DefaultDeviceFolderGuard();
    ~DefaultDeviceFolderGuard() override;
    DefaultDeviceFolderGuard(const DefaultDeviceFolderGuard&) = delete;
    DefaultDeviceFolderGuard& operator=(const DefaultDeviceFolderGuard&) = delete;

    void OnTestEnd(const ::testing::TestInfo& test) override;

  private:
    std::string home_;
    std::string defaultFolder_;
};

}  // namespace testing_support
