#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "framework/webservice/KSNewsItem.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/Button.h"
#include "uikit/Label.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// The maker's news, one row per item, newest as the service orders them. Presented on its own:
// it shows the items of the last fetch at once, fetches them again each time it appears, and
// its "Done" button closes it.
class NewsViewController : public KSPalettedViewController,
                           public uikit::TableViewDataSource,
                           public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "NewsViewController";
    static constexpr const char* kReuseIdentifier = "news";
    static constexpr double kEstimatedRowHeight = 120;

    NewsViewController();

    const std::vector<KSNewsItem>& news() const { return news_; }

    // Outlets, set by the nib.
    std::shared_ptr<uikit::Label> titleLbl;
    std::shared_ptr<uikit::Button> doneBtn;
    std::shared_ptr<uikit::TableView> newsTableView;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    void showNews();

    std::vector<KSNewsItem> news_;
};

}  // namespace corvane
