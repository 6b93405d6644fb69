#include "ui/extensions/GetButton.h"

#include "uikit/Animation.h"
#include "uikit/SelectionFeedbackGenerator.h"

namespace corvane {

using uikit::AnimationOption;

namespace {

constexpr uikit::AnimationOptions kBounceOptions =
    AnimationOption::allowUserInteraction | AnimationOption::beginFromCurrentState;

}  // namespace

void GetButton::animateButton(uikit::Button& button) {
    const uikit::AffineTransform resting = button.transform();
    std::weak_ptr<uikit::View> weakButton = button.weak_from_this();
    uikit::Animation::animate(
        kBounceDuration, 0, kBounceOptions,
        [&button] {
            button.setTransform(
                uikit::AffineTransform::identity().scaledBy(kBounceScale, kBounceScale));
        },
        [weakButton, resting](bool) {
            uikit::Animation::animate(kBounceDuration, 0, kBounceOptions, [weakButton, resting] {
                if (auto button = weakButton.lock())
                    button->setTransform(resting);
            });
        });
}

std::shared_ptr<HapticPressGestureRecognizer> GetButton::hapticPress(uikit::Button& button) {
    for (const auto& recognizer : button.gestureRecognizers())
        if (auto haptic = std::dynamic_pointer_cast<HapticPressGestureRecognizer>(recognizer))
            return haptic;
    auto haptic = std::make_shared<HapticPressGestureRecognizer>(&GetButton::hapticPressAction);
    haptic->setNumberOfTouchesRequired(1);
    haptic->setNumberOfTapsRequired(0);
    haptic->setMinimumPressDuration(kMinimumPressDuration);
    button.addGestureRecognizer(haptic);
    return haptic;
}

uikit::GestureRecognizer::TargetID GetButton::addTarget(uikit::Button& button,
                                                        uikit::GestureRecognizer::Action action) {
    return hapticPress(button)->addTarget(std::move(action));
}

void GetButton::hapticPressAction(uikit::GestureRecognizer& recognizer) {
    if (recognizer.state() != uikit::GestureRecognizer::State::began)
        return;
    uikit::SelectionFeedbackGenerator feedback;
    feedback.prepare();
    feedback.selectionChanged();
    if (auto* button = dynamic_cast<uikit::Button*>(recognizer.view()))
        animateButton(*button);
}

}  // namespace corvane
