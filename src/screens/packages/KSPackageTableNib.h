#pragma once

#include <memory>

#include "uikit/ProgressView.h"
#include "uikit/TableView.h"
#include "uikit/View.h"

namespace corvane {

// What the nibs of the package list screens hold: a plain table over the whole screen, whose
// rows draw their own separators, and the task progress bar along its top.
struct KSPackageTableNib {
    std::shared_ptr<uikit::View> root;
    std::shared_ptr<uikit::TableView> table;
    std::shared_ptr<uikit::ProgressView> progressBar;

    static KSPackageTableNib make();
};

}  // namespace corvane
