#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Image.h"

namespace corvane {

// The stored sources: adding, refreshing, and their icons.
class KSRSources {
  public:
    // When addSourceWithLocation refuses an address, KSRSourceUpdatedNotification carries in its
    // user info the reason under kRefusalKey (one of the values below) and a localised text
    // under kMessageKey; its object is the normalised address, or the address as given.
    static constexpr const char* kRefusalKey = "refusal";
    static constexpr const char* kMessageKey = "message";
    static constexpr const char* kRefusalInvalidAddress = "invalidAddress";
    static constexpr const char* kRefusalDuplicate = "duplicate";
    // A plain http address without the user's approval; adding it again with approval works.
    static constexpr const char* kRefusalNeedsHttpApproval = "needsHttpApproval";

    // Normalises the address, refuses it when it is no http or https address, when the source
    // is stored already (over http or https) or when it is plain http without approval;
    // otherwise stores the source and asks the package engine to refresh it. The outcome
    // reaches observers through KSRSourceUpdatedNotification on the main thread: a refusal
    // posts it on the next turn, a stored source when its refresh ends. The caller also gets
    // the refusal at once (nothing when the source was stored): a notification of the same
    // address may be another caller's.
    std::optional<std::string> addSourceWithLocation(const std::string& address, bool httpApproval);
    // The localised text of a refusal, as kMessageKey carries it.
    static std::string refusalMessage(const std::string& refusal);
    // The source's cached icon, or null when there is none.
    std::shared_ptr<uikit::Image> iconForLocation(const std::string& location) const;
    // False and nothing done when the first-run setup is not done (preference setupDone) or the
    // network is unreachable; else true, and every source's refresh starts on a background
    // queue.
    bool refreshAllSources();

    // Stores the sources that are missing, without refreshing them; true when any was added.
    bool addMissingSources(const std::vector<std::string>& locations);
    bool isEmpty() const;
    // The least recent refresh of all sources; nothing when a source was never refreshed or
    // there is none.
    std::optional<double> oldestRefreshDate() const;
    std::vector<std::string> allLocations() const;
    // Marks a stored source as failing, with the reason the user reads on its page; the next
    // successful refresh clears it.
    static void recordError(const std::string& location, const std::string& description);

  private:
    std::optional<std::string> refusal(const std::optional<std::string>& location,
                                       bool httpApproval) const;
    static void postRefusal(const std::string& object, const std::string& refusal);
};

}  // namespace corvane
