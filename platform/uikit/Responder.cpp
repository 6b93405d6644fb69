#include "uikit/Responder.h"

namespace uikit {

namespace {

std::weak_ptr<Responder>& firstResponder() {
    static std::weak_ptr<Responder> responder;
    return responder;
}

}  // namespace

void Responder::touchesBegan(const std::vector<Touch>& touches) {
    passOn(&Responder::touchesBegan, touches);
}

void Responder::touchesMoved(const std::vector<Touch>& touches) {
    passOn(&Responder::touchesMoved, touches);
}

void Responder::touchesEnded(const std::vector<Touch>& touches) {
    passOn(&Responder::touchesEnded, touches);
}

void Responder::touchesCancelled(const std::vector<Touch>& touches) {
    passOn(&Responder::touchesCancelled, touches);
}

void Responder::passOn(TouchHandler handler, const std::vector<Touch>& touches) {
    if (auto* next = nextResponder())
        (next->*handler)(touches);
}

bool Responder::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!canBecomeFirstResponder() || !shouldBecomeFirstResponder())
        return false;
    if (auto current = firstResponder().lock(); current && !current->resignFirstResponder())
        return false;
    firstResponder() = weakResponder();
    didBecomeFirstResponder();
    return true;
}

bool Responder::resignFirstResponder() {
    if (!isFirstResponder())
        return true;
    if (!shouldResignFirstResponder())
        return false;
    firstResponder().reset();
    didResignFirstResponder();
    return true;
}

bool Responder::isFirstResponder() const {
    auto current = firstResponder().lock();
    return current && current.get() == this;
}

bool Responder::endEditing() {
    auto current = firstResponder().lock();
    for (const Responder* responder = current.get(); responder;
         responder = responder->nextResponder())
        if (responder == this)
            return current->resignFirstResponder();
    return true;
}

}  // namespace uikit
