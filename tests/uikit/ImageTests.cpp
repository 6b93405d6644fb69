#include "uikit/Image.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "uikit/ImageContext.h"

namespace {

using namespace uikit;

std::shared_ptr<Image> checkerboard() {
    ImageContext context({4, 3}, false, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            context.fill({double(x), double(y), 1, 1},
                         Color::fromBytes(x * 60, y * 100, (x + y) % 2 ? 255 : 0));
    return context.makeImage();
}

Image::Bytes makeJPEG(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_444, 95, 0);
    Image::Bytes bytes(out, out + size);
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

TEST(Image, PNGRoundTripsPixelForPixel) {
    auto original = checkerboard();
    auto png = original->pngData();
    ASSERT_TRUE(png);
    auto decoded = Image::fromData(*png);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->pixelWidth(), 4);
    ASSERT_EQ(decoded->pixelHeight(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(decoded->pixelAt(x, y), original->pixelAt(x, y)) << x << "," << y;
    EXPECT_EQ(decoded->pixelAt(3, 2), Color::fromBytes(180, 200, 255));
}

TEST(Image, DecodesJPEG) {
    auto image = Image::fromData(makeJPEG(16, 8, 200, 40, 20), 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{8, 4}));
    EXPECT_EQ(image->scale(), 2);
    Color pixel = image->pixelAt(5, 5);
    EXPECT_NEAR(pixel.red(), 200 / 255.0, 0.03);
    EXPECT_NEAR(pixel.green(), 40 / 255.0, 0.03);
    EXPECT_NEAR(pixel.blue(), 20 / 255.0, 0.03);
    EXPECT_EQ(pixel.alpha(), 1);
}

TEST(Image, UndecodableOrAbsurdDataGivesNothing) {
    EXPECT_EQ(Image::fromData({}), nullptr);
    EXPECT_EQ(Image::fromData({'<', 'h', 't', 'm', 'l', '>'}), nullptr);
    auto png = *checkerboard()->pngData();
    EXPECT_EQ(Image::fromData(Image::Bytes(png.begin(), png.begin() + png.size() / 2)), nullptr);
    auto jpeg = makeJPEG(8, 8, 1, 2, 3);
    EXPECT_EQ(Image::fromData(Image::Bytes(jpeg.begin(), jpeg.begin() + 20)), nullptr);

    // A header claiming 100000 x 100000 pixels is refused before anything is decoded.
    auto huge = png;
    const std::uint8_t side[] = {0x00, 0x01, 0x86, 0xA0};
    std::copy(std::begin(side), std::end(side), huge.begin() + 16);
    std::copy(std::begin(side), std::end(side), huge.begin() + 20);
    EXPECT_EQ(Image::fromData(huge), nullptr);
    EXPECT_EQ(Image::fromFile("/nonexistent/image.png"), nullptr);
}

TEST(Image, LoadsBundleImagesByNameWithOrWithoutExtension) {
    auto folder =
        std::filesystem::temp_directory_path() / ("uikit-images-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    auto png = *checkerboard()->pngData();
    std::ofstream(folder / "install@2x.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    auto jpeg = makeJPEG(2, 2, 9, 9, 9);
    std::ofstream(folder / "banner.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()),
               static_cast<std::streamsize>(jpeg.size()));
    setenv("MAIN_BUNDLE_RESOURCES", folder.c_str(), 1);

    auto install = Image::named("install");
    ASSERT_TRUE(install);
    EXPECT_EQ(install->name(), "install");
    EXPECT_EQ(install->scale(), 2);
    EXPECT_EQ(install->size(), (Size{2, 1.5}));
    EXPECT_EQ(Image::named("install@2x.png")->pixelWidth(), 4);
    auto banner = Image::named("banner.jpg");
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->name(), "banner");
    EXPECT_TRUE(Image::named("banner"));
    EXPECT_EQ(Image::named("missing"), nullptr);
    EXPECT_EQ(Image::named("../etc/passwd"), nullptr);

    auto templated = install->withRenderingMode(ImageRenderingMode::alwaysTemplate);
    EXPECT_TRUE(templated->isTemplate());
    EXPECT_FALSE(Image::named("install")->isTemplate());
    EXPECT_EQ(templated->describe(), "install");
    std::filesystem::remove_all(folder);
}

TEST(ImageContext, FillsMasksAndAveragesOffTheMainThread) {
    std::shared_ptr<Image> result;
    Color mean;
    std::thread worker([&] {
        ImageContext context({10, 10}, false, 2);
        context.fillAll(Color::systemRed());
        context.fill({0, 0, 10, 5}, Color::systemBlue());
        mean = context.meanColor();
        context.maskToRoundedRect({0, 0, 10, 10}, 5);
        result = context.makeImage();
    });
    worker.join();
    EXPECT_NEAR(mean.red(), (1.0 + 0) / 2, 0.01);
    EXPECT_NEAR(mean.blue(), (48 / 255.0 + 1.0) / 2, 0.01);
    EXPECT_EQ(result->size(), (Size{10, 10}));
    EXPECT_EQ(result->pixelAt(0, 0).alpha(), 0);  // corner cut away
    EXPECT_EQ(result->pixelAt(10, 10), Color::systemRed().withAlpha(1));
    EXPECT_EQ(result->pixelAt(10, 2), Color::systemBlue());
}

TEST(ImageContext, DrawsTemplatesInTheirTint) {
    auto shape = Image::withColor(Color::black(), {2, 2})
                     ->withRenderingMode(ImageRenderingMode::alwaysTemplate);
    ImageContext context({2, 2}, false, 1);
    context.drawImage(*shape, {0, 0, 2, 2}, Color::systemGreen());
    EXPECT_EQ(context.pixelAt(1, 1), Color::systemGreen());
    EXPECT_EQ(Image::withColor(Color::white(), {3, 1})->pixelAt(0, 0), Color::white());
    EXPECT_EQ(Image::empty()->size(), (Size{0, 0}));
    EXPECT_FALSE(Image::empty()->pngData());
}

// Smoothing must not fade a stretched image towards its edges nor smear it past them.
TEST(ImageContext, AStretchedImageKeepsFullEdgesInsideItsRectangle) {
    auto dot = Image::withColor(Color::systemRed(), {1, 1});
    ImageContext context({40, 40}, false, 1);
    context.drawImage(*dot, {10, 10, 20, 20});
    for (auto [x, y] : {std::pair{10, 10}, {29, 29}, {10, 29}, {20, 10}})
        EXPECT_EQ(context.pixelAt(x, y), Color::systemRed()) << x << "," << y;
    for (auto [x, y] : {std::pair{9, 9}, {30, 30}, {20, 9}, {9, 20}})
        EXPECT_EQ(context.pixelAt(x, y).alpha(), 0) << x << "," << y;
}

}  // namespace
