#pragma once

#include <memory>
#include <vector>

#include "uikit/Touch.h"

namespace uikit {

class GestureRecognizer;
class View;

// One finger from going down to lifting, delivered as the system does: the view under the
// finger is found by hit-testing the root view; the gesture recognisers of that view and its
// ancestors see each touch first, then the view. When a recogniser recognises, the others that
// have not yet recognised fail, and (when it cancels touches in view) the view gets
// touchesCancelled and no more touches.
class TouchSequence {
  public:
    // Puts a finger down at a point of the root view (the top of the tree the view is in).
    TouchSequence(const std::shared_ptr<View>& root, Point location, double force = 0,
                  double maximumPossibleForce = 0, int tapCount = 1);
    ~TouchSequence();
    TouchSequence(const TouchSequence&) = delete;
    TouchSequence& operator=(const TouchSequence&) = delete;

    void moveTo(Point location, double force = 0);
    void end();
    void cancel();

    // The view the finger came down on (null when nothing took it).
    std::shared_ptr<View> hitView() const { return hitView_; }
    bool viewTouchesCancelled() const { return viewCancelled_; }
    bool isFinished() const { return finished_; }

  private:
    friend class GestureRecognizer;
    void recognizerDidRecognize(GestureRecognizer& recognizer);
    void deliver(Touch::Phase phase);
    void deliverToRecognizers(Touch::Phase phase, const std::vector<Touch>& touches);
    void deliverToView(Touch::Phase phase, const std::vector<Touch>& touches);
    void finish();

    std::shared_ptr<View> root_;
    std::shared_ptr<View> hitView_;
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers_;
    Touch touch_;
    bool viewCancelled_ = false;
    bool finished_ = false;
};

}  // namespace uikit
