#include <gtest/gtest.h>

#include "DevicePose.h"
#include "uikit/Color.h"
#include "uikit/Device.h"
#include "uikit/Geometry.h"
#include "uikit/ImpactFeedbackGenerator.h"
#include "uikit/Label.h"
#include "uikit/NibRegistry.h"
#include "uikit/Pasteboard.h"
#include "uikit/Screen.h"

namespace {

using namespace uikit;

TEST(Platform, DeviceScreenAndPasteboardAreSettable) {
    uikit_testing::DevicePose pose;
    Device& device = Device::current();
    EXPECT_TRUE(device.systemVersionAtLeast("13.0"));
    device.setSystemVersion("12.4");
    EXPECT_FALSE(device.systemVersionAtLeast("13.0"));
    device.setSystemVersion("13.10");
    EXPECT_TRUE(device.systemVersionAtLeast("13.9"));
    device.setUserInterfaceIdiom(UserInterfaceIdiom::pad);
    EXPECT_EQ(device.userInterfaceIdiom(), UserInterfaceIdiom::pad);

    Screen::main().setScale(3);
    EXPECT_EQ(Screen::main().scale(), 3);
    Screen::main().setScale(0);
    EXPECT_EQ(Screen::main().scale(), 3);

    Pasteboard::general().setString(std::nullopt);
    EXPECT_FALSE(Pasteboard::general().hasStrings());
    Pasteboard::general().setString("deb https://repo.example.org/ ./");
    EXPECT_EQ(Pasteboard::general().string(), "deb https://repo.example.org/ ./");
    Pasteboard::general().setString(std::nullopt);

    ImpactFeedbackGenerator light(ImpactFeedbackStyle::light);
    light.impactOccurred();
    EXPECT_EQ(ImpactFeedbackGenerator::impactCount(ImpactFeedbackStyle::light), 1);
    EXPECT_EQ(ImpactFeedbackGenerator::impactCount(ImpactFeedbackStyle::heavy), 0);
}

TEST(Platform, NibsBuildFreshViewTrees) {
    NibRegistry::shared().registerNib("Title", [](const auto&) {
        auto label = std::make_shared<Label>();
        label->setText("Title");
        return label;
    });
    auto first = NibRegistry::shared().instantiate("Title");
    auto second = NibRegistry::shared().instantiate("Title");
    ASSERT_TRUE(first);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->describe(), "Label \"Title\"\n");
    EXPECT_EQ(NibRegistry::shared().instantiate("Unknown"), nullptr);
}

TEST(Platform, ColoursClampCompareAndPrint) {
    EXPECT_EQ(Color::systemBlue().toString(), "#007AFF");
    EXPECT_EQ(Color::lightText().toString(), "#FFFFFF99");
    EXPECT_EQ(Color(1.5, -1, std::nan(""), 2), Color(1, 0, 0, 1));
    EXPECT_EQ(Color::lightGray(), Color::white(2.0 / 3));
    EXPECT_NE(Color::clear(), Color::black());
    EXPECT_LT(IndexPath::forRow(9, 0), IndexPath::forRow(0, 1));
    EXPECT_EQ(Rect(0, 0, 10, 10).intersection({5, 5, 10, 10}), Rect(5, 5, 5, 5));
    EXPECT_TRUE(Rect(0, 0, 10, 10).intersection({20, 20, 1, 1}).isEmpty());
}

}  // namespace
