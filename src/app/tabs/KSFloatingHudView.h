#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/presentations/HudPresenting.h"
#include "uikit/Label.h"
#include "uikit/LayoutAnchor.h"
#include "uikit/ProgressView.h"
#include "uikit/StackView.h"
#include "uikit/View.h"

namespace corvane {

// The small panel that floats above the tab bar. In queue mode it tells how many packages are
// queued, hides while none is, and a tap opens the queue; in refresh mode it tells how many
// source refreshes are running, with a bar that fills as they finish, and a tap opens the task
// list. A finger on it shrinks it a little. Its texts, visibility and progress change on the
// main thread, whatever thread asks.
class KSFloatingHudView : public uikit::View {
  public:
    enum PresentationType : std::uint64_t { queueMode = 0, refreshMode = 1 };

    static constexpr double kCornerRadius = 8;
    static constexpr double kHeight = 65;
    static constexpr double kSideInset = 20;
    static constexpr double kSpacingAboveBottom = 10;
    static constexpr double kPressedScale = 0.975;

    // initWithDelegate: the panel with its tap, telling the delegate (held weakly).
    static std::shared_ptr<KSFloatingHudView> create(std::weak_ptr<HudPresenting> delegate);
    KSFloatingHudView();

    // Adds the panel to the host, its bottom kSpacingAboveBottom above the anchor.
    void anchorToView(const std::shared_ptr<uikit::View>& host,
                      const uikit::LayoutAnchor& bottomAnchor);
    // The active palette's colours.
    void updatePalette();

    PresentationType presentationType() const { return presentationType_; }
    void setPresentationType(PresentationType type) { presentationType_ = type; }
    // The most refreshes seen running at once since the last reset.
    std::uint64_t progressTotal() const { return progressTotal_; }
    void resetProgressTotal() { progressTotal_ = 0; }

    // The panel for the count in the current mode.
    void setItemCount(std::uint64_t count);
    void setPrimaryText(std::string text);
    void setSecondaryText(std::string text);
    // Springs to the uniform scale.
    void setScale(double scale);
    // The tap: the task list in refresh mode, the queue otherwise.
    void presentView();

    const std::shared_ptr<uikit::Label>& primaryLabel() const { return primaryLabel_; }
    const std::shared_ptr<uikit::Label>& secondaryLabel() const { return secondaryLabel_; }
    const std::shared_ptr<uikit::ProgressView>& progressView() const { return progressView_; }

    void touchesBegan(const std::vector<uikit::Touch>& touches) override;
    void touchesEnded(const std::vector<uikit::Touch>& touches) override;
    void touchesCancelled(const std::vector<uikit::Touch>& touches) override;

  protected:
    std::string describeSelf() const override { return "FloatingHud"; }

  private:
    void buildSubviews();
    void showRefreshCount(std::uint64_t count);
    void showQueueCount(std::uint64_t count);
    // Runs the change on the main thread, at once when already there.
    void onMain(std::function<void(KSFloatingHudView&)> change);

    std::shared_ptr<uikit::StackView> labelStack_;
    std::shared_ptr<uikit::Label> primaryLabel_;
    std::shared_ptr<uikit::Label> secondaryLabel_;
    std::shared_ptr<uikit::ProgressView> progressView_;
    std::uint64_t progressTotal_ = 0;
    PresentationType presentationType_ = queueMode;
    std::weak_ptr<HudPresenting> delegate_;
};

}  // namespace corvane
