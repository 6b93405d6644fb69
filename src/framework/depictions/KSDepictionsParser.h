#pragma once

#include <cstddef>
#include <memory>

#include "foundation/Value.h"
#include "framework/depictions/KSHTMLDepiction.h"
#include "framework/depictions/KSSileoDepiction.h"
#include "html/HTMLDocument.h"

namespace corvane {

// Turns fetched depiction bytes into a parsed depiction. Every load gives a depiction of its
// own, and the retrieves are asked of that depiction, so pages that load at the same time never
// read each other's document. The parser itself keeps nothing.
class KSDepictionsParser {
  public:
    // A larger document is treated as malformed rather than parsed.
    static constexpr std::size_t kMaximumDocumentBytes = std::size_t{4} << 20;

    static KSDepictionsParser& instance();

    // An HTML depiction page; one that cannot be parsed answers nil and empty lists.
    std::shared_ptr<const KSHTMLDepiction> depictionsParserWithData(
        const foundation::Bytes& data) const;
    // A native JSON depiction; a malformed one answers nil and empty lists.
    std::shared_ptr<const KSSileoDepiction> depictionsParserWithSileoData(
        const foundation::Bytes& data) const;

    // Any page from outside as an HTML document; null when it is too large to parse.
    static std::shared_ptr<const html::HTMLDocument> parseHTML(const foundation::Bytes& data);
};

}  // namespace corvane
