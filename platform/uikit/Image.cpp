#include "uikit/Image.h"

#include <cairo.h>
#include <turbojpeg.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "foundation/Bundle.h"
#include "foundation/ProcessValue.h"
#include "uikit/ImageContext.h"
#include "uikit/Screen.h"

namespace uikit {

namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

// Images of the bundle by name, as read from the resources chosen at the time.
using NamedImages = std::map<std::string, std::shared_ptr<Image>>;
foundation::ProcessValue<NamedImages> namedImages;

bool isPNG(const Image::Bytes& data) {
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data.size() >= 24 && std::memcmp(data.data(), signature, sizeof signature) == 0;
}

bool isJPEG(const Image::Bytes& data) {
    return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

bool acceptableSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width * height <= Image::kMaxPixels;
}

std::shared_ptr<PixelBuffer> decodePNG(const Image::Bytes& data) {
    // The header gives the size before anything is decoded, so a hostile file is refused cheaply.
    if (!acceptableSize(bigEndian32(&data[16]), bigEndian32(&data[20])))
        return nullptr;
    struct Reader {
        const Image::Bytes& data;
        std::size_t offset = 0;
    } reader{data};
    auto read = [](void* closure, unsigned char* out, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (r->data.size() - r->offset < length)
            return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, r->data.data() + r->offset, length);
        r->offset += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    std::shared_ptr<PixelBuffer> pixels;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_INVALID) {
        cairo_surface_t* argb = surface;
        if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
            argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                              cairo_image_surface_get_width(surface),
                                              cairo_image_surface_get_height(surface));
            cairo_t* cr = cairo_create(argb);
            cairo_set_source_surface(cr, surface, 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
        }
        pixels = PixelBuffer::copyOf(argb);
        if (argb != surface)
            cairo_surface_destroy(argb);
    }
    cairo_surface_destroy(surface);
    return pixels;
}

std::shared_ptr<PixelBuffer> decodeJPEG(const Image::Bytes& data) {
    tjhandle handle = tjInitDecompress();
    if (!handle)
        return nullptr;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    std::shared_ptr<PixelBuffer> pixels;
    if (tjDecompressHeader3(handle, data.data(), static_cast<unsigned long>(data.size()), &width,
                            &height, &subsampling, &colorspace) == 0 &&
        acceptableSize(width, height)) {
        auto buffer = std::make_shared<PixelBuffer>();
        buffer->width = width;
        buffer->height = height;
        buffer->stride = width * 4;
        buffer->bytes.resize(static_cast<std::size_t>(buffer->stride) * height);
        // Cairo's ARGB32 is a native-endian word: B, G, R, A in memory on little-endian machines.
        int format = std::endian::native == std::endian::little ? TJPF_BGRA : TJPF_ARGB;
        if (tjDecompress2(handle, data.data(), static_cast<unsigned long>(data.size()),
                          buffer->bytes.data(), width, buffer->stride, height, format, 0) == 0)
            pixels = std::move(buffer);
    }
    tjDestroy(handle);
    return pixels;
}

std::optional<Image::Bytes> readFile(const std::filesystem::path& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes || !std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    Image::Bytes bytes(size);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

bool isSafeName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name != "." && name != ".." &&
           name.find('\0') == std::string::npos;
}

// Candidate files for a name, best first, with the scale each implies.
std::vector<std::pair<std::string, double>> candidates(const std::string& name) {
    std::filesystem::path path(name);
    std::string extension = path.extension().string();
    if (extension == ".png" || extension == ".jpg" || extension == ".jpeg")
        return {{name, 1}};
    int screen = static_cast<int>(std::lround(Screen::main().scale()));
    std::vector<std::pair<std::string, double>> result;
    for (const char* ext : {".png", ".jpg"}) {
        if (screen > 1)
            result.push_back({name + "@" + std::to_string(screen) + "x" + ext, screen});
        result.push_back({name + ext, 1});
        for (int scale : {2, 3})
            if (scale != screen)
                result.push_back({name + "@" + std::to_string(scale) + "x" + ext, scale});
    }
    return result;
}

std::string stem(const std::string& name) {
    std::filesystem::path path(name);
    std::string extension = path.extension().string();
    if (extension == ".png" || extension == ".jpg" || extension == ".jpeg")
        return path.stem().string();
    return name;
}

}  // namespace

std::shared_ptr<PixelBuffer> PixelBuffer::copyOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    auto pixels = std::make_shared<PixelBuffer>();
    pixels->width = cairo_image_surface_get_width(surface);
    pixels->height = cairo_image_surface_get_height(surface);
    pixels->stride = cairo_image_surface_get_stride(surface);
    if (const unsigned char* data = cairo_image_surface_get_data(surface))
        pixels->bytes.assign(data,
                             data + static_cast<std::size_t>(pixels->stride) * pixels->height);
    return pixels;
}

Image::Image(std::shared_ptr<const PixelBuffer> pixels, double scale, std::string name)
    : pixels_(pixels ? std::move(pixels) : std::make_shared<PixelBuffer>()),
      scale_(scale > 0 ? scale : 1),
      name_(std::move(name)) {}

std::shared_ptr<Image> Image::named(const std::string& name) {
    if (!isSafeName(name))
        return nullptr;
    return namedImages.update([&name](NamedImages& cache) -> std::shared_ptr<Image> {
        if (auto found = cache.find(name); found != cache.end())
            return found->second;
        std::filesystem::path folder = foundation::Bundle::resourcesPath();
        for (const auto& [file, scale] : candidates(name)) {
            auto bytes = readFile(folder / file);
            if (!bytes)
                continue;
            auto image = fromData(*bytes, scale);
            if (!image)
                continue;
            image->name_ = stem(name);
            cache[name] = image;
            return image;
        }
        return nullptr;
    });
}

std::shared_ptr<Image> Image::fromData(const Bytes& data, double scale) {
    std::shared_ptr<PixelBuffer> pixels;
    if (isPNG(data))
        pixels = decodePNG(data);
    else if (isJPEG(data))
        pixels = decodeJPEG(data);
    if (!pixels)
        return nullptr;
    return std::make_shared<Image>(std::move(pixels), scale);
}

std::shared_ptr<Image> Image::fromFile(const std::string& path) {
    auto bytes = readFile(path);
    if (!bytes)
        return nullptr;
    auto image = fromData(*bytes, 1);
    return image;
}

std::shared_ptr<Image> Image::empty() {
    return std::make_shared<Image>(nullptr, 1);
}

std::shared_ptr<Image> Image::withColor(const Color& color, Size size) {
    ImageContext context(size, false, 0);
    context.fillAll(color);
    return context.makeImage();
}

std::shared_ptr<Image> Image::fromPixels(std::shared_ptr<const PixelBuffer> pixels, double scale) {
    return std::make_shared<Image>(std::move(pixels), scale);
}

Size Image::size() const {
    return {pixels_->width / scale_, pixels_->height / scale_};
}

std::shared_ptr<Image> Image::withRenderingMode(ImageRenderingMode mode) const {
    auto copy = std::make_shared<Image>(pixels_, scale_, name_);
    copy->renderingMode_ = mode;
    return copy;
}

Color Image::pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixels_->width || y >= pixels_->height)
        return Color::clear();
    std::uint32_t word;
    std::memcpy(&word,
                pixels_->bytes.data() + static_cast<std::size_t>(y) * pixels_->stride + x * 4, 4);
    double alpha = (word >> 24) / 255.0;
    if (alpha == 0)
        return Color::clear();
    return {((word >> 16) & 0xFF) / 255.0 / alpha, ((word >> 8) & 0xFF) / 255.0 / alpha,
            (word & 0xFF) / 255.0 / alpha, alpha};
}

std::optional<Image::Bytes> Image::pngData() const {
    if (pixels_->width == 0 || pixels_->height == 0)
        return std::nullopt;
    // Cairo only reads a source surface, so the shared pixels are never written.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(pixels_->bytes.data()), CAIRO_FORMAT_ARGB32, pixels_->width,
        pixels_->height, pixels_->stride);
    Bytes out;
    auto write = [](void* closure, const unsigned char* data, unsigned int length) {
        auto* bytes = static_cast<Bytes*>(closure);
        bytes->insert(bytes->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_status_t status = cairo_surface_write_to_png_stream(surface, write, &out);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        return std::nullopt;
    return out;
}

std::string Image::describe() const {
    if (!name_.empty())
        return name_;
    char text[64];
    std::snprintf(text, sizeof text, "image %gx%g", size().width, size().height);
    return text;
}

}  // namespace uikit
