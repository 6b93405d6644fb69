#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Value.h"
#include "ui/palette/KSPalette.h"
#include "uikit/BarButtonItem.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/View.h"

namespace corvane {

// What the navigation bar shows once the package page's header has scrolled away: the
// package's icon as the title and a Get button of its own. Main thread.
class PackageCompactTitle {
  public:
    // The title view the navigation item had is kept to be put back.
    void build(const std::string& identifier, const foundation::Value::Dictionary& package,
               const std::optional<KSPalette>& palette,
               std::shared_ptr<uikit::View> defaultTitleView);
    void setGetTitle(const std::string& title, bool enabled);
    void setGetAlpha(double alpha);
    void setTitleAlpha(double alpha);

    const std::shared_ptr<uikit::Button>& getBarBtn() const { return getBarBtn_; }
    const std::shared_ptr<uikit::BarButtonItem>& getBarBtnItem() const { return getBarBtnItem_; }
    const std::shared_ptr<uikit::View>& customTitleView() const { return customTitleView_; }
    const std::shared_ptr<uikit::View>& defaultTitleView() const { return defaultTitleView_; }

  private:
    std::shared_ptr<uikit::View> defaultTitleView_;
    std::shared_ptr<uikit::View> customTitleView_;
    std::shared_ptr<uikit::ImageView> titleViewImgView_;
    std::shared_ptr<uikit::Button> getBarBtn_;
    std::shared_ptr<uikit::BarButtonItem> getBarBtnItem_;
};

}  // namespace corvane
