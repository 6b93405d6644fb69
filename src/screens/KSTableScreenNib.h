#pragma once

#include <memory>
#include <string>
#include <utility>

#include "uikit/NibRegistry.h"
#include "uikit/TableView.h"
#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace corvane {

// The nib of a screen that is one table over its whole view, whose rows draw their own
// separators.
class KSTableScreenNib {
  public:
    // Registers the nib of the name with the screen's table outlet; again, it changes nothing.
    template <typename Screen>
    static void registerNib(const std::string& name,
                            std::shared_ptr<uikit::TableView> Screen::*table) {
        uikit::NibRegistry::shared().registerNib(
            name, [table](const std::shared_ptr<uikit::ViewController>& owner) {
                auto [root, made] = make();
                if (auto screen = std::dynamic_pointer_cast<Screen>(owner))
                    (*screen).*table = made;
                return root;
            });
    }

    // The root view and its table, for a nib that adds views of its own.
    static std::pair<std::shared_ptr<uikit::View>, std::shared_ptr<uikit::TableView>> make();
};

}  // namespace corvane
