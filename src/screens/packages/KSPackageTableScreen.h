#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/cells/PackageCell.h"
#include "uikit/NibRegistry.h"
#include "uikit/ProgressView.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"
#include "uikit/View.h"

namespace corvane {

// What the screens that list package rows share. Their nib: a plain table over the whole screen,
// whose rows draw their own separators, and the task progress bar along its top; the table's
// wiring, its rows, and the swipe that goes back.
class KSPackageTableScreen {
  public:
    // Registers the nib of the name, with the screen's two outlets; again, it changes nothing.
    template <typename Screen>
    static void registerNib(const std::string& name,
                            std::shared_ptr<uikit::TableView> Screen::*table,
                            std::shared_ptr<uikit::ProgressView> Screen::*progressBar) {
        uikit::NibRegistry::shared().registerNib(
            name, [table, progressBar](const std::shared_ptr<uikit::ViewController>& owner) {
                auto nib = make(true);
                if (auto screen = std::dynamic_pointer_cast<Screen>(owner)) {
                    (*screen).*table = nib.table;
                    (*screen).*progressBar = nib.progressBar;
                }
                return nib.root;
            });
    }
    // The same nib without the progress bar, for screens that start no tasks.
    template <typename Screen>
    static void registerNib(const std::string& name,
                            std::shared_ptr<uikit::TableView> Screen::*table) {
        uikit::NibRegistry::shared().registerNib(
            name, [table](const std::shared_ptr<uikit::ViewController>& owner) {
                auto nib = make(false);
                if (auto screen = std::dynamic_pointer_cast<Screen>(owner))
                    (*screen).*table = nib.table;
                return nib.root;
            });
    }

    // Makes the screen the table's data source and delegate, with package rows.
    template <typename Screen>
    static void connect(uikit::TableView& table, const std::shared_ptr<Screen>& screen) {
        table.setDelegate(std::weak_ptr<uikit::TableViewDelegate>(screen));
        table.setDataSource(std::weak_ptr<uikit::TableViewDataSource>(screen));
        table.registerNib(PackageCell::kNibName, PackageCell::kReuseIdentifier);
    }

    // A row to fill, transparent over the screen's background; null for a table that has no
    // package rows registered.
    static std::shared_ptr<PackageCell> dequeueRow(uikit::TableView& table,
                                                   const uikit::IndexPath& indexPath);

    // A right swipe on the screen's view calls its backSwipe().
    template <typename Screen>
    static void addBackSwipe(const std::shared_ptr<Screen>& screen) {
        addRightSwipe(*screen->view(), [weak = std::weak_ptr(screen)] {
            if (auto screen = weak.lock())
                screen->backSwipe();
        });
    }
    // Pops the screen from its navigation controller, animated.
    static void goBack(uikit::ViewController& screen);

  private:
    struct Views {
        std::shared_ptr<uikit::View> root;
        std::shared_ptr<uikit::TableView> table;
        std::shared_ptr<uikit::ProgressView> progressBar;
    };
    static Views make(bool withProgressBar);
    static void addRightSwipe(uikit::View& view, std::function<void()> action);
};

}  // namespace corvane
