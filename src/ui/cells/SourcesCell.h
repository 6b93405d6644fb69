#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/TableViewCell.h"

namespace corvane {

// A row of the source management list; the list fills it. The two texts may be set from any
// thread.
class SourcesCell : public uikit::TableViewCell {
  public:
    static constexpr const char* kNibName = "SourcesCell";
    static constexpr double kRowHeight = 96;

    SourcesCell() = default;
    // Makes the nib "SourcesCell" known; later calls change nothing.
    static void registerNib();

    std::optional<std::string> regenDate() const;
    void setRegenDate(std::optional<std::string> date);
    std::optional<std::string> sourceLocation() const;
    void setSourceLocation(std::optional<std::string> location);

    // Outlets, set by the nib.
    std::shared_ptr<uikit::ImageView> iconView;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> descriptionLbl;
    std::shared_ptr<uikit::View> containerView;
    std::shared_ptr<uikit::ImageView> installedPackagesImgView;
    std::shared_ptr<uikit::Label> installedPackagesLbl;
    std::shared_ptr<uikit::ImageView> totalPackagesImgView;
    std::shared_ptr<uikit::Label> totalPackagesLbl;
    std::shared_ptr<uikit::ImageView> lastRepoRegenImgView;
    std::shared_ptr<uikit::Label> lastRepoRegenLbl;
    std::shared_ptr<uikit::View> separator;

  private:
    static std::shared_ptr<uikit::View> build(const std::shared_ptr<uikit::ViewController>&);

    mutable std::mutex mutex_;
    std::optional<std::string> regenDate_;
    std::optional<std::string> sourceLocation_;
};

}  // namespace corvane
