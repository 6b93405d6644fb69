#include "uikit/ContextualAction.h"

#include <utility>

namespace uikit {

std::shared_ptr<ContextualAction> ContextualAction::create(Style style, std::string title,
                                                           Handler handler) {
    return std::make_shared<ContextualAction>(style, std::move(title), std::move(handler));
}

ContextualAction::ContextualAction(Style style, std::string title, Handler handler)
    : style_(style), title_(std::move(title)), handler_(std::move(handler)) {}

Color ContextualAction::backgroundColor() const {
    if (backgroundColor_)
        return *backgroundColor_;
    return style_ == Style::destructive ? Color::systemRed() : Color::systemGray();
}

void ContextualAction::perform(Completion completion) {
    auto once = std::make_shared<bool>(false);
    auto guarded = [once, completion = std::move(completion)](bool performed) {
        if (std::exchange(*once, true))
            return;
        if (completion)
            completion(performed);
    };
    if (handler_) {
        handler_(*this, guarded);
    } else {
        guarded(false);
    }
}

}  // namespace uikit
