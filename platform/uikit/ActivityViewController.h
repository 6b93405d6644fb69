#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "foundation/Value.h"
#include "uikit/Button.h"
#include "uikit/Image.h"
#include "uikit/ViewController.h"

namespace uikit {

// Something to share: a value (a text, a URL's text) or an image.
using ActivityItem = std::variant<foundation::Value, std::shared_ptr<Image>>;

// The share sheet: the items and one button per activity the system offers, less the excluded
// ones, and a cancel button. A choice dismisses the sheet; the completion handler hears of it
// once the sheet has gone. On a pad the sheet is a popover, which wants an anchor.
class ActivityViewController : public ViewController {
  public:
    static constexpr const char* kActivityTypeCopyToPasteboard = "CopyToPasteboard";
    static constexpr const char* kActivityTypeMessage = "Message";
    static constexpr const char* kActivityTypeMail = "Mail";
    static constexpr const char* kActivityTypePrint = "Print";
    static constexpr const char* kActivityTypeAssignToContact = "AssignToContact";
    static constexpr const char* kActivityTypeSaveToCameraRoll = "SaveToCameraRoll";
    static constexpr const char* kActivityTypeAirDrop = "AirDrop";
    static constexpr const char* kActivityTypeOpenInIBooks = "OpenInIBooks";
    static constexpr const char* kActivityTypeMarkupAsPDF = "MarkupAsPDF";
    // The chosen activity (nullopt when cancelled) and whether it was carried out.
    using CompletionHandler =
        std::function<void(std::optional<std::string> activityType, bool completed)>;

    explicit ActivityViewController(std::vector<ActivityItem> items);

    const std::vector<ActivityItem>& activityItems() const { return items_; }
    const std::vector<std::string>& excludedActivityTypes() const { return excluded_; }
    void setExcludedActivityTypes(std::vector<std::string> types);
    void setCompletionWithItemsHandler(CompletionHandler handler) {
        completionHandler_ = std::move(handler);
    }
    // The activities the sheet offers, in the order it shows them.
    std::vector<std::string> availableActivityTypes() const;

    // The button a person taps for the activity (nullopt: the cancel button); null when the
    // sheet does not offer it.
    std::shared_ptr<Button> buttonForActivity(const std::optional<std::string>& activityType);

  protected:
    void loadView() override;

  private:
    void rebuildContent();
    void choose(std::optional<std::string> activityType);

    std::vector<ActivityItem> items_;
    std::vector<std::string> excluded_;
    CompletionHandler completionHandler_;
    std::vector<std::pair<std::optional<std::string>, std::shared_ptr<Button>>> buttons_;
    bool chosen_ = false;
};

}  // namespace uikit
