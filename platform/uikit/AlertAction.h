#pragma once

#include <functional>
#include <memory>
#include <string>

namespace uikit {

// One button of an alert or action sheet. The alert runs the handler once it has gone away.
class AlertAction {
  public:
    enum class Style { defaultStyle = 0, cancel = 1, destructive = 2 };
    using Handler = std::function<void(AlertAction& action)>;

    static std::shared_ptr<AlertAction> create(std::string title, Style style,
                                               Handler handler = {}) {
        return std::make_shared<AlertAction>(std::move(title), style, std::move(handler));
    }
    AlertAction(std::string title, Style style, Handler handler)
        : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

    const std::string& title() const { return title_; }
    Style style() const { return style_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    void runHandler() {
        if (handler_)
            handler_(*this);
    }

  private:
    std::string title_;
    Style style_;
    Handler handler_;
    bool enabled_ = true;
};

}  // namespace uikit
