#include "uikit/TextField.h"

#include <algorithm>

#include "uikit/Canvas.h"
#include "uikit/DescribeText.h"
#include "uikit/TextPainter.h"

namespace uikit {

namespace {
const Color kPlaceholderColor = Color::white(0.7);
}  // namespace

namespace {

std::size_t characterLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

}  // namespace

bool TextField::shouldBecomeFirstResponder() {
    auto delegate = this->delegate();
    return !delegate || delegate->textFieldShouldBeginEditing(*this);
}

void TextField::didBecomeFirstResponder() {
    if (auto delegate = this->delegate())
        delegate->textFieldDidBeginEditing(*this);
    sendActions(ControlEvent::editingDidBegin);
}

bool TextField::shouldResignFirstResponder() {
    auto delegate = this->delegate();
    return !delegate || delegate->textFieldShouldEndEditing(*this);
}

void TextField::didResignFirstResponder() {
    if (auto delegate = this->delegate())
        delegate->textFieldDidEndEditing(*this);
    sendActions(ControlEvent::editingDidEnd);
}

bool TextField::replace(TextRange range, const std::string& replacement) {
    if (auto delegate = this->delegate();
        delegate && !delegate->textFieldShouldChangeCharacters(*this, range, replacement))
        return false;
    text_.replace(range.location, range.length, replacement);
    sendActions(ControlEvent::editingChanged);
    return true;
}

bool TextField::typeText(const std::string& text) {
    if (!isFirstResponder() && !becomeFirstResponder())
        return false;
    auto keep = weak_from_this().lock();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length =
            std::min(characterLength(static_cast<unsigned char>(text[i])), text.size() - i);
        replace({text_.size(), 0}, text.substr(i, length));
        i += length;
    }
    return true;
}

void TextField::deleteBackward() {
    if (text_.empty())
        return;
    std::size_t start = text_.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text_[start]) & 0xC0) == 0x80)
        --start;
    replace({start, text_.size() - start}, "");
}

void TextField::clear() {
    if (auto delegate = this->delegate(); delegate && !delegate->textFieldShouldClear(*this))
        return;
    text_.clear();
    sendActions(ControlEvent::editingChanged);
}

void TextField::pressReturn() {
    auto delegate = this->delegate();
    if (delegate && !delegate->textFieldShouldReturn(*this))
        return;
    sendActions(ControlEvent::editingDidEndOnExit);
}

// One line, centred in the height: the text (a dot per character when secure), else the
// placeholder in grey.
void TextField::draw(Canvas& canvas) {
    std::string shown = text_;
    Color color = textColor_;
    if (text_.empty() && placeholder_) {
        shown = *placeholder_;
        color = kPlaceholderColor;
    } else if (secure_) {
        auto characters =
            std::count_if(text_.begin(), text_.end(), [](char c) { return (c & 0xC0) != 0x80; });
        shown.clear();
        for (long i = 0; i < characters; ++i)
            shown += "\u2022";
    }
    if (shown.empty())
        return;
    const Rect& area = bounds();
    TextPainter::drawLine(
        canvas, shown, font_, color,
        {{area.minX(), area.midY() - font_.lineHeight() / 2}, area.width(), textAlignment_});
}

std::string TextField::describeSelf() const {
    if (!text_.empty())
        return "TextField " +
               quotedForDescription(secure_ ? std::string(text_.size(), '*') : text_);
    if (placeholder_)
        return "TextField placeholder " + quotedForDescription(*placeholder_);
    return "TextField";
}

}  // namespace uikit
