#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What the application delegate remembers between a notice and the tap that opens its subject.
// Shared by the presentations, the local notifications and the task completion; main thread.
struct KSDelegateState {
    // A news notification is outstanding.
    bool newsNotification = false;
    // A new-source-packages notification is outstanding.
    bool sourceNotification = false;
    // The developer whose new packages the panel's "Yes" lists.
    std::optional<std::string> developerToShow;
    // The packages a tap on the new-source-packages notification lists.
    std::vector<std::string> identifiersToShow;
};

}  // namespace corvane
