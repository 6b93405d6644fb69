#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/depictions/KSDepictionCompletion.h"
#include "html/HTMLDocument.h"

namespace corvane {

// The changelog page that a native depiction links to when it has no changelog tab: the text of
// the first list of each "section" whose class names "content". The last of them wins, unless
// it is only the first release's note.
class KSExternalChangelog {
  public:
    static constexpr std::string_view kFirstReleaseText = "Initial release";

    // Nil when the page cannot be fetched or read, or has no changelog; exactly once, on a
    // global background queue.
    static void retrieve(std::string_view address, KSDepictionTextCompletion completion);
    static std::optional<std::string> changelogOf(const html::HTMLDocument& page);
};

}  // namespace corvane
