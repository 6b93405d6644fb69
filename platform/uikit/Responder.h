#pragma once

#include <memory>
#include <vector>

#include "uikit/Touch.h"

namespace uikit {

// What takes touches and keyboard input. Touches a responder leaves alone go on to the next
// responder (a view's superview), as the responder chain does. One responder at a time, across
// all of them, is first responder.
class Responder {
  public:
    virtual ~Responder() = default;

    // Touches (locations in root coordinates). The base passes them on to the next responder;
    // a responder that handles them does not call the base.
    virtual void touchesBegan(const std::vector<Touch>& touches);
    virtual void touchesMoved(const std::vector<Touch>& touches);
    virtual void touchesEnded(const std::vector<Touch>& touches);
    virtual void touchesCancelled(const std::vector<Touch>& touches);

    // First responder.
    virtual bool canBecomeFirstResponder() const { return false; }
    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    // Resigns the first responder when this responder lies on its chain: for a view, when the
    // first responder is the view or inside it.
    bool endEditing();

  protected:
    virtual Responder* nextResponder() const { return nullptr; }
    // This responder, held weakly: the first responder may go away while it is first.
    virtual std::weak_ptr<Responder> weakResponder() = 0;
    // Asked before this becomes or stops being first responder; told after.
    virtual bool shouldBecomeFirstResponder() { return true; }
    virtual void didBecomeFirstResponder() {}
    virtual bool shouldResignFirstResponder() { return true; }
    virtual void didResignFirstResponder() {}

  private:
    using TouchHandler = void (Responder::*)(const std::vector<Touch>& touches);
    void passOn(TouchHandler handler, const std::vector<Touch>& touches);
};

}  // namespace uikit
