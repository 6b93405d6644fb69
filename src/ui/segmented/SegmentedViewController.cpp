#include "ui/segmented/SegmentedViewController.h"

#include "ui/palette/KSPaletteManager.h"
#include "uikit/BarButtonItem.h"
#include "uikit/Label.h"

namespace corvane {

using uikit::ViewController;

std::shared_ptr<SegmentedViewController> SegmentedViewController::initWithControllers(
    std::vector<std::shared_ptr<ViewController>> viewControllers,
    std::vector<std::string> viewTitles, int fistIndex) {
    return std::make_shared<SegmentedViewController>(std::move(viewControllers),
                                                     std::move(viewTitles), fistIndex);
}

SegmentedViewController::SegmentedViewController(
    std::vector<std::shared_ptr<ViewController>> viewControllers,
    std::vector<std::string> viewTitles, int fistIndex)
    : viewControllers_(std::move(viewControllers)), viewTitles_(std::move(viewTitles)) {
    activeIndex_ = isChild(fistIndex) ? fistIndex : 0;
}

void SegmentedViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setOverrideLargeTitles(true);
    viewSelector_ = std::make_shared<uikit::SegmentedControl>(viewTitles_);
    viewSelector_->setSelectedSegmentIndex(activeIndex_);
    viewSelector_->setTintColor(
        palette().value_or(KSPaletteManager::getActivePalette()).tintColor());
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    viewSelector_->addAction(
        [weakSelf](uikit::Control& sender) {
            if (auto self = std::static_pointer_cast<SegmentedViewController>(weakSelf.lock()))
                self->viewSelectorIndexDidChange(static_cast<uikit::SegmentedControl&>(sender));
        },
        uikit::ControlEvent::valueChanged);
    navigationItem()->setRightBarButtonItem(uikit::BarButtonItem::withCustomView(viewSelector_));
    showFirstChild();
}

void SegmentedViewController::showFirstChild() {
    if (!isChild(activeIndex_))
        return;
    auto child = viewControllers_[activeIndex_];
    addChild(child);
    child->view()->setFrame(view()->bounds());
    child->view()->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                       uikit::Autoresizing::flexibleHeight);
    view()->addSubview(child->view());
    child->didMove(shared_from_this());
    activeViewController_ = child;
}

void SegmentedViewController::setActiveIndex(int index) {
    if (!isChild(index) || index == activeIndex_)
        return;
    activeIndex_ = index;
    if (viewSelector_)
        viewSelector_->setSelectedSegmentIndex(index);
    // A running switch turns to the latest index when it ends.
    if (isViewLoaded() && !transitioning_)
        switchToIndex(index);
}

void SegmentedViewController::viewSelectorIndexDidChange(uikit::SegmentedControl& sender) {
    setActiveIndex(sender.selectedSegmentIndex());
}

void SegmentedViewController::switchToIndex(int index) {
    auto from = activeViewController_;
    auto to = viewControllers_[index];
    if (!from || from == to)
        return;
    transitioning_ = true;
    addChild(to);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    transition(
        from, to, kTransitionDuration, uikit::AnimationOption::none,
        [weakSelf, from, to] {
            auto self = weakSelf.lock();
            if (!self)
                return;
            from->view()->removeFromSuperview();
            to->view()->setFrame(self->view()->bounds());
            to->view()->setAutoresizingMask(uikit::Autoresizing::flexibleWidth |
                                            uikit::Autoresizing::flexibleHeight);
            self->view()->addSubview(to->view());
        },
        [weakSelf, from, to](bool) {
            if (auto self = std::static_pointer_cast<SegmentedViewController>(weakSelf.lock()))
                self->transitionDidEnd(from, to);
        });
}

void SegmentedViewController::transitionDidEnd(const std::shared_ptr<ViewController>& from,
                                               const std::shared_ptr<ViewController>& to) {
    to->didMove(shared_from_this());
    from->willMove(nullptr);
    from->removeFromParent();
    activeViewController_ = to;
    transitioning_ = false;
    switchToIndex(activeIndex_);
}

std::shared_ptr<uikit::StackView> SegmentedViewController::titleViewWithTitle(
    const std::string& title) {
    loadViewIfNeeded();
    auto label = std::make_shared<uikit::Label>();
    label->setText(title);
    label->setFont(uikit::Font::boldSystemFont(14));
    auto stack = std::make_shared<uikit::StackView>(
        std::vector<std::shared_ptr<uikit::View>>{label, viewSelector_});
    stack->setAxis(uikit::LayoutAxis::vertical);
    stack->setAlignment(uikit::StackViewAlignment::center);
    stack->setSpacing(4);
    return stack;
}

}  // namespace corvane
