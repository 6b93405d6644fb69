#pragma once

#include <optional>
#include <string>

#include "uikit/Geometry.h"

namespace uikit {

// Weights on the system's scale, from -1 (thinnest) to 1 (heaviest).
struct FontWeight {
    static constexpr double ultraLight = -0.8;
    static constexpr double thin = -0.6;
    static constexpr double light = -0.4;
    static constexpr double regular = 0.0;
    static constexpr double medium = 0.23;
    static constexpr double semibold = 0.3;
    static constexpr double bold = 0.4;
    static constexpr double heavy = 0.56;
    static constexpr double black = 0.62;
};

enum class LineBreakMode {
    byWordWrapping,
    byCharWrapping,
    byClipping,
    byTruncatingHead,
    byTruncatingTail,
    byTruncatingMiddle
};

// A font: family, size in points, weight and slant. DejaVu Sans stands in for the system font.
// Measurement goes through Pango and Cairo and may be called from any thread.
class Font {
  public:
    static constexpr const char* kSystemFamily = "DejaVu Sans";

    Font() = default;
    static Font systemFont(double pointSize, double weight = FontWeight::regular);
    static Font boldSystemFont(double pointSize) { return systemFont(pointSize, FontWeight::bold); }
    static Font italicSystemFont(double pointSize);
    // A font of an installed family; nothing when no installed family has that name.
    static std::optional<Font> named(const std::string& family, double pointSize);

    const std::string& family() const { return family_; }
    double pointSize() const { return pointSize_; }
    double weight() const { return weight_; }
    bool isItalic() const { return italic_; }
    bool isBold() const { return weight_ >= FontWeight::semibold; }
    Font withSize(double pointSize) const;
    // The same family and size in another weight or slant, as the family's installed faces
    // offer it (bold italic included).
    Font withWeight(double weight) const;
    Font withItalic(bool italic) const;

    // Height of one line of text.
    double lineHeight() const;
    // Width and height of the text on one line per hard line break, unwrapped.
    Size sizeOfText(const std::string& text) const;
    // Size of the text wrapped to maxWidth, cut to maxLines lines (0: no limit).
    Size boundingSize(const std::string& text, double maxWidth, int maxLines = 0,
                      LineBreakMode mode = LineBreakMode::byWordWrapping) const;

    // "DejaVu Sans 13 bold"
    std::string toString() const;
    bool operator==(const Font&) const = default;

  private:
    std::string family_ = kSystemFamily;
    double pointSize_ = 17;
    double weight_ = FontWeight::regular;
    bool italic_ = false;
};

}  // namespace uikit
