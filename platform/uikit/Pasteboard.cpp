#include "uikit/Pasteboard.h"

#include "foundation/SharedInstance.h"

namespace uikit {

Pasteboard& Pasteboard::general() {
    static auto* pasteboard = new foundation::SharedInstance<Pasteboard>(
        [] { return std::shared_ptr<Pasteboard>(new Pasteboard()); });
    return pasteboard->get();
}

std::optional<std::string> Pasteboard::string() const {
    std::lock_guard lock(mutex_);
    return string_;
}

void Pasteboard::setString(std::optional<std::string> text) {
    std::lock_guard lock(mutex_);
    string_ = std::move(text);
}

bool Pasteboard::hasStrings() const {
    std::lock_guard lock(mutex_);
    return string_.has_value();
}

}  // namespace uikit
