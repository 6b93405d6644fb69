#include "uikit/ViewRenderer.h"

#include "foundation/FileManager.h"
#include "uikit/ImageContext.h"

namespace uikit {

std::shared_ptr<Image> ViewRenderer::imageOfView(View& view, double scale) {
    view.layoutIfNeeded();
    ImageContext context(view.bounds().size, false, scale);
    drawView(view, context.canvas());
    return context.makeImage();
}

foundation::Status ViewRenderer::writePNG(View& view, const std::string& path, double scale) {
    auto png = imageOfView(view, scale)->pngData();
    if (!png)
        return foundation::Error::make("ViewRenderer", 1, "The view has no area to draw.");
    return foundation::FileManager::writeAtomically(path, *png);
}

void ViewRenderer::drawView(View& view, Canvas& canvas) {
    if (!isDrawn(view))
        return;
    canvas.save();
    canvas.translate(-view.bounds().minX(), -view.bounds().minY());
    drawLayer(view, canvas);
    canvas.restore();
}

void ViewRenderer::drawSubview(View& view, Canvas& canvas) {
    if (!isDrawn(view))
        return;
    const Rect& bounds = view.bounds();
    canvas.save();
    canvas.translate(view.center().x, view.center().y);
    if (!view.transform().isIdentity())
        canvas.concat(view.transform());
    canvas.translate(-bounds.width() / 2 - bounds.minX(), -bounds.height() / 2 - bounds.minY());
    drawLayer(view, canvas);
    canvas.restore();
}

// A layer draws its background, its own content, its sublayers, then its border over them all;
// its alpha applies to the whole, not to each part. A layer that masks to its bounds masks its
// own content as well as its sublayers: a rounded icon keeps no square corners.
void ViewRenderer::drawLayer(View& view, Canvas& canvas) {
    const Rect& bounds = view.bounds();
    const Layer& layer = view.layer();
    bool composed = view.alpha() < 1;
    if (composed)
        canvas.beginLayer();
    if (const auto& background = view.backgroundColor(); background && canvas.isVisible(bounds))
        canvas.fill(bounds, *background, layer.cornerRadius());
    canvas.save();
    if (layer.masksToBounds())
        canvas.clipToRect(bounds, layer.cornerRadius());
    view.draw(canvas);
    if (!layer.masksToBounds() || canvas.isVisible(bounds)) {
        // A subview's drawing may change the tree (a table tiles its rows): keep the list.
        auto subviews = view.subviews();
        for (const auto& subview : subviews)
            drawSubview(*subview, canvas);
        view.drawOverSubviews(canvas);
    }
    canvas.restore();
    if (layer.borderWidth() > 0)
        canvas.strokeInside(bounds, layer.borderWidth(),
                            layer.borderColor().value_or(Color::black()), layer.cornerRadius());
    if (composed)
        canvas.endLayer(view.alpha());
}

bool ViewRenderer::isDrawn(const View& view) {
    return !view.isHidden() && view.alpha() >= View::kInvisibleAlpha;
}

}  // namespace uikit
