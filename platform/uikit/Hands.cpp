#include "uikit/Hands.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "uikit/ScrollView.h"
#include "uikit/TextField.h"
#include "uikit/TouchSequence.h"
#include "uikit/View.h"

namespace uikit::hands {

namespace {

// Runs what is due on the main run loop; bounded so a block that requeues itself cannot hang.
void runDueWork() {
    for (int turns = 0; turns < 1000 && foundation::RunLoop::main().runOnce(0); ++turns) {
    }
}

void wait(double seconds) {
    foundation::Clock::advance(seconds);
    runDueWork();
}

std::shared_ptr<View> rootOf(View& view) {
    View* top = &view;
    while (top->superviewPtr())
        top = top->superviewPtr();
    return top->weak_from_this().lock();
}

Point centerOf(const View& view) {
    return view.convertPointTo(view.bounds().center(), nullptr);
}

bool landedOn(const TouchSequence& sequence, const View& view) {
    auto hit = sequence.hitView();
    return hit && hit->isDescendantOf(&view);
}

}  // namespace

bool tapAt(const std::shared_ptr<View>& view, Point point) {
    if (!view)
        return false;
    TouchSequence sequence(rootOf(*view), view->convertPointTo(point, nullptr));
    sequence.end();
    return landedOn(sequence, *view);
}

bool tap(const std::shared_ptr<View>& view, int taps) {
    if (!view)
        return false;
    bool landed = true;
    for (int count = 1; count <= taps; ++count) {
        TouchSequence sequence(rootOf(*view), centerOf(*view), 0, 0, count);
        sequence.end();
        landed = landed && landedOn(sequence, *view);
    }
    return landed;
}

bool longPress(const std::shared_ptr<View>& view, double seconds, double force,
               double maximumPossibleForce) {
    if (!view)
        return false;
    TouchSequence sequence(rootOf(*view), centerOf(*view), force, maximumPossibleForce);
    wait(seconds);
    sequence.end();
    return landedOn(sequence, *view);
}

bool swipe(const std::shared_ptr<View>& view, SwipeDirections direction, double distance) {
    if (!view)
        return false;
    double dx = (direction & SwipeDirection::right)  ? 1
                : (direction & SwipeDirection::left) ? -1
                                                     : 0;
    double dy = (direction & SwipeDirection::down) ? 1 : (direction & SwipeDirection::up) ? -1 : 0;
    Point center = centerOf(*view);
    Point start{center.x - dx * distance / 2, center.y - dy * distance / 2};
    TouchSequence sequence(rootOf(*view), start);
    constexpr int kSteps = 4;
    for (int step = 1; step <= kSteps; ++step) {
        double f = static_cast<double>(step) / kSteps;
        sequence.moveTo({start.x + dx * distance * f, start.y + dy * distance * f});
    }
    sequence.end();
    return landedOn(sequence, *view);
}

bool typeText(const std::shared_ptr<TextField>& field, const std::string& text) {
    if (!field)
        return false;
    if (!field->isFirstResponder())
        tap(field);
    if (!field->isFirstResponder())
        return false;
    return field->typeText(text);
}

void scrollTo(ScrollView& scrollView, Point offset) {
    scrollView.beginDragging();
    scrollView.dragTo(offset);
    scrollView.endDragging();
}

void fling(ScrollView& scrollView, Point offset, Point velocity) {
    scrollView.beginDragging();
    scrollView.dragTo(offset);
    scrollView.endDragging(velocity);
    if (scrollView.isDecelerating())
        wait(ScrollView::kScrollAnimationDuration);
}

}  // namespace uikit::hands
