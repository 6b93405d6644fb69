#pragma once

#include "uikit/Touch.h"

namespace uikit {

class GestureRecognizer;

class GestureRecognizerDelegate {
  public:
    virtual ~GestureRecognizerDelegate() = default;
    // Refusing makes the recogniser fail instead of beginning (or recognising).
    virtual bool gestureRecognizerShouldBegin(GestureRecognizer& recognizer) { return true; }
    virtual bool gestureRecognizerShouldReceiveTouch(GestureRecognizer& recognizer,
                                                     const Touch& touch) {
        return true;
    }
    virtual bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer& recognizer,
                                                                GestureRecognizer& other) {
        return false;
    }
};

}  // namespace uikit
