#include "ui/cells/KSCellNibs.h"

#include "ui/cells/AllReviewsCell.h"
#include "ui/cells/BigFeaturedCell.h"
#include "ui/cells/CategoriesCell.h"
#include "ui/cells/DeveloperCell.h"
#include "ui/cells/GenericCell.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/cells/NewsCell.h"
#include "ui/cells/PackageCell.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/cells/ScreenshotsCell.h"
#include "ui/cells/SearchCell.h"
#include "ui/cells/SourcesCell.h"
#include "ui/cells/TasksCell.h"

namespace corvane {

void KSCellNibs::registerNibs() {
    PackageCell::registerNib();
    GetPackageCell::registerNib();
    TasksCell::registerNib();
    SearchCell::registerNib();
    BigFeaturedCell::registerNib();
    CategoriesCell::registerNib();
    NewsCell::registerNib();
    ReviewsCell::registerNib();
    AllReviewsCell::registerNib();
    SourcesCell::registerNib();
    DeveloperCell::registerNib();
    ScreenshotsCell::registerNib();
    GenericCell::registerNib();
}

}  // namespace corvane
