#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "foundation/Localization.h"
#include "uikit/Button.h"
#include "uikit/CollectionView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/View.h"

namespace corvane {

// Adds the views of the package page's sections to its content view, one after the other, and
// ties them with constraints. Views of a section that goes away keep low-priority fallbacks that
// fold them, at no height, under what stands above the section.
class PackageSectionBuilder {
  public:
    using Constraint = std::shared_ptr<uikit::LayoutConstraint>;

    static constexpr double kMargin = 16;
    static constexpr double kCaptionWidth = 140;
    static constexpr double kTitleHeight = 25;
    // Between the items of a strip.
    static constexpr double kLineSpacing = 20;

    explicit PackageSectionBuilder(uikit::View& content) : content_(content) {}

    uikit::View& content() { return content_; }

    template <typename T, typename... Arguments>
    std::shared_ptr<T>& add(std::shared_ptr<T>& outlet, Arguments&&... arguments) {
        outlet = std::make_shared<T>(std::forward<Arguments>(arguments)...);
        outlet->setTranslatesAutoresizingMaskIntoConstraints(false);
        content_.addSubview(outlet);
        return outlet;
    }
    std::shared_ptr<uikit::Label>& label(std::shared_ptr<uikit::Label>& outlet,
                                         const std::string& text, const uikit::Font& font,
                                         int lines = 1);
    std::shared_ptr<uikit::Label>& title(std::shared_ptr<uikit::Label>& outlet,
                                         const std::string& text);
    std::shared_ptr<uikit::View>& separator(std::shared_ptr<uikit::View>& outlet);
    // A text button of the page: its title takes the tint, as a system button's does.
    std::shared_ptr<uikit::Button>& button(std::shared_ptr<uikit::Button>& outlet,
                                           const std::string& title);
    // A horizontal strip on a clear background.
    void collection(std::shared_ptr<uikit::CollectionView>& outlet);

    static Constraint on(Constraint constraint);
    static Constraint off(Constraint constraint) { return constraint; }
    // Holds only while the constraints the page switches are off.
    static void fallback(Constraint constraint);
    // Folds the view at no height under the anchor once its own constraints are off.
    static void folds(uikit::View& view, const uikit::LayoutAnchor& under);
    static Constraint below(uikit::View& view, const uikit::LayoutAnchor& anchor, double constant);
    // The layout's switches, pass after pass.
    static void setActive(std::initializer_list<Constraint> constraints, bool active);
    static void setHidden(std::initializer_list<uikit::View*> views, bool hidden);
    // Switches the constraint on at the spacing.
    static void attach(const Constraint& constraint, double constant);
    void wide(uikit::View& view);
    void leading(uikit::View& view, double x, double width);
    void trailing(uikit::View& view, double width);
    // A caption and its value on one row, closed by a separator under the taller of the two.
    void row(std::shared_ptr<uikit::Label>& caption, std::shared_ptr<uikit::Label>& value,
             std::shared_ptr<uikit::View>& rowSeparator, const std::string& text,
             const uikit::LayoutAnchor& under);

  private:
    uikit::View& content_;
};

}  // namespace corvane
