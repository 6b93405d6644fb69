#pragma once

namespace corvane {

// Marks the objects that receive the error panel's second-button action (KSErrorSelector);
// the action names one of their own methods.
class KSErrorDelegate {
  public:
    virtual ~KSErrorDelegate() = default;
};

}  // namespace corvane
