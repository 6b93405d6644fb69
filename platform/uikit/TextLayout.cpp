#include "uikit/TextLayout.h"

#include <pango/pangocairo.h>
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace uikit {

namespace {

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
            return PANGO_UNDERLINE_SINGLE;
        case UnderlineStyle::thick:
            return PANGO_UNDERLINE_SINGLE;
        case UnderlineStyle::doubleLine:
            return PANGO_UNDERLINE_DOUBLE;
    }
    return PANGO_UNDERLINE_NONE;
}

PangoAttrList* attributeList(const AttributedString& text) {
    PangoAttrList* list = pango_attr_list_new();
    for (const auto& run : text.runs()) {
        auto add = [&](PangoAttribute* attribute) {
            attribute->start_index = static_cast<guint>(run.range.location);
            attribute->end_index = static_cast<guint>(run.range.end());
            pango_attr_list_insert(list, attribute);
        };
        if (run.attributes.font)
            add(pango_attr_font_desc_new(describeFont(*run.attributes.font).get()));
        if (run.attributes.underlineStyle)
            add(pango_attr_underline_new(pangoUnderline(*run.attributes.underlineStyle)));
    }
    return list;
}

void applyBreakMode(PangoLayout* layout, LineBreakMode mode, double maxWidth, int maxLines) {
    pango_layout_set_wrap(
        layout, mode == LineBreakMode::byCharWrapping ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    if (maxWidth <= 0)
        return;
    pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
    PangoEllipsizeMode ellipsis = PANGO_ELLIPSIZE_NONE;
    if (mode == LineBreakMode::byTruncatingHead)
        ellipsis = PANGO_ELLIPSIZE_START;
    if (mode == LineBreakMode::byTruncatingMiddle)
        ellipsis = PANGO_ELLIPSIZE_MIDDLE;
    if (mode == LineBreakMode::byTruncatingTail)
        ellipsis = PANGO_ELLIPSIZE_END;
    if (ellipsis != PANGO_ELLIPSIZE_NONE && maxLines > 0) {
        pango_layout_set_ellipsize(layout, ellipsis);
        pango_layout_set_height(layout, -maxLines);
    }
}

// The extent of the first lines of the layout.
Size extentOfLines(PangoLayout* layout, int lines) {
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    double width = 0, bottom = 0;
    int index = 0;
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        width = std::max(width, static_cast<double>(logical.x + logical.width) / PANGO_SCALE);
        bottom = static_cast<double>(logical.y + logical.height) / PANGO_SCALE;
    } while (++index < lines && pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return {width, bottom};
}

}  // namespace

TextLayout::Metrics TextLayout::measure(const AttributedString& text, const Font& defaultFont,
                                        double maxWidth, int maxLines, LineBreakMode mode) {
    if (text.empty())
        return {};
    PangoLayout* layout = pango_layout_new(pango().context);
    pango_layout_set_font_description(layout, describeFont(defaultFont).get());
    pango_layout_set_text(layout, text.string().data(), static_cast<int>(text.length()));
    PangoAttrList* attributes = attributeList(text);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);

    applyBreakMode(layout, mode, maxWidth, 0);
    Metrics metrics;
    metrics.naturalLines = pango_layout_get_line_count(layout);
    applyBreakMode(layout, mode, maxWidth, maxLines);
    int shown = pango_layout_get_line_count(layout);
    if (maxLines > 0)
        shown = std::min(shown, maxLines);
    metrics.lineCount = shown;
    metrics.size = extentOfLines(layout, shown);
    if (maxWidth > 0)
        metrics.size.width = std::min(metrics.size.width, maxWidth);
    g_object_unref(layout);
    return metrics;
}

bool TextLayout::hasFamily(const std::string& family) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango().map, &families, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = strcasecmp(pango_font_family_get_name(families[i]), family.c_str()) == 0;
    g_free(families);
    return found;
}

}  // namespace uikit
