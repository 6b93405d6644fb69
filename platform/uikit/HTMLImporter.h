#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "foundation/URL.h"
#include "uikit/AttributedString.h"
#include "uikit/Font.h"

namespace uikit {

// Attributed text from HTML as descriptions and change logs carry it: paragraphs, line breaks,
// headings (bold, sized as browsers size them), lists with "•" or numbers, links, emphasis,
// code and preformatted text, quotes, and the font-family, font-size, color and text-align of
// style attributes. White space collapses as HTML collapses it. Nested lists and quotes move
// their paragraphs in through the paragraph style's head indents, a level at a time.
//
// The HTML comes from outside: nothing is fetched (images are left out), nothing runs (script,
// style and other embedded content is dropped), links to javascript:, vbscript:, data: and file:
// lose their link, and input above kMaximumBytes is refused. Bold and italic keep the element's
// font family, together as bold italic where both apply.
class HTMLImporter {
  public:
    static constexpr std::size_t kMaximumBytes = std::size_t{512} << 10;

    const Font& defaultFont() const { return defaultFont_; }
    void setDefaultFont(Font font) { defaultFont_ = std::move(font); }
    // Relative links are resolved against it; without it they lose their link.
    const std::optional<foundation::URL>& baseURL() const { return baseURL_; }
    void setBaseURL(std::optional<foundation::URL> url) { baseURL_ = std::move(url); }

    // Nothing for input above kMaximumBytes or when the parser cannot start. May be called from
    // any thread.
    std::optional<AttributedString> attributedString(std::string_view html) const;

  private:
    Font defaultFont_ = Font::systemFont(12);
    std::optional<foundation::URL> baseURL_;
};

}  // namespace uikit
