#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "uikit/Color.h"

namespace uikit {

// One button revealed by swiping a row. The handler does the work and then calls the completion
// with whether it did, which closes the swipe.
class ContextualAction : public std::enable_shared_from_this<ContextualAction> {
  public:
    enum class Style { normal = 0, destructive = 1 };
    using Completion = std::function<void(bool performed)>;
    using Handler = std::function<void(ContextualAction& action, Completion completion)>;

    static std::shared_ptr<ContextualAction> create(Style style, std::string title,
                                                    Handler handler);

    Style style() const { return style_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // Red for destructive actions and grey for the others unless set.
    Color backgroundColor() const;
    void setBackgroundColor(std::optional<Color> color) { backgroundColor_ = color; }

    // Runs the handler; the completion may be called later, once.
    void perform(Completion completion);

    ContextualAction(Style style, std::string title, Handler handler);

  private:
    Style style_ = Style::normal;
    std::string title_;
    std::optional<Color> backgroundColor_;
    Handler handler_;
};

}  // namespace uikit
