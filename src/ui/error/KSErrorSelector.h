#pragma once

#include <functional>

#include "ui/error/KSErrorDelegate.h"

namespace corvane {

// A method without arguments of some KSErrorDelegate class, sent to whatever delegate the error
// panel has when its second button is tapped. A delegate of another class does not respond to
// it. A default-made selector is the null selector.
class KSErrorSelector {
  public:
    KSErrorSelector() = default;

    template <typename Delegate>
    static KSErrorSelector of(void (Delegate::*method)()) {
        return KSErrorSelector([method](KSErrorDelegate& receiver) {
            auto* delegate = dynamic_cast<Delegate*>(&receiver);
            if (!delegate)
                return false;
            (delegate->*method)();
            return true;
        });
    }

    explicit operator bool() const { return static_cast<bool>(send_); }
    // Calls the method when the delegate responds to it; whether it did.
    bool sendTo(KSErrorDelegate& delegate) const { return send_ && send_(delegate); }

  private:
    explicit KSErrorSelector(std::function<bool(KSErrorDelegate&)> send) : send_(std::move(send)) {}

    std::function<bool(KSErrorDelegate&)> send_;
};

}  // namespace corvane
