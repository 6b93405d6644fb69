#include "uikit/PangoText.h"

#include <pango/pangocairo.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace uikit {

namespace {

// Lines narrower than this would take one character each at best.
constexpr double kNarrowestLine = 1;

struct ThreadPango {
    PangoFontMap* map = pango_cairo_font_map_new();
    PangoContext* context = pango_font_map_create_context(map);

    ThreadPango() {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(context, 72);
        pango_context_set_round_glyph_positions(context, FALSE);
    }
    ~ThreadPango() {
        g_object_unref(context);
        g_object_unref(map);
    }
};

ThreadPango& pango() {
    thread_local ThreadPango instance;
    return instance;
}

// Pango's weights for the system scale's named steps, interpolated between them.
int pangoWeight(double weight) {
    static const std::pair<double, int> steps[] = {{-0.8, 200}, {-0.6, 100}, {-0.4, 300},
                                                   {0.0, 400},  {0.23, 500}, {0.3, 600},
                                                   {0.4, 700},  {0.56, 800}, {0.62, 900}};
    if (weight <= steps[0].first)
        return steps[0].second;
    for (std::size_t i = 1; i < std::size(steps); ++i) {
        if (weight <= steps[i].first) {
            auto [w0, p0] = steps[i - 1];
            auto [w1, p1] = steps[i];
            return static_cast<int>(std::lround(p0 + (weight - w0) / (w1 - w0) * (p1 - p0)));
        }
    }
    return 900;
}

using Description = std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)>;

Description describeFont(const Font& font) {
    Description description(pango_font_description_new(), &pango_font_description_free);
    pango_font_description_set_family(description.get(), font.family().c_str());
    pango_font_description_set_absolute_size(description.get(),
                                             std::max(0.1, font.pointSize()) * PANGO_SCALE);
    pango_font_description_set_weight(description.get(),
                                      static_cast<PangoWeight>(pangoWeight(font.weight())));
    pango_font_description_set_style(description.get(),
                                     font.isItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return description;
}

PangoUnderline pangoUnderline(UnderlineStyle style) {
    switch (style) {
        case UnderlineStyle::none:
            return PANGO_UNDERLINE_NONE;
        case UnderlineStyle::single:
        case UnderlineStyle::thick:
            return PANGO_UNDERLINE_SINGLE;
        case UnderlineStyle::doubleLine:
            return PANGO_UNDERLINE_DOUBLE;
    }
    return PANGO_UNDERLINE_NONE;
}

std::uint16_t channel(double value) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 1.0) * 65535));
}

// A colour as Pango takes it: the components, then the alpha as an attribute of its own.
template <typename Add>
void addColor(const Color& color, PangoAttribute* (*make)(guint16, guint16, guint16),
              PangoAttribute* (*makeAlpha)(guint16), Add add) {
    add(make(channel(color.red()), channel(color.green()), channel(color.blue())));
    if (makeAlpha && color.alpha() < 1)
        add(makeAlpha(std::max<std::uint16_t>(1, channel(color.alpha()))));
}

PangoAttrList* attributeList(const AttributedString& text, bool withColors) {
    PangoAttrList* list = pango_attr_list_new();
    for (const auto& run : text.runs()) {
        auto add = [&](PangoAttribute* attribute) {
            attribute->start_index = static_cast<guint>(run.range.location);
            attribute->end_index = static_cast<guint>(run.range.end());
            pango_attr_list_insert(list, attribute);
        };
        const TextAttributes& attributes = run.attributes;
        if (attributes.font)
            add(pango_attr_font_desc_new(describeFont(*attributes.font).get()));
        if (attributes.underlineStyle)
            add(pango_attr_underline_new(pangoUnderline(*attributes.underlineStyle)));
        if (!withColors)
            continue;
        if (attributes.foregroundColor)
            addColor(*attributes.foregroundColor, pango_attr_foreground_new,
                     pango_attr_foreground_alpha_new, add);
        if (attributes.backgroundColor)
            addColor(*attributes.backgroundColor, pango_attr_background_new,
                     pango_attr_background_alpha_new, add);
        if (attributes.underlineColor)
            addColor(*attributes.underlineColor, pango_attr_underline_color_new, nullptr, add);
    }
    return list;
}

PangoEllipsizeMode ellipsizeMode(LineBreakMode mode) {
    switch (mode) {
        case LineBreakMode::byTruncatingHead:
            return PANGO_ELLIPSIZE_START;
        case LineBreakMode::byTruncatingMiddle:
            return PANGO_ELLIPSIZE_MIDDLE;
        case LineBreakMode::byTruncatingTail:
            return PANGO_ELLIPSIZE_END;
        default:
            return PANGO_ELLIPSIZE_NONE;
    }
}

}  // namespace

void PangoText::LayoutDeleter::operator()(PangoLayout* layout) const {
    g_object_unref(layout);
}

PangoText::Layout PangoText::makeLayout(const AttributedString& text, const Font& defaultFont,
                                        bool withColors) {
    Layout layout(pango_layout_new(pango().context));
    pango_layout_set_font_description(layout.get(), describeFont(defaultFont).get());
    pango_layout_set_text(layout.get(), text.string().data(), static_cast<int>(text.length()));
    PangoAttrList* attributes = attributeList(text, withColors);
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
    return layout;
}

void PangoText::wrap(PangoLayout* layout, double width, LineBreakMode mode) {
    pango_layout_set_wrap(
        layout, mode == LineBreakMode::byCharWrapping ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    pango_layout_set_width(layout, units(std::max(kNarrowestLine, width)));
}

void PangoText::truncateToOneLine(PangoLayout* layout, LineBreakMode mode) {
    pango_layout_set_ellipsize(layout, ellipsizeMode(mode));
    pango_layout_set_height(layout, -1);
}

bool PangoText::hasFamily(const std::string& family) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango().map, &families, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = strcasecmp(pango_font_family_get_name(families[i]), family.c_str()) == 0;
    g_free(families);
    return found;
}

int PangoText::units(double points) {
    constexpr double kLargest = 1 << 30;
    return static_cast<int>(std::lround(std::clamp(points * PANGO_SCALE, -kLargest, kLargest)));
}

double PangoText::points(int units) {
    return static_cast<double>(units) / PANGO_SCALE;
}

}  // namespace uikit
