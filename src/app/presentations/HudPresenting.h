#pragma once

namespace corvane {

// What the floating panel opens when tapped, and what the application delegate forwards its own
// queue and task presentations to: the tab bar controller.
class HudPresenting {
  public:
    virtual ~HudPresenting() = default;

    // The queue confirmation in a navigation controller (a form sheet on a pad).
    virtual void presentQueue() = 0;
    // The verbose console when the preference ShowVerboseUI is on, else the task list.
    virtual void presentTasks() = 0;
};

}  // namespace corvane
