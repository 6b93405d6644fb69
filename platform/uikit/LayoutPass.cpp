#include "uikit/LayoutPass.h"

#include <algorithm>
#include <utility>

#include "foundation/ProcessState.h"
#include "foundation/RunLoop.h"
#include "uikit/View.h"

namespace uikit {

namespace {

int depth(const View& view) {
    int d = 0;
    for (const View* v = view.superviewPtr(); v; v = v->superviewPtr())
        ++d;
    return d;
}

}  // namespace

std::vector<std::weak_ptr<View>>& LayoutPass::pending() {
    static std::vector<std::weak_ptr<View>> views;
    return views;
}

bool& LayoutPass::scheduled() {
    static bool flag = false;
    // The pass queued on the run loop goes when the loop drops its blocks, so the views waiting
    // for it are forgotten with it.
    [[maybe_unused]] static const bool forgottenByReset =
        foundation::ProcessState::registerReset(foundation::ProcessState::Phase::mainLoop, [] {
            pending().clear();
            flag = false;
        });
    return flag;
}

bool LayoutPass::request(View& view) {
    std::weak_ptr<View> weak = view.weak_from_this();
    if (weak.expired())
        return false;
    pending().push_back(std::move(weak));
    if (!scheduled()) {
        scheduled() = true;
        foundation::RunLoop::main().perform(&LayoutPass::run);
    }
    return true;
}

void LayoutPass::run() {
    std::vector<std::shared_ptr<View>> views;
    for (const auto& weak : std::exchange(pending(), {})) {
        if (auto view = weak.lock()) {
            view->layoutQueued_ = false;
            views.push_back(std::move(view));
        }
    }
    scheduled() = false;
    std::stable_sort(views.begin(), views.end(),
                     [](const auto& a, const auto& b) { return depth(*a) < depth(*b); });
    for (const auto& view : views)
        view->layoutIfNeeded();
}

}  // namespace uikit
