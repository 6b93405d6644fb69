#pragma once

#include <memory>
#include <string>

#include "uikit/Label.h"
#include "uikit/View.h"

namespace uikit {

// A section header or footer with a title and a detail text, each label made on first use.
class TableViewHeaderFooterView : public View {
  public:
    static constexpr double kInset = 15;

    explicit TableViewHeaderFooterView(std::string reuseIdentifier = {});

    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    const std::shared_ptr<View>& contentView() const { return contentView_; }
    const std::shared_ptr<Label>& textLabel();
    const std::shared_ptr<Label>& detailTextLabel();

    virtual void prepareForReuse() {}
    // Called once after a nib builder has made the view.
    virtual void awakeFromNib() {}

    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    // A tint given to the view itself fills it where no background colour does, as a plain
    // table's headers show it.
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return "TableViewHeaderFooterView"; }

  private:
    template <typename>
    friend class ReusePool;
    std::string reuseIdentifier_;
    std::shared_ptr<View> contentView_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
};

}  // namespace uikit
