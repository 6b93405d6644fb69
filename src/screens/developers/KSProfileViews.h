#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/palette/KSPalette.h"
#include "uikit/Button.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/View.h"

namespace corvane {

// What the contact page and the developer page are made of: a rounded picture, the name, a
// line of detail under it, and a column of wide buttons, one per thing the person can reach.
struct KSProfileViews {
    static constexpr double kAvatarSize = 96;
    static constexpr double kAvatarCornerRatio = 0.2237;

    std::shared_ptr<uikit::View> root;
    std::shared_ptr<uikit::ImageView> avatar;
    std::shared_ptr<uikit::Label> nameLbl;
    std::shared_ptr<uikit::Label> detailLbl;
    std::vector<std::shared_ptr<uikit::Button>> buttons;

    // One button per title, in order.
    static KSProfileViews build(const std::vector<std::string>& buttonTitles);
    // The detail at the height its text needs, then the buttons that are not hidden one under
    // another, with no gap where a hidden one would be.
    static void arrange(uikit::Label& detail,
                        const std::vector<std::shared_ptr<uikit::Button>>& buttons);
    // A tap on the button calls the screen's action while the screen is alive.
    template <typename Screen>
    static void onTap(uikit::Button& button, const std::shared_ptr<Screen>& screen,
                      void (Screen::*action)()) {
        button.addAction(
            [weak = std::weak_ptr(screen), action](uikit::Control&) {
                if (auto self = weak.lock())
                    ((*self).*action)();
            },
            uikit::ControlEvent::touchUpInside);
    }
    static void applyPalette(const KSPalette& palette, uikit::ImageView& avatar, uikit::Label& name,
                             uikit::Label& detail,
                             const std::vector<std::shared_ptr<uikit::Button>>& buttons);
};

}  // namespace corvane
