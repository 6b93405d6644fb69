#pragma once

namespace corvane {

// What every program that runs the application does before and around the platform's loop: the
// program itself, and the tools that play a person's steps on it.
class KSProcessStart {
  public:
    // The device root (chosen by foundation::DeviceRoot) can hold a device, the data folder
    // (foundation::DataFolder) lies apart from it and the log can be written below it; otherwise
    // the reason is printed on standard error, since the log cannot be, and false is returned.
    static bool prepareFolders();
    // The platform's application loop with KSCorvane as the delegate and the storyboard "Main"
    // as the interface, until the application terminates; the exit status.
    static int runApplication(int argc, char** argv);
};

}  // namespace corvane
