#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/URL.h"
#include "html/HTMLDocument.h"

namespace corvane {

// The BigBoss depiction page, the package's "website":
//   name         the text of "#name", else of the first "h1"
//   description  the text of "#description", else of ".description"
//   changelog    the text of "#changelog", else of ".changelog"
//   screenshots  the "src" of every "img" in "#screenshots" or ".screenshots", in page order,
//                resolved against the page address
class KSBigBossLayout {
  public:
    static std::optional<std::string> name(const html::HTMLDocument& page);
    static std::optional<std::string> description(const html::HTMLDocument& page);
    static std::optional<std::string> changelog(const html::HTMLDocument& page);
    static std::vector<std::string> screenshots(const html::HTMLDocument& page,
                                                const foundation::URL& pageURL);
};

}  // namespace corvane
