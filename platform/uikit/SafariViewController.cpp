#include "uikit/SafariViewController.h"

#include "uikit/Label.h"
#include "uikit/Screen.h"

namespace uikit {

namespace {

constexpr double kToolbarHeight = 44;

}  // namespace

std::shared_ptr<SafariViewController> SafariViewController::create(const foundation::URL& url) {
    if (!url.hasWebScheme())
        return nullptr;
    return std::make_shared<SafariViewController>(Token{}, url);
}

SafariViewController::SafariViewController(Token, foundation::URL url) : url_(std::move(url)) {}

std::shared_ptr<Button> SafariViewController::doneButton() {
    loadViewIfNeeded();
    return doneButton_;
}

void SafariViewController::loadView() {
    Rect bounds = Screen::main().bounds();
    auto page = std::make_shared<View>(bounds);
    doneButton_ = std::make_shared<Button>(ButtonType::system);
    doneButton_->setTitle("Done");
    if (controlTintColor_)
        doneButton_->setTintColor(controlTintColor_);
    doneButton_->setFrame({8, 20, 60, kToolbarHeight});
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    doneButton_->addAction(
        [weakSelf](Control&) {
            if (auto self = std::static_pointer_cast<SafariViewController>(weakSelf.lock()))
                self->done();
        },
        ControlEvent::touchUpInside);
    auto address = std::make_shared<Label>(Rect{76, 20, bounds.width() - 84, kToolbarHeight});
    address->setText(url_.absoluteString());
    page->addSubview(doneButton_);
    page->addSubview(address);
    setView(page);
}

void SafariViewController::done() {
    auto self = std::static_pointer_cast<SafariViewController>(shared_from_this());
    dismiss(true, [self] {
        if (auto delegate = self->delegate())
            delegate->safariViewControllerDidFinish(*self);
    });
}

}  // namespace uikit
