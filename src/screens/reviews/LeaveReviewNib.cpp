#include "screens/reviews/LeaveReviewNib.h"

#include "foundation/Localization.h"
#include "screens/reviews/LeaveReviewViewController.h"
#include "uikit/NibRegistry.h"
#include "uikit/Screen.h"

namespace corvane {

using foundation::localized;
using uikit::Autoresizing;
using uikit::Color;
using uikit::Font;
using uikit::Rect;

namespace {

constexpr double kMargin = 16;
constexpr double kCardTop = 96;
constexpr double kCardHeight = 392;
constexpr double kStarSpacing = 8;
constexpr double kButtonHeight = 44;

// A rounded, outlined box on the card with the field inside, clear of the outline.
void addBoxed(uikit::View& card, const Rect& frame, const std::shared_ptr<uikit::View>& field) {
    constexpr double kPadding = 8;
    auto box = std::make_shared<uikit::View>(frame);
    box->setAutoresizingMask(Autoresizing::flexibleWidth);
    box->layer().setBorderColor(Color::lightGray());
    box->layer().setBorderWidth(1);
    box->layer().setCornerRadius(8);
    card.addSubview(box);
    field->setFrame(box->bounds().insetBy(kPadding, kPadding / 2));
    field->setAutoresizingMask(Autoresizing::flexibleWidth);
    box->addSubview(field);
}

std::shared_ptr<uikit::Button> button(uikit::View& card, const Rect& frame,
                                      const std::string& title) {
    auto made = std::make_shared<uikit::Button>(uikit::ButtonType::system);
    made->setFrame(frame);
    made->setTitle(title);
    made->titleLabel()->setFont(Font::boldSystemFont(17));
    card.addSubview(made);
    return made;
}

}  // namespace

void LeaveReviewNib::registerNib() {
    uikit::NibRegistry::shared().registerNib(LeaveReviewViewController::kNibName, &build);
}

std::shared_ptr<uikit::View> LeaveReviewNib::build(
    const std::shared_ptr<uikit::ViewController>& owner) {
    const Rect screen = uikit::Screen::main().bounds();
    auto root = std::make_shared<uikit::View>(screen);
    root->setAutoresizingMask(Autoresizing::flexibleWidth | Autoresizing::flexibleHeight);
    root->setBackgroundColor(Color(0, 0, 0, 0.4));
    const double width = screen.width() - 2 * kMargin;
    const double inner = width - 2 * kMargin;
    auto card = std::make_shared<uikit::View>(Rect{kMargin, kCardTop, width, kCardHeight});
    card->setAutoresizingMask(Autoresizing::flexibleWidth);
    card->layer().setCornerRadius(13);
    card->setBackgroundColor(Color::white());
    root->addSubview(card);

    auto heading = std::make_shared<uikit::Label>();
    heading->setFrame({kMargin, kMargin, inner, 26});
    heading->setFont(Font::boldSystemFont(20));
    heading->setText(localized("Leave a Review"));
    card->addSubview(heading);

    auto form = std::dynamic_pointer_cast<LeaveReviewViewController>(owner);
    for (std::size_t index = 0; index < 5; ++index) {
        auto star = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
        star->setFrame({kMargin + static_cast<double>(index) * (kStarSize + kStarSpacing), 56,
                        kStarSize, kStarSize});
        card->addSubview(star);
        if (form)
            form->ratingButtons[index] = star;
    }
    auto title = std::make_shared<uikit::TextField>();
    title->setPlaceholder(localized("Title"));
    addBoxed(*card, {kMargin, 104, inner, 40}, title);
    auto text = std::make_shared<uikit::TextView>();
    text->setFont(Font::systemFont(15));
    addBoxed(*card, {kMargin, 156, inner, 160}, text);
    const double half = (inner - kMargin) / 2;
    auto cancel = button(*card, {kMargin, 332, half, kButtonHeight}, localized("Cancel"));
    auto submit =
        button(*card, {2 * kMargin + half, 332, half, kButtonHeight}, localized("Submit"));
    if (form) {
        form->cardView = card;
        form->headingLbl = heading;
        form->titleTextField = title;
        form->reviewTextView = text;
        form->cancelBtn = cancel;
        form->submitBtn = submit;
    }
    return root;
}

}  // namespace corvane
