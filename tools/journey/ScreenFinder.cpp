#include "ScreenFinder.h"

#include <algorithm>

#include "uikit/Button.h"
#include "uikit/Label.h"
#include "uikit/View.h"

namespace corvane::journey {

namespace {

bool reads(const uikit::View& view, const std::string& title) {
    if (const auto* button = dynamic_cast<const uikit::Button*>(&view))
        return button->currentTitle() == title;
    if (const auto* label = dynamic_cast<const uikit::Label*>(&view))
        return label->text() == title;
    return false;
}

// In drawing order: a view after its superview and after the subviews before it.
void collect(const std::shared_ptr<uikit::View>& view, const std::string& title,
             std::vector<std::shared_ptr<uikit::View>>& found) {
    if (view->isHidden() || view->alpha() < uikit::View::kInvisibleAlpha)
        return;
    if (reads(*view, title))
        found.push_back(view);
    for (const auto& subview : view->subviews())
        collect(subview, title, found);
}

}  // namespace

std::vector<std::shared_ptr<uikit::View>> ScreenFinder::viewsReading(
    const std::shared_ptr<uikit::View>& root, const std::string& title) {
    std::vector<std::shared_ptr<uikit::View>> found;
    if (root)
        collect(root, title, found);
    std::reverse(found.begin(), found.end());
    return found;
}

bool ScreenFinder::isReachable(const std::shared_ptr<uikit::View>& root,
                               const std::shared_ptr<uikit::View>& view) {
    const auto center = view->convertPointTo(view->bounds().center(), root.get());
    const auto hit = root->hitTest(center);
    return hit &&
           (hit == view || hit->isDescendantOf(view.get()) || view->isDescendantOf(hit.get()));
}

}  // namespace corvane::journey
