#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace uikit {
class BarButtonItem;
class View;
class ViewController;
}  // namespace uikit

namespace corvane {

// What cells and screens ask of the application delegate. The delegate implements it and
// registers itself at launch, so that the interface core never reaches up into the application.
class KSApplicationServices {
  public:
    virtual ~KSApplicationServices() = default;

    // Queues the package (paying first where its repository asks for it). version is nil for
    // the candidate version; sender is the control that asked and is carried through unchanged.
    virtual void queuePackageWithIdentifier(const std::string& identifier,
                                            const std::optional<std::string>& versionToQueue,
                                            const std::shared_ptr<uikit::View>& sender) = 0;
    // The package's options sheet, anchored at the sender.
    virtual void presentOptions(const std::string& packageIdentifier,
                                const std::shared_ptr<uikit::View>& sender) = 0;
    // The package's share sheet (its text, icon and screenshots), anchored at the sender.
    virtual void sharePackage(const std::string& packageIdentifier,
                              const std::shared_ptr<uikit::View>& sender) = 0;
    // Presents over whatever is shown, the common way (an alert takes the palette's tint); on a
    // pad a sheet points at the bar button that asked for it.
    virtual void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                                       const std::shared_ptr<uikit::BarButtonItem>& sender) = 0;

    // Counts work that a screen runs off the main thread until the block returned is called:
    // meanwhile the application is not at rest. Nothing counts it where no application does.
    virtual std::function<void()> beginBackgroundWork() {
        return [] {};
    }

    // The registered services, or null before launch (and in tests that register none); the
    // process reset forgets them.
    static std::shared_ptr<KSApplicationServices> shared();
    static void registerServices(std::weak_ptr<KSApplicationServices> services);
};

}  // namespace corvane
