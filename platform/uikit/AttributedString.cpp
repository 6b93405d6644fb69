#include "uikit/AttributedString.h"

#include <algorithm>

#include "uikit/TextLayout.h"

namespace uikit {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

template <typename T>
void take(std::optional<T>& mine, const std::optional<T>& theirs) {
    if (theirs)
        mine = theirs;
}

}  // namespace

void TextAttributes::merge(const TextAttributes& other) {
    take(font, other.font);
    take(foregroundColor, other.foregroundColor);
    take(backgroundColor, other.backgroundColor);
    take(link, other.link);
    take(underlineStyle, other.underlineStyle);
    take(underlineColor, other.underlineColor);
    take(paragraphStyle, other.paragraphStyle);
}

AttributedString::AttributedString(std::string text, TextAttributes attributes)
    : text_(std::move(text)) {
    if (!text_.empty())
        runs_.push_back({{0, text_.size()}, std::move(attributes)});
}

TextRange AttributedString::clamp(TextRange range) const {
    std::size_t start = std::min(range.location, text_.size());
    std::size_t end = range.length > text_.size() - start ? text_.size() : start + range.length;
    while (start > 0 && start < text_.size() && isContinuationByte(text_[start]))
        --start;
    while (end < text_.size() && isContinuationByte(text_[end]))
        ++end;
    return {start, end - start};
}

void AttributedString::splitAt(std::size_t index) {
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        Run& run = runs_[i];
        if (index > run.range.location && index < run.range.end()) {
            Run tail{{index, run.range.end() - index}, run.attributes};
            run.range.length = index - run.range.location;
            runs_.insert(runs_.begin() + static_cast<long>(i) + 1, std::move(tail));
            return;
        }
    }
}

void AttributedString::coalesce() {
    std::vector<Run> merged;
    for (auto& run : runs_) {
        if (run.range.length == 0)
            continue;
        if (!merged.empty() && merged.back().attributes == run.attributes)
            merged.back().range.length += run.range.length;
        else
            merged.push_back(std::move(run));
    }
    runs_ = std::move(merged);
}

template <typename Edit>
void AttributedString::editRange(TextRange range, Edit edit) {
    TextRange r = clamp(range);
    if (r.length == 0)
        return;
    splitAt(r.location);
    splitAt(r.end());
    for (auto& run : runs_)
        if (run.range.location >= r.location && run.range.end() <= r.end())
            edit(run.attributes);
    coalesce();
}

std::vector<AttributedString::Run>::const_iterator AttributedString::runAfter(
    std::size_t index) const {
    return std::upper_bound(runs_.begin(), runs_.end(), index,
                            [](std::size_t i, const Run& run) { return i < run.range.end(); });
}

TextAttributes AttributedString::attributesAt(std::size_t index, TextRange* effectiveRange) const {
    auto run = runAfter(index);
    if (run != runs_.end() && index >= run->range.location) {
        if (effectiveRange)
            *effectiveRange = run->range;
        return run->attributes;
    }
    if (effectiveRange)
        *effectiveRange = {index, 0};
    return {};
}

AttributedString AttributedString::substring(TextRange range) const {
    TextRange r = clamp(range);
    AttributedString result;
    result.text_ = text_.substr(r.location, r.length);
    for (auto run = runAfter(r.location); run != runs_.end() && run->range.location < r.end();
         ++run) {
        std::size_t start = std::max(run->range.location, r.location);
        std::size_t end = std::min(run->range.end(), r.end());
        if (start < end)
            result.runs_.push_back({{start - r.location, end - start}, run->attributes});
    }
    return result;
}

void AttributedString::append(const AttributedString& other) {
    if (&other == this) {
        append(AttributedString(other));
        return;
    }
    // Only the last run can meet what comes after it, so the runs before it stay untouched and
    // building text a run at a time stays linear.
    std::size_t offset = text_.size();
    text_ += other.text_;
    for (const auto& run : other.runs_) {
        if (!runs_.empty() && runs_.back().attributes == run.attributes)
            runs_.back().range.length += run.range.length;
        else
            runs_.push_back({{offset + run.range.location, run.range.length}, run.attributes});
    }
}

void AttributedString::append(const std::string& text, const TextAttributes& attributes) {
    append(AttributedString(text, attributes));
}

void AttributedString::insert(std::size_t location, const AttributedString& other) {
    std::size_t at = clamp({location, 0}).location;
    splitAt(at);
    for (auto& run : runs_)
        if (run.range.location >= at)
            run.range.location += other.length();
    text_.insert(at, other.text_);
    for (auto run : other.runs_) {
        run.range.location += at;
        runs_.push_back(std::move(run));
    }
    std::sort(runs_.begin(), runs_.end(),
              [](const Run& a, const Run& b) { return a.range.location < b.range.location; });
    coalesce();
}

void AttributedString::addAttributes(const TextAttributes& attributes, TextRange range) {
    editRange(range, [&](TextAttributes& a) { a.merge(attributes); });
}

void AttributedString::setAttributes(const TextAttributes& attributes, TextRange range) {
    editRange(range, [&](TextAttributes& a) { a = attributes; });
}

void AttributedString::removeAttribute(AttributeKey key, TextRange range) {
    editRange(range, [key](TextAttributes& a) {
        switch (key) {
            case AttributeKey::font:
                a.font.reset();
                break;
            case AttributeKey::foregroundColor:
                a.foregroundColor.reset();
                break;
            case AttributeKey::backgroundColor:
                a.backgroundColor.reset();
                break;
            case AttributeKey::link:
                a.link.reset();
                break;
            case AttributeKey::underlineStyle:
                a.underlineStyle.reset();
                break;
            case AttributeKey::underlineColor:
                a.underlineColor.reset();
                break;
            case AttributeKey::paragraphStyle:
                a.paragraphStyle.reset();
                break;
        }
    });
}

void AttributedString::deleteCharacters(TextRange range) {
    TextRange r = clamp(range);
    if (r.length == 0)
        return;
    std::vector<Run> kept;
    for (const auto& run : runs_) {
        if (run.range.location < r.location)
            kept.push_back(
                {{run.range.location, std::min(run.range.end(), r.location) - run.range.location},
                 run.attributes});
        if (run.range.end() > r.end()) {
            std::size_t start = std::max(run.range.location, r.end());
            kept.push_back({{start - r.length, run.range.end() - start}, run.attributes});
        }
    }
    text_.erase(r.location, r.length);
    runs_ = std::move(kept);
    coalesce();
}

void AttributedString::replaceCharacters(TextRange range, const std::string& text) {
    TextRange r = clamp(range);
    // New text takes the attributes of the first character it replaces, else of the one before.
    TextAttributes attributes;
    if (r.length > 0)
        attributes = attributesAt(r.location);
    else if (r.location > 0)
        attributes = attributesAt(r.location - 1);
    deleteCharacters(r);
    insert(r.location, AttributedString(text, attributes));
}

std::vector<std::pair<TextRange, std::string>> AttributedString::links() const {
    std::vector<std::pair<TextRange, std::string>> result;
    for (const auto& run : runs_) {
        if (!run.attributes.link)
            continue;
        if (!result.empty() && result.back().second == *run.attributes.link &&
            result.back().first.end() == run.range.location)
            result.back().first.length += run.range.length;
        else
            result.emplace_back(run.range, *run.attributes.link);
    }
    return result;
}

Size AttributedString::boundingSize(double maxWidth, int maxLines, const Font& defaultFont,
                                    LineBreakMode mode) const {
    return TextLayout::measure(*this, defaultFont, maxWidth, maxLines, mode).size;
}

}  // namespace uikit
