#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "foundation/DeviceRoot.h"
#include "foundation/ProcessState.h"
#include "support/TempDeviceRoot.h"
#include "ui/cells/KSCellNibs.h"
#include "ui/cells/PackageCell.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/NibRegistry.h"
#include "uikit/ViewController.h"

namespace corvane {
namespace {

class IdleServices : public KSApplicationServices {
  public:
    void queuePackageWithIdentifier(const std::string&, const std::optional<std::string>&,
                                    const std::shared_ptr<uikit::View>&) override {}
    void presentOptions(const std::string&, const std::shared_ptr<uikit::View>&) override {}
    void sharePackage(const std::string&, const std::shared_ptr<uikit::View>&) override {}
    void presentViewController(const std::shared_ptr<uikit::ViewController>&,
                               const std::shared_ptr<uikit::BarButtonItem>&) override {}
};

TEST(ProcessReset, TheInterfaceForgetsWhatATestRegisteredAndShowsTheStyleOfItsSettings) {
    testing_support::TempDeviceRoot root;
    KSScreenFactory::registerScreen(KSScreenFactory::Screen::news, [](const auto&) {
        return std::make_shared<uikit::ViewController>();
    });
    auto services = std::make_shared<IdleServices>();
    KSApplicationServices::registerServices(services);
    KSCellNibs::registerNibs();
    ASSERT_TRUE(KSPaletteManager::sharedPaletteManager().setActiveStyle(KSPalette::kOLED));

    ASSERT_TRUE(foundation::ProcessState::reset());
    foundation::DeviceRoot::set(root.path());
    EXPECT_EQ(KSScreenFactory::make(KSScreenFactory::Screen::news), nullptr);
    EXPECT_EQ(KSApplicationServices::shared(), nullptr) << "still alive, but no longer registered";
    EXPECT_FALSE(uikit::NibRegistry::shared().contains(PackageCell::kNibName));
    EXPECT_EQ(KSPaletteManager::getActiveStyle(), KSPalette::kLight);

    // What is registered again works again.
    KSCellNibs::registerNibs();
    EXPECT_TRUE(uikit::NibRegistry::shared().contains(PackageCell::kNibName));
}

}  // namespace
}  // namespace corvane
