#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/Color.h"
#include "uikit/Geometry.h"
#include "uikit/Layer.h"
#include "uikit/LayoutAnchor.h"
#include "uikit/LayoutConstraint.h"
#include "uikit/LayoutGuide.h"
#include "uikit/LayoutItem.h"
#include "uikit/Responder.h"

namespace uikit {

class Canvas;
class GestureRecognizer;
class ViewController;

enum class ContentMode {
    scaleToFill,
    scaleAspectFit,
    scaleAspectFill,
    redraw,
    center,
    top,
    bottom,
    left,
    right,
    topLeft,
    topRight,
    bottomLeft,
    bottomRight
};

using AutoresizingMask = std::uint32_t;
struct Autoresizing {
    static constexpr AutoresizingMask none = 0;
    static constexpr AutoresizingMask flexibleLeftMargin = 1u << 0;
    static constexpr AutoresizingMask flexibleWidth = 1u << 1;
    static constexpr AutoresizingMask flexibleRightMargin = 1u << 2;
    static constexpr AutoresizingMask flexibleTopMargin = 1u << 3;
    static constexpr AutoresizingMask flexibleHeight = 1u << 4;
    static constexpr AutoresizingMask flexibleBottomMargin = 1u << 5;
};

// A rectangle of the interface with subviews, held by std::shared_ptr (create views with
// std::make_shared). A view may add subviews in its constructor. All view code runs on the main
// thread.
//
// Layout requests are gathered and carried out on the main run loop's next turn; a request made
// during a layout pass schedules one more pass instead of recursing.
class View : public LayoutItem, public Responder, public std::enable_shared_from_this<View> {
  public:
    static constexpr double kNoIntrinsicMetric = -1;
    // Below this alpha a view counts as hidden: it is neither drawn, described nor touched.
    static constexpr double kInvisibleAlpha = 0.01;

    View() = default;
    explicit View(const Rect& frame);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Geometry. The frame is the bounds around the centre, transformed, in superview coordinates.
    Rect frame() const;
    void setFrame(const Rect& frame);
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& bounds);
    Point center() const { return center_; }
    void setCenter(Point center);
    const AffineTransform& transform() const { return transform_; }
    void setTransform(const AffineTransform& transform);
    // A null other view means the root of this view's tree (the window when there is one).
    Point convertPointTo(Point point, const View* other) const;
    Point convertPointFrom(Point point, const View* other) const;
    Rect convertRectTo(const Rect& rect, const View* other) const;

    // Appearance.
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    virtual void setBackgroundColor(std::optional<Color> color) { backgroundColor_ = color; }
    // The view's own tint, else its superview's, else the system blue.
    Color tintColor() const;
    void setTintColor(std::optional<Color> color);
    bool hasOwnTintColor() const { return tintColor_.has_value(); }
    bool clipsToBounds() const { return layer_.masksToBounds(); }
    void setClipsToBounds(bool clips) { layer_.setMasksToBounds(clips); }
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode) { contentMode_ = mode; }
    Layer& layer() { return layer_; }
    const Layer& layer() const { return layer_; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    // Hidden, nearly transparent, or inside such a view.
    bool isHiddenInTree() const;

    // Identity and interaction.
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    const std::string& accessibilityIdentifier() const { return accessibilityIdentifier_; }
    void setAccessibilityIdentifier(std::string id) { accessibilityIdentifier_ = std::move(id); }

    // The tree.
    // Null also while the superview is not (yet) held by a std::shared_ptr.
    std::shared_ptr<View> superview() const;
    // The superview without taking a reference, usable while it is being built.
    View* superviewPtr() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    void addSubview(const std::shared_ptr<View>& view);
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    void insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling);
    void insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    bool isDescendantOf(const View* ancestor) const;
    // The nearest ancestor (or this view) that is a window.
    std::shared_ptr<View> window() const;
    virtual bool isWindow() const { return false; }
    // The controller whose root view this is; set by the controller.
    std::shared_ptr<ViewController> owningViewController() const {
        return owningController_.lock();
    }
    void setOwningViewController(std::weak_ptr<ViewController> controller) {
        owningController_ = std::move(controller);
    }
    // The owning controller of this view or of the nearest ancestor that has one.
    std::shared_ptr<ViewController> nearestViewController() const;

    // Gestures.
    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
    void removeGestureRecognizer(const GestureRecognizer* recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const {
        return gestureRecognizers_;
    }

    // Insets and margins. A view without its own safe-area insets takes the part of its
    // superview's unsafe edges that it overlaps: the status bar's, and a container
    // controller's bars over the child it shows.
    EdgeInsets safeAreaInsets() const;
    void setSafeAreaInsets(std::optional<EdgeInsets> insets);
    const EdgeInsets& layoutMargins() const { return layoutMargins_; }
    void setLayoutMargins(const EdgeInsets& margins);
    LayoutGuide& safeAreaLayoutGuide();
    LayoutGuide& layoutMarginsGuide();

    // Constraints (which a view may also make in its constructor).
    LayoutAnchor topAnchor() const { return anchor(LayoutAttribute::top); }
    LayoutAnchor bottomAnchor() const { return anchor(LayoutAttribute::bottom); }
    LayoutAnchor leadingAnchor() const { return anchor(LayoutAttribute::leading); }
    LayoutAnchor trailingAnchor() const { return anchor(LayoutAttribute::trailing); }
    LayoutAnchor leftAnchor() const { return anchor(LayoutAttribute::left); }
    LayoutAnchor rightAnchor() const { return anchor(LayoutAttribute::right); }
    LayoutAnchor centerXAnchor() const { return anchor(LayoutAttribute::centerX); }
    LayoutAnchor centerYAnchor() const { return anchor(LayoutAttribute::centerY); }
    LayoutAnchor widthAnchor() const { return anchor(LayoutAttribute::width); }
    LayoutAnchor heightAnchor() const { return anchor(LayoutAttribute::height); }
    LayoutAnchor firstBaselineAnchor() const { return anchor(LayoutAttribute::firstBaseline); }
    LayoutAnchor lastBaselineAnchor() const { return anchor(LayoutAttribute::lastBaseline); }
    // The active constraints this view holds (those whose first item is this view or its guides).
    const std::vector<std::shared_ptr<LayoutConstraint>>& constraints() const {
        return constraints_;
    }
    void addConstraint(const std::shared_ptr<LayoutConstraint>& constraint);
    void removeConstraint(const std::shared_ptr<LayoutConstraint>& constraint);
    // Every active constraint held by this view or its descendants that names the view.
    std::vector<std::shared_ptr<LayoutConstraint>> constraintsAffecting(const View* view) const;
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesAutoresizing_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool on) { translatesAutoresizing_ = on; }
    AutoresizingMask autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(AutoresizingMask mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }

    // Layout.
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Lays out this view now when it needs it, then its subviews.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    // The size that suits the view within the given size; by default its current size.
    virtual Size sizeThatFits(Size size) const { return bounds_.size; }
    void sizeToFit();
    // The natural size of the content; kNoIntrinsicMetric where there is none.
    virtual Size intrinsicContentSize() const { return {kNoIntrinsicMetric, kNoIntrinsicMetric}; }
    // Lays out the view and its superview again (a stack view rearranges around it).
    void invalidateIntrinsicContentSize();
    // The size the view needs at the target width: the intrinsic size where there is one, else
    // the extent of its visible subviews (those with an intrinsic height at their fitting
    // height) plus the bottom layout margin of the deepest.
    virtual Size systemLayoutSizeFitting(Size target) const;

    // Touches go to the view a finger is on (Responder), then on up to its superviews.
    // The deepest visible, interactive view containing the point (this view's coordinates).
    virtual std::shared_ptr<View> hitTest(Point point);
    virtual bool pointInside(Point point) const { return bounds_.contains(point); }

    // The visible tree as text, one view per line indented by depth: kind, frame when asked,
    // then texts, titles and image names. Hidden and transparent views, with all they contain,
    // are left out; a view hidden by an ancestor prints nothing.
    std::string describe(bool withFrames = false) const;

    // What the view draws of its own (ViewRenderer), in its bounds' coordinates: over its
    // background and under its subviews, and over its subviews, within their clip.
    virtual void draw(Canvas& canvas) {}
    virtual void drawOverSubviews(Canvas& canvas) {}

    // Hooks.
    virtual void willMoveToSuperview(View* newSuperview) {}
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(View* subview) {}
    virtual void willRemoveSubview(View* subview) {}
    virtual void tintColorDidChange() {}
    // Called on this view and every descendant by propagateTraitCollectionChange().
    virtual void traitCollectionDidChange() {}
    void propagateTraitCollectionChange();
    // The safe-area insets differ from those of the last layout pass that reached the view;
    // told in the pass, before its layoutSubviews.
    virtual void safeAreaInsetsDidChange() {}

    // LayoutItem
    View* owningView() const override { return const_cast<View*>(this); }
    Rect layoutFrame() const override { return frame(); }

  protected:
    // "Label \"Hello\"": the kind of view and what a person reads on it.
    virtual std::string describeSelf() const { return "View"; }
    // Responder
    Responder* nextResponder() const override { return superview_; }
    std::weak_ptr<Responder> weakResponder() override { return weak_from_this(); }
    // Whether describe() prints a subview (controls leave out their internal parts).
    virtual bool describesSubview(const View& subview) const { return true; }
    // The bounds changed; the default marks the view for layout when the size changed.
    virtual void boundsDidChange(const Rect& oldBounds);
    // What a subview counts as unsafe of this view's bounds; by default this view's own
    // safe-area insets.
    virtual EdgeInsets safeAreaInsetsForSubview(const View& subview) const {
        return safeAreaInsets();
    }

  private:
    friend class LayoutPass;
    LayoutAnchor anchor(LayoutAttribute attribute) const { return {this, attribute}; }
    void describeInto(std::string& out, int depth, bool withFrames) const;
    void attach(const std::shared_ptr<View>& view, std::size_t index);
    void detachFromSuperview();
    void notifyMovedToWindow();
    void resizeSubviews(Size oldSize);
    void propagateTintChange();

    Point center_;
    Rect bounds_;
    AffineTransform transform_;
    double alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    std::optional<Color> backgroundColor_;
    std::optional<Color> tintColor_;
    ContentMode contentMode_ = ContentMode::scaleToFill;
    Layer layer_;
    int tag_ = 0;
    bool userInteractionEnabled_ = true;
    std::string accessibilityIdentifier_;

    View* superview_ = nullptr;  // cleared by the superview when it goes
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<ViewController> owningController_;
    std::vector<std::shared_ptr<GestureRecognizer>> gestureRecognizers_;

    std::optional<EdgeInsets> safeAreaInsets_;
    // As the last layout pass found them.
    EdgeInsets laidOutSafeAreaInsets_;
    EdgeInsets layoutMargins_{8, 8, 8, 8};
    std::unique_ptr<LayoutGuide> safeAreaGuide_;
    std::unique_ptr<LayoutGuide> marginsGuide_;
    std::vector<std::shared_ptr<LayoutConstraint>> constraints_;
    bool translatesAutoresizing_ = true;
    AutoresizingMask autoresizingMask_ = Autoresizing::none;
    bool autoresizesSubviews_ = true;

    bool needsLayout_ = false;
    bool inLayout_ = false;
    bool layoutQueued_ = false;
};

}  // namespace uikit
