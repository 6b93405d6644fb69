#include "framework/depictions/KSSileoDepiction.h"

#include <cctype>

#include "framework/network/KSFetchableURL.h"

namespace corvane {

using foundation::Value;

namespace {

std::optional<std::string> fetchableText(const Value& value) {
    const auto* text = value.string();
    if (!text)
        return std::nullopt;
    auto url = KSFetchableURL::fromString(*text);
    return url ? std::optional(url->absoluteString()) : std::nullopt;
}

bool hasText(const Value& value, const char* expected) {
    const auto* text = value.string();
    return text && *text == expected;
}

bool isHeaderView(const Value& view) {
    return hasText(view["class"], "DepictionHeaderView") ||
           hasText(view["class"], "DepictionSubheaderView");
}

// A title is plain text: every ASCII punctuation mark is escaped, so that "1.0.2" or "#3" reads
// as written.
std::string escapedMarkdown(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::ispunct(byte))
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// Header views title the entries of a changelog; as headings they also end one entry's list
// before the next, which would otherwise run on into one list.
std::string markdownOfView(const Value& view) {
    if (const auto* text = view["markdown"].string())
        return *text;
    const auto* title = view["title"].string();
    if (!title || title->empty() || !isHeaderView(view))
        return {};
    return "### " + escapedMarkdown(*title);
}

}  // namespace

void KSSileoDepiction::retrieveBannerURLFromSileoDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, bannerURL());
}

void KSSileoDepiction::retrieveChangelogFromSileoDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, changelog());
}

void KSSileoDepiction::retrieveDescriptionFromSileoDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, description());
}

void KSSileoDepiction::retrieveExternalChangelogFromSileoDepiction(
    KSDepictionTextCompletion completion) const {
    answerInBackground(completion, externalChangelogURL());
}

void KSSileoDepiction::retrieveScreenshotsFromSileoDepiction(
    KSDepictionURLsCompletion completion) const {
    answerInBackground(completion, screenshotURLs());
}

std::optional<std::string> KSSileoDepiction::bannerURL() const {
    return fetchableText(document_["headerImage"]);
}

std::optional<std::string> KSSileoDepiction::changelog() const {
    for (const auto* tab : tabs())
        if (isChangelogTab(*tab))
            return markdownOf(*tab);
    return std::nullopt;
}

std::optional<std::string> KSSileoDepiction::description() const {
    const Value* details = nullptr;
    for (const auto* tab : tabs()) {
        if (hasText((*tab)["tabname"], "Details"))
            return markdownOf(*tab);
        if (!details && !isChangelogTab(*tab))
            details = tab;
    }
    return details ? markdownOf(*details) : std::nullopt;
}

std::optional<std::string> KSSileoDepiction::externalChangelogURL() const {
    Views otherTabs;
    for (const auto* tab : tabs())
        if (!isChangelogTab(*tab))
            otherTabs.push_back(tab);
    for (const auto* view : viewsOf(otherTabs))
        if (hasText((*view)["title"], "Changelog"))
            if (auto url = fetchableText((*view)["action"]))
                return url;
    return std::nullopt;
}

std::vector<std::string> KSSileoDepiction::screenshotURLs() const {
    std::vector<std::string> urls;
    for (const auto* view : viewsOf(tabs()))
        for (const auto& screenshot : (*view)["screenshots"].array())
            if (auto url = fetchableText(screenshot["url"]))
                urls.push_back(std::move(*url));
    return urls;
}

KSSileoDepiction::Views KSSileoDepiction::tabs() const {
    Views tabs;
    if (!document_["tabs"].isArray()) {
        tabs.push_back(&document_);
        return tabs;
    }
    for (const auto& tab : document_["tabs"].array())
        if (tab.isDictionary())
            tabs.push_back(&tab);
    return tabs;
}

bool KSSileoDepiction::isChangelogTab(const Value& tab) {
    return hasText(tab["tabname"], "Changelog") || hasText(tab["tabname"], "Change Log");
}

void KSSileoDepiction::collectViews(const Value& container, Views& views) {
    for (const auto& view : container["views"].array()) {
        if (!view.isDictionary())
            continue;
        views.push_back(&view);
        collectViews(view, views);
    }
}

KSSileoDepiction::Views KSSileoDepiction::viewsOf(const Views& containers) {
    Views views;
    for (const auto* container : containers)
        collectViews(*container, views);
    return views;
}

std::optional<std::string> KSSileoDepiction::markdownOf(const Value& tab) {
    std::string markdown;
    for (const auto* view : viewsOf({&tab})) {
        const auto text = markdownOfView(*view);
        if (text.empty())
            continue;
        if (!markdown.empty())
            markdown += "\n\n";
        markdown += text;
    }
    return markdown.empty() ? std::nullopt : std::optional(markdown);
}

}  // namespace corvane
