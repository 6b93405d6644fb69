#include "app/presentations/KSSender.h"

namespace corvane {

KSSender::KSSender(const std::shared_ptr<uikit::View>& view) {
    if (view)
        sender_ = std::weak_ptr(view);
}

KSSender::KSSender(const std::shared_ptr<uikit::GestureRecognizer>& recognizer) {
    if (recognizer)
        sender_ = std::weak_ptr(recognizer);
}

KSSender::KSSender(const std::shared_ptr<uikit::BarButtonItem>& item) {
    if (item)
        sender_ = std::weak_ptr(item);
}

std::shared_ptr<uikit::View> KSSender::anchorView() const {
    if (auto view = std::get_if<std::weak_ptr<uikit::View>>(&sender_))
        return view->lock();
    if (auto recognizer = std::get_if<std::weak_ptr<uikit::GestureRecognizer>>(&sender_)) {
        auto alive = recognizer->lock();
        if (alive && alive->view())
            return alive->view()->shared_from_this();
    }
    return nullptr;
}

void KSSender::anchor(uikit::ViewController& controller) const {
    auto popover = controller.popoverPresentationController();
    if (!popover)
        return;
    if (auto item = std::get_if<std::weak_ptr<uikit::BarButtonItem>>(&sender_)) {
        popover->setBarButtonItem(item->lock());
    } else if (auto view = anchorView()) {
        popover->setSourceView(view);
        popover->setSourceRect(view->bounds());
    }
}

}  // namespace corvane
