#include "uikit/HTMLImporter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/Strings.h"
#include "html/HTMLDocument.h"

namespace uikit {

namespace {

// Descriptions are UTF-8 whatever their markup declares.
constexpr const char* kContentType = "text/html; charset=utf-8";
constexpr const char* kMonospaceFamily = "DejaVu Sans Mono";
constexpr const char* kSerifFamily = "DejaVu Serif";
// Points each level of nested lists and quotes moves its lines in, up to a depth that still
// leaves a phone's line room for text.
constexpr double kIndentPerLevel = 18;
constexpr std::size_t kMaximumIndentLevels = 8;
constexpr double kMinimumFontSize = 1;
constexpr double kMaximumFontSize = 200;

bool isHTMLSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<Color> namedColor(const std::string& name) {
    static const std::map<std::string, Color> colors = {
        {"black", Color::fromBytes(0, 0, 0)},
        {"silver", Color::fromBytes(192, 192, 192)},
        {"gray", Color::fromBytes(128, 128, 128)},
        {"grey", Color::fromBytes(128, 128, 128)},
        {"white", Color::fromBytes(255, 255, 255)},
        {"maroon", Color::fromBytes(128, 0, 0)},
        {"red", Color::fromBytes(255, 0, 0)},
        {"purple", Color::fromBytes(128, 0, 128)},
        {"fuchsia", Color::fromBytes(255, 0, 255)},
        {"green", Color::fromBytes(0, 128, 0)},
        {"lime", Color::fromBytes(0, 255, 0)},
        {"olive", Color::fromBytes(128, 128, 0)},
        {"yellow", Color::fromBytes(255, 255, 0)},
        {"navy", Color::fromBytes(0, 0, 128)},
        {"blue", Color::fromBytes(0, 0, 255)},
        {"teal", Color::fromBytes(0, 128, 128)},
        {"aqua", Color::fromBytes(0, 255, 255)},
        {"orange", Color::fromBytes(255, 165, 0)},
        {"transparent", Color::clear()},
    };
    auto found = colors.find(name);
    return found == colors.end() ? std::nullopt : std::optional<Color>(found->second);
}

std::optional<Color> hexColor(std::string_view digits) {
    if (digits.size() != 3 && digits.size() != 6)
        return std::nullopt;
    std::string full;
    for (char c : digits)
        full.append(digits.size() == 3 ? 2 : 1, c);
    unsigned value = 0;
    auto [end, error] = std::from_chars(full.data(), full.data() + full.size(), value, 16);
    if (error != std::errc() || end != full.data() + full.size())
        return std::nullopt;
    return Color::fromBytes((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

// "rgb(255, 0, 0)", "rgba(0 0 255 / 0.5)" and "rgba(0, 0, 255, 0.5)".
std::optional<Color> functionalColor(std::string_view arguments) {
    std::string list(arguments);
    std::replace(list.begin(), list.end(), ',', ' ');
    std::replace(list.begin(), list.end(), '/', ' ');
    std::vector<double> values;
    for (const auto& part : foundation::split(list, " "))
        if (!part.empty()) {
            auto value = number(part);
            if (!value)
                return std::nullopt;
            values.push_back(*value);
        }
    if (values.size() != 3 && values.size() != 4)
        return std::nullopt;
    return Color(values[0] / 255, values[1] / 255, values[2] / 255,
                 values.size() == 4 ? values[3] : 1.0);
}

std::optional<Color> parseColor(std::string_view text) {
    std::string value = foundation::lowercase(foundation::trimmed(text));
    if (value.starts_with("#"))
        return hexColor(std::string_view(value).substr(1));
    for (std::string_view function : {"rgb(", "rgba("})
        if (value.starts_with(function) && value.ends_with(")"))
            return functionalColor(std::string_view(value).substr(
                function.size(), value.size() - function.size() - 1));
    return namedColor(value);
}

// Pixels (or no unit, as lenient pages write it) are points; a CSS point is 4/3 of a pixel.
std::optional<double> parseFontSize(std::string_view text) {
    std::string value = foundation::lowercase(foundation::trimmed(text));
    double scale = 1;
    if (value.ends_with("px")) {
        value.resize(value.size() - 2);
    } else if (value.ends_with("pt")) {
        value.resize(value.size() - 2);
        scale = 4.0 / 3.0;
    }
    auto size = number(value);
    if (!size)
        return std::nullopt;
    return std::clamp(*size * scale, kMinimumFontSize, kMaximumFontSize);
}

std::optional<TextAlignment> parseTextAlignment(std::string_view text) {
    static const std::map<std::string, TextAlignment> alignments = {
        {"left", TextAlignment::left},     {"right", TextAlignment::right},
        {"center", TextAlignment::center}, {"justify", TextAlignment::justified},
        {"start", TextAlignment::natural},
    };
    auto found = alignments.find(foundation::lowercase(foundation::trimmed(text)));
    return found == alignments.end() ? std::nullopt : std::optional<TextAlignment>(found->second);
}

bool isRefusedLinkScheme(const std::string& scheme) {
    return scheme == "javascript" || scheme == "vbscript" || scheme == "data" || scheme == "file";
}

// How an element breaks lines: inline, as a block, or as a block that indents its content.
enum class Block { none, paragraph, list, listItem, quote };

struct TagRole {
    Block block = Block::none;
    bool skipped = false;
};

TagRole roleOf(const std::string& tag) {
    static const std::set<std::string_view> skipped = {
        "script", "style", "head", "title", "template", "noscript", "iframe", "object",  "embed",
        "img",    "svg",   "math", "video", "audio",    "canvas",   "select", "textarea"};
    static const std::set<std::string_view> paragraphs = {
        "p",      "h1",         "h2",       "h3",      "h4",     "h5",  "h6",    "pre",
        "div",    "section",    "article",  "header",  "footer", "nav", "aside", "main",
        "figure", "figcaption", "address",  "table",   "tr",     "dl",  "dt",    "dd",
        "hr",     "form",       "fieldset", "details", "summary"};
    if (skipped.contains(tag))
        return {Block::none, true};
    if (tag == "ul" || tag == "ol")
        return {Block::list};
    if (tag == "li")
        return {Block::listItem};
    if (tag == "blockquote")
        return {Block::quote};
    if (paragraphs.contains(tag))
        return {Block::paragraph};
    return {};
}

bool isHeading(const std::string& tag) {
    return tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6';
}

double headingScale(const std::string& tag) {
    static const std::map<std::string_view, double> scales = {
        {"h1", 2.0}, {"h2", 1.5}, {"h3", 1.17}, {"h5", 0.83}, {"h6", 0.67}};
    auto found = scales.find(tag);
    return found == scales.end() ? 1.0 : found->second;
}

// What the text inside an element looks like.
struct Style {
    std::string family = Font::kSystemFamily;
    double size = 12;
    bool bold = false;
    bool italic = false;
    std::optional<Color> color;
    std::optional<std::string> link;
    ParagraphStyle paragraph;
    bool preformatted = false;
};

// Collects text with HTML's white-space rules and the indentation of lists and quotes.
class TextSink {
  public:
    void setIndent(std::size_t levels) { indentLevels_ = levels; }

    void text(std::string_view text, const TextAttributes& attributes, bool preformatted) {
        for (char c : text) {
            if (preformatted) {
                put(c, attributes);
            } else if (isHTMLSpace(c)) {
                if (!atLineStart_ && !pendingSpace_)
                    pendingSpace_ = attributes;
            } else {
                if (pendingSpace_ && !atLineStart_)
                    append(" ", *pendingSpace_);
                pendingSpace_.reset();
                put(c, attributes);
            }
        }
    }

    void lineBreak(const TextAttributes& attributes) {
        pendingSpace_.reset();
        if (atLineStart_)
            indentLine(indentLevels_);
        append("\n", attributes);
    }

    // Ends the current line unless it is empty.
    void endBlock() {
        pendingSpace_.reset();
        if (!atLineStart_)
            append("\n", segments_.back().attributes);
    }

    // A list item's "• " or "3. " starts its line one level less in than the item's text, and
    // the item's wrapped lines hang under its text.
    void marker(const std::string& marker, const TextAttributes& attributes) {
        endBlock();
        indentLine(indentLevels_ > 0 ? indentLevels_ - 1 : 0);
        append(marker, attributes);
    }

    AttributedString result() &&;

  private:
    struct Indents {
        double firstLine = 0;
        double otherLines = 0;
        bool operator==(const Indents&) const = default;
    };
    struct Segment {
        std::string text;
        TextAttributes attributes;
        Indents indents;
    };

    void indentLine(std::size_t firstLineLevels) {
        auto points = [](std::size_t levels) {
            return static_cast<double>(std::min(levels, kMaximumIndentLevels)) * kIndentPerLevel;
        };
        lineIndents_ = {points(firstLineLevels), points(indentLevels_)};
    }

    void put(char c, const TextAttributes& attributes) {
        if (atLineStart_)
            indentLine(indentLevels_);
        append(std::string_view(&c, 1), attributes);
    }

    void append(std::string_view text, const TextAttributes& attributes) {
        if (text.empty())
            return;
        if (segments_.empty() || !(segments_.back().attributes == attributes) ||
            !(segments_.back().indents == lineIndents_))
            segments_.push_back({std::string(), attributes, lineIndents_});
        segments_.back().text.append(text);
        atLineStart_ = text.back() == '\n';
    }

    static TextAttributes indented(TextAttributes attributes, const Indents& indents) {
        if (indents == Indents{})
            return attributes;
        ParagraphStyle style = attributes.paragraphStyle.value_or(ParagraphStyle{});
        style.firstLineHeadIndent = indents.firstLine;
        style.headIndent = indents.otherLines;
        attributes.paragraphStyle = style;
        return attributes;
    }

    std::vector<Segment> segments_;
    std::optional<TextAttributes> pendingSpace_;
    bool atLineStart_ = true;
    std::size_t indentLevels_ = 0;
    Indents lineIndents_;
};

AttributedString TextSink::result() && {
    AttributedString text;
    for (const auto& segment : segments_)
        text.append(segment.text, indented(segment.attributes, segment.indents));
    return text;
}

// Walks the parsed document in order, keeping one style per open element.
class Builder {
  public:
    Builder(const Font& defaultFont, const std::optional<foundation::URL>& baseURL)
        : baseURL_(baseURL) {
        Style base;
        base.family = defaultFont.family();
        base.size = defaultFont.pointSize();
        base.bold = defaultFont.isBold();
        base.italic = defaultFont.isItalic();
        frames_.push_back({base, attributesOf(base), {}, {}});
    }

    // Iterative, since a hostile page nests as deep as the parser lets it.
    AttributedString build(const html::HTMLElement& root) && {
        std::vector<Level> levels;
        levels.push_back({root.contents()});
        while (!levels.empty()) {
            Level& level = levels.back();
            if (level.next == level.contents.size()) {
                levels.pop_back();
                if (!levels.empty())
                    leave();
                continue;
            }
            const html::HTMLContent& content = level.contents[level.next++];
            if (const auto* text = std::get_if<std::string>(&content)) {
                sink_.text(*text, frames_.back().attributes, frames_.back().style.preformatted);
            } else if (const auto& element = std::get<html::HTMLElement>(content); enter(element)) {
                auto children = element.contents();
                levels.push_back({std::move(children)});
            }
        }
        return std::move(sink_).result();
    }

  private:
    struct Frame {
        Style style;
        TextAttributes attributes;
        std::string tag;
        TagRole role;
        long nextNumber = 1;  // of an ordered list
    };

    // The contents of an entered element and how far the walk has read them.
    struct Level {
        std::vector<html::HTMLContent> contents;
        std::size_t next = 0;
    };

    // True when the walk goes into the element's contents.
    bool enter(const html::HTMLElement& element) {
        std::string tag = element.tagName();
        const Frame& parent = frames_.back();
        if (tag == "br") {
            sink_.lineBreak(parent.attributes);
            return false;
        }
        TagRole role = roleOf(tag);
        if (role.skipped)
            return false;
        Frame frame{styled(element, tag, parent.style), {}, tag, role};
        frame.attributes = attributesOf(frame.style);
        if (tag == "ol")
            frame.nextNumber = startNumber(element);
        frames_.push_back(std::move(frame));
        open(frames_.back());
        return true;
    }

    void open(const Frame& frame) {
        if (frame.role.block != Block::none)
            sink_.endBlock();
        if (frame.role.block == Block::list || frame.role.block == Block::quote)
            sink_.setIndent(++indentLevels_);
        if (frame.role.block == Block::listItem)
            sink_.marker(listMarker(), frame.attributes);
    }

    void leave() {
        Frame frame = std::move(frames_.back());
        frames_.pop_back();
        if (frame.role.block != Block::none)
            sink_.endBlock();
        if (frame.role.block == Block::list || frame.role.block == Block::quote)
            sink_.setIndent(--indentLevels_);
    }

    // "• " in an unordered list, the next number in an ordered one.
    std::string listMarker() {
        for (auto frame = frames_.rbegin() + 1; frame != frames_.rend(); ++frame) {
            if (frame->tag == "ol")
                return std::to_string(frame->nextNumber++) + ". ";
            if (frame->tag == "ul")
                break;
        }
        return "\u2022 ";
    }

    static long startNumber(const html::HTMLElement& list) {
        auto start = list.attribute("start");
        long value = 1;
        if (!start)
            return value;
        std::string text = foundation::trimmed(*start);
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            return 1;
        return std::clamp(value, -1'000'000'000L, 1'000'000'000L);
    }

    Style styled(const html::HTMLElement& element, const std::string& tag, Style style) {
        if (isHeading(tag)) {
            style.bold = true;
            style.size =
                std::clamp(style.size * headingScale(tag), kMinimumFontSize, kMaximumFontSize);
        } else if (tag == "strong" || tag == "b") {
            style.bold = true;
        } else if (tag == "em" || tag == "i") {
            style.italic = true;
        } else if (tag == "code" || tag == "kbd" || tag == "samp" || tag == "tt") {
            style.family = kMonospaceFamily;
        } else if (tag == "pre") {
            style.family = kMonospaceFamily;
            style.preformatted = true;
        } else if (tag == "a") {
            if (auto href = element.attribute("href"))
                style.link = resolvedLink(*href);
        }
        if (auto declarations = element.attribute("style"))
            applyDeclarations(*declarations, style);
        return style;
    }

    std::optional<std::string> resolvedLink(std::string_view href) const {
        std::string text = foundation::trimmed(href);
        auto url = baseURL_ ? foundation::URL::withString(text, *baseURL_)
                            : foundation::URL::withString(text);
        if (!url || isRefusedLinkScheme(url->scheme()))
            return std::nullopt;
        return url->absoluteString();
    }

    void applyDeclarations(std::string_view declarations, Style& style) {
        for (const auto& declaration : foundation::split(declarations, ";")) {
            std::size_t colon = declaration.find(':');
            if (colon == std::string::npos)
                continue;
            std::string property =
                foundation::lowercase(foundation::trimmed(declaration.substr(0, colon)));
            std::string value = foundation::trimmed(declaration.substr(colon + 1));
            if (std::size_t important = value.find('!'); important != std::string::npos)
                value = foundation::trimmed(value.substr(0, important));
            applyDeclaration(property, value, style);
        }
    }

    void applyDeclaration(const std::string& property, std::string_view value, Style& style) {
        if (property == "color") {
            if (auto color = parseColor(value))
                style.color = color;
        } else if (property == "font-size") {
            if (auto size = parseFontSize(value))
                style.size = *size;
        } else if (property == "font-family") {
            if (auto family = installedFamily(value))
                style.family = *family;
        } else if (property == "text-align") {
            if (auto alignment = parseTextAlignment(value))
                style.paragraph.alignment = *alignment;
        }
    }

    // The first family of the list that can be shown: a generic one or an installed one.
    std::optional<std::string> installedFamily(std::string_view list) {
        for (const auto& entry : foundation::split(list, ",")) {
            std::string name = foundation::trimmed(entry);
            if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
                name.back() == name.front())
                name = name.substr(1, name.size() - 2);
            std::string generic = foundation::lowercase(name);
            if (generic == "sans-serif" || generic == "system-ui" || generic == "-apple-system")
                return Font::kSystemFamily;
            if (generic == "monospace")
                return kMonospaceFamily;
            if (generic == "serif")
                return kSerifFamily;
            if (familyFont(name))
                return name;
        }
        return std::nullopt;
    }

    // Looking a family up lists every installed one, so each is looked up once.
    const std::optional<Font>& familyFont(const std::string& family) {
        auto known = familyFonts_.find(family);
        if (known == familyFonts_.end())
            known = familyFonts_.emplace(family, Font::named(family, 12)).first;
        return known->second;
    }

    TextAttributes attributesOf(const Style& style) {
        TextAttributes attributes;
        attributes.font = fontOf(style);
        attributes.foregroundColor = style.color;
        attributes.link = style.link;
        if (style.link)
            attributes.underlineStyle = UnderlineStyle::single;
        attributes.paragraphStyle = style.paragraph;
        return attributes;
    }

    Font fontOf(const Style& style) {
        Font font = Font::systemFont(style.size);
        if (style.family != Font::kSystemFamily)
            if (const auto& named = familyFont(style.family))
                font = named->withSize(style.size);
        return font.withWeight(style.bold ? FontWeight::bold : FontWeight::regular)
            .withItalic(style.italic);
    }

    const std::optional<foundation::URL>& baseURL_;
    std::vector<Frame> frames_;
    TextSink sink_;
    std::size_t indentLevels_ = 0;
    std::map<std::string, std::optional<Font>> familyFonts_;
};

}  // namespace

std::optional<AttributedString> HTMLImporter::attributedString(std::string_view html) const {
    if (html.size() > kMaximumBytes)
        return std::nullopt;
    auto document = html::HTMLDocument::parse(html, kContentType);
    if (!document)
        return std::nullopt;
    return Builder(defaultFont_, baseURL_).build(document->documentElement());
}

}  // namespace uikit
