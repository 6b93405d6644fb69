#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ui/cells/SearchCellDelegate.h"
#include "uikit/AlertController.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A row of the developer search, followed-developer, credits, store and online-repository
// lists, with a button that follows or unfollows the developer and confirms it briefly.
class SearchCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "SearchCell";
    static constexpr double kConfirmationSeconds = 0.1;

    SearchCell() = default;
    // Makes the nib "SearchCell" known; later calls change nothing.
    static void registerNib();

    const std::optional<std::string>& developerName() const { return developerName_; }
    void setDeveloperName(std::optional<std::string> name);
    std::shared_ptr<SearchCellDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<SearchCellDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // Follows or unfollows the developer, shows "Followed" or "Unfollowed" for a moment and
    // tells the delegate. The state is read from the store, except right after this row changed
    // it, as the store records a change only a little later.
    void changeFollowState();
    static void dismissAlertController(const std::shared_ptr<uikit::AlertController>& alert);

    void prepareForReuse() override;

    // Kept for the screens that colour the row.
    std::optional<uikit::Color> previousColorToRestore;

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> subinfoLbl;
    std::shared_ptr<uikit::Button> followBtn;
    std::shared_ptr<uikit::View> separator;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);
    void confirm(const std::string& title);

    std::optional<std::string> developerName_;
    std::weak_ptr<SearchCellDelegate> delegate_;
    // What this row last set for developerName_.
    std::optional<bool> followedHere_;
};

}  // namespace corvane
