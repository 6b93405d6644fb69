#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/storage/KSRSource.h"
#include "screens/sources/KSSourceAddition.h"
#include "screens/sources/KSSourceChangeObserver.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"
#include "uikit/TextField.h"

namespace corvane {

// The page of one source: its icon, name, address and description, whether it is refreshing,
// the error of its last refresh or when that ended, and its packages by name; a row opens the
// package's page, or its web depiction when the source asks for the original depictions. The
// page follows the source's refreshes while it is shown.
//
// Without a location it is the page that adds a source: the person types an address and taps
// "Add Source"; a plain http address is added only once approved, a refusal shows its own
// message under the field, and once the new source has been refreshed the page becomes that
// source's page.
class SourceViewController : public KSPalettedViewController,
                             public uikit::TableViewDataSource,
                             public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "SourceViewController";

    SourceViewController();

    const std::optional<std::string>& sourceLocation() const { return sourceLocation_; }
    // The source's primary key; nothing for the page that adds a source.
    void setSourceLocation(std::optional<std::string> location);
    bool isPresented() const { return isPresented_; }
    // Shown modally in a navigation controller of its own, so it carries a "Close" button; set
    // before the view loads.
    void setIsPresented(bool presented) { isPresented_ = presented; }
    // The address typed or given is being added.
    bool isAdding() const { return addition_ != nullptr; }
    // Adds the source at the address as if the person had typed it and tapped "Add Source".
    void addSource(const std::string& address);
    // The identifiers of the rows.
    const std::vector<std::string>& packages() const { return packages_; }

    // Outlets, set by the nib.
    std::shared_ptr<uikit::TableView> sourceTableView;
    std::shared_ptr<uikit::View> sourceHeaderView;
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> locationLbl;
    std::shared_ptr<uikit::Label> descriptionLbl;
    std::shared_ptr<uikit::Label> stateLbl;
    std::shared_ptr<uikit::View> addSourceView;
    std::shared_ptr<uikit::TextField> addressField;
    std::shared_ptr<uikit::Button> addBtn;
    std::shared_ptr<uikit::Label> messageLbl;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(uikit::TableView& tableView,
                                                       int section) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void willDisplayHeaderView(uikit::TableView& tableView, uikit::View& view,
                               int section) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<SourceViewController> self();
    void addCloseButton();
    void connectAddSourceForm();
    void observeSource();
    void showSource();
    void showAddSourceForm();
    void showStoredSource(const KSRSource& source);
    void showState(const KSRSource& source);
    void layoutSourceHeader();
    void addTypedSource();
    void additionEnded(KSSourceAddition::Outcome outcome, const std::string& message);

    std::optional<std::string> sourceLocation_;
    bool isPresented_ = false;
    std::vector<std::string> packages_;
    std::shared_ptr<KSSourceAddition> addition_;
    std::shared_ptr<uikit::ViewController> packageViewController_;
    KSSourceChangeObserver sourceChanges_;
};

}  // namespace corvane
