// Views drawn as a person would see them: what shows, what is hidden, in which order, at which
// scale, and the image written to a file.
#include "uikit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "DevicePose.h"
#include "support/Pixels.h"
#include "support/TempDeviceRoot.h"
#include "uikit/ImageView.h"
#include "uikit/ScrollView.h"

namespace {

using namespace uikit;
using testing_support::colorAt;
using testing_support::describe;
using testing_support::near;

std::shared_ptr<View> box(const Rect& frame, std::optional<Color> color) {
    auto view = std::make_shared<View>(frame);
    view->setBackgroundColor(color);
    return view;
}

TEST(ViewRenderer, AClippedRoundedParentLeavesItsCornersTransparent) {
    auto root = box({0, 0, 100, 100}, std::nullopt);
    auto parent = box({0, 0, 100, 100}, std::nullopt);
    parent->layer().setCornerRadius(30);
    parent->setClipsToBounds(true);
    parent->addSubview(box({-10, -10, 120, 120}, Color::systemRed()));
    root->addSubview(parent);

    auto image = ViewRenderer::imageOfView(*root, 1);
    ASSERT_EQ(image->pixelWidth(), 100);
    EXPECT_EQ(colorAt(*image, 1, 1).alpha(), 0) << "top left corner";
    EXPECT_EQ(colorAt(*image, 98, 98).alpha(), 0) << "bottom right corner";
    EXPECT_EQ(colorAt(*image, 98, 1).alpha(), 0);
    EXPECT_EQ(colorAt(*image, 50, 50), Color::systemRed());
    EXPECT_EQ(colorAt(*image, 50, 0), Color::systemRed()) << "the edges between the corners";
    EXPECT_EQ(colorAt(*image, 0, 50), Color::systemRed());

    parent->setClipsToBounds(false);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 1, 1), Color::systemRed()) << "unclipped, the child covers it";

    // A view's own content is clipped too: a rounded icon shows no square corners.
    auto icon = std::make_shared<ImageView>(Image::withColor(Color::systemRed(), {100, 100}));
    icon->setFrame({0, 0, 100, 100});
    icon->layer().setCornerRadius(30);
    icon->setClipsToBounds(true);
    image = ViewRenderer::imageOfView(*icon, 1);
    EXPECT_EQ(colorAt(*image, 1, 1).alpha(), 0) << "the icon's top left corner";
    EXPECT_EQ(colorAt(*image, 98, 98).alpha(), 0);
    EXPECT_EQ(colorAt(*image, 50, 50), Color::systemRed());
}

TEST(ViewRenderer, HiddenAndTransparentViewsDrawNothingOfThemselvesOrTheirSubviews) {
    auto root = box({0, 0, 80, 20}, Color::white());
    auto hidden = box({0, 0, 20, 20}, Color::systemRed());
    hidden->setHidden(true);
    auto transparent = box({20, 0, 20, 20}, Color::systemRed());
    transparent->setAlpha(0);
    auto inside = box({40, 0, 20, 20}, std::nullopt);
    inside->setHidden(true);
    // Below the threshold of what a person can see, as describing and touching have it.
    auto faint = box({60, 0, 20, 20}, Color::systemRed());
    faint->setAlpha(0.009);
    for (const auto& parent : {hidden, transparent, inside, faint})
        parent->addSubview(box({0, 0, 20, 20}, Color::systemBlue()));
    for (const auto& parent : {hidden, transparent, inside, faint})
        root->addSubview(parent);

    auto image = ViewRenderer::imageOfView(*root, 1);
    for (double x : {10, 30, 50, 70})
        EXPECT_EQ(colorAt(*image, x, 10), Color::white()) << x;

    hidden->setHidden(false);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 10, 10), Color::systemBlue());

    root->setHidden(true);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 10, 10).alpha(), 0) << "not even its own background";
}

TEST(ViewRenderer, AlphaFadesAViewAndItsSubviewsAsOne) {
    auto root = box({0, 0, 20, 20}, Color::white());
    auto faded = box({0, 0, 20, 20}, Color::systemBlue());
    faded->setAlpha(0.5);
    faded->addSubview(box({0, 0, 10, 20}, Color::black()));
    root->addSubview(faded);

    auto image = ViewRenderer::imageOfView(*root, 1);
    Color half = Color::white(0.5);
    EXPECT_TRUE(near(colorAt(*image, 5, 10), half))
        << "black over blue at half strength, not blue showing through: "
        << describe(colorAt(*image, 5, 10));
    Color blueHalf{(1 + 0 / 255.0) / 2, (1 + 122 / 255.0) / 2, 1};
    EXPECT_TRUE(near(colorAt(*image, 15, 10), blueHalf)) << describe(colorAt(*image, 15, 10));
}

TEST(ViewRenderer, SubviewsDrawInOrderWhereTheirFramesAndTransformsPutThem) {
    auto root = box({0, 0, 100, 100}, Color::white());
    auto below = box({10, 10, 40, 40}, Color::systemRed());
    auto above = box({30, 30, 40, 40}, Color::systemBlue());
    root->addSubview(below);
    root->addSubview(above);
    auto image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 40, 40), Color::systemBlue());
    EXPECT_EQ(colorAt(*image, 15, 15), Color::systemRed());

    root->bringSubviewToFront(below.get());
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 40, 40), Color::systemRed());

    // Half size around its centre (50, 50): the box now covers 40...60.
    above->setTransform(AffineTransform::makeScale(0.5, 0.5));
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 55, 55), Color::systemBlue());
    EXPECT_EQ(colorAt(*image, 65, 65), Color::white());

    auto nested = box({10, 10, 20, 20}, Color::systemGreen());
    above->addSubview(nested);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 52, 52), Color::systemGreen()) << "scaled with its superview";
    EXPECT_EQ(colorAt(*image, 57, 57), Color::systemBlue());
}

TEST(ViewRenderer, AScrollViewShowsItsContentAtTheOffsetWithinItsBounds) {
    auto root = box({0, 0, 100, 100}, Color::white());
    auto scroll = std::make_shared<ScrollView>(Rect{0, 0, 100, 50});
    scroll->setContentSize({100, 200});
    scroll->addSubview(box({0, 60, 100, 20}, Color::systemRed()));
    root->addSubview(scroll);

    auto image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 50, 70), Color::white()) << "below the scroll view, clipped";
    scroll->setContentOffset({0, 50});
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 50, 15), Color::systemRed());
    EXPECT_EQ(colorAt(*image, 50, 35), Color::white());
}

TEST(ViewRenderer, ABorderFollowsTheCornersOverTheSubviews) {
    auto root = box({0, 0, 40, 40}, Color::white());
    auto framed = box({0, 0, 40, 40}, std::nullopt);
    framed->layer().setBorderWidth(4);
    framed->layer().setBorderColor(Color::systemGreen());
    framed->addSubview(box({0, 0, 40, 40}, Color::systemBlue()));
    root->addSubview(framed);

    auto image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 2, 20), Color::systemGreen());
    EXPECT_EQ(colorAt(*image, 20, 38), Color::systemGreen());
    EXPECT_EQ(colorAt(*image, 20, 20), Color::systemBlue());

    framed->layer().setBorderColor(std::nullopt);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 2, 20), Color::black()) << "a layer's border is black by default";
}

TEST(ViewRenderer, DrawsAtTheDevicesScaleAndLaysOutFirst) {
    uikit_testing::DevicePose pose;
    Screen::main().setScale(3);
    auto root = box({0, 0, 30, 20}, Color::white());
    auto image = ViewRenderer::imageOfView(*root);
    EXPECT_EQ(image->pixelWidth(), 90);
    EXPECT_EQ(image->pixelHeight(), 60);
    EXPECT_EQ(image->scale(), 3);

    class Stretching : public View {
      public:
        void layoutSubviews() override { subviews().front()->setFrame(bounds()); }
    };
    auto stretching = std::make_shared<Stretching>();
    stretching->setFrame({0, 0, 20, 20});
    stretching->addSubview(box({0, 0, 1, 1}, Color::systemRed()));
    stretching->setNeedsLayout();
    image = ViewRenderer::imageOfView(*stretching, 1);
    EXPECT_EQ(colorAt(*image, 15, 15), Color::systemRed()) << "the pending layout came first";
}

TEST(ViewRenderer, WritesAPNGThatOpensAgainAndRefusesAViewOfNoArea) {
    testing_support::TempDeviceRoot folder;
    auto root = box({0, 0, 30, 20}, Color::systemOrange());
    std::string path = folder.path() + "/screen.png";
    ASSERT_TRUE(ViewRenderer::writePNG(*root, path, 2));
    auto image = Image::fromFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 60);
    EXPECT_EQ(image->pixelAt(59, 39), Color::systemOrange());

    auto empty = box({0, 0, 0, 20}, Color::systemOrange());
    std::string nothing = folder.path() + "/empty.png";
    EXPECT_FALSE(ViewRenderer::writePNG(*empty, nothing));
    EXPECT_FALSE(std::filesystem::exists(nothing));
    EXPECT_FALSE(ViewRenderer::writePNG(*root, folder.path() + "/missing/folder/screen.png"));
}

}  // namespace
