#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Result.h"
#include "framework/apt/KSArchiveControl.h"
#include "framework/apt/KSInboxArchive.h"
#include "ui/table/RootViewController.h"
#include "uikit/BarButtonItem.h"

namespace corvane {

// An archive another application handed over: its control fields and raw control text, with
// Install and Cancel. The file is copied into the inbox and read from there off the main
// thread; the rows arrive on the main thread while the screen still exists. Install queues
// dpkg's install of the copy and then shows the console; it is offered only for an archive
// that names a valid package other than the application itself. The copy goes with Cancel,
// with the screen, or once the install has finished; the handed-over file stays as it was.
// Created with make_shared, shown inside a navigation controller.
class ImportedPackageViewController : public RootViewController {
  public:
    // initWithPath: the device path that the file URL named.
    explicit ImportedPackageViewController(std::string packagePath);

    const std::string& packagePath() const { return packagePath_; }
    // The control data read; nothing while loading or after a failed read.
    const std::optional<KSArchiveControl>& packageInfo() const { return packageInfo_; }
    const std::shared_ptr<uikit::BarButtonItem>& installButton() const { return installButton_; }
    const std::shared_ptr<uikit::BarButtonItem>& cancelButton() const { return cancelButton_; }

    void install();
    // Cancel: the copy is removed and the screen dismissed.
    void dismiss();
    using uikit::ViewController::dismiss;

  protected:
    void viewDidLoad() override;
    void paletteWillChangeToStyle(std::uint64_t style) override;

  private:
    struct Loaded {
        std::shared_ptr<KSInboxArchive> archive;
        foundation::Result<KSArchiveControl> control;
    };

    void load();
    static Loaded read(const std::string& packagePath);
    void showLoaded(Loaded loaded);
    bool isInstallable() const;
    static bool isOwnPackage(const std::string& identifier);

    std::string packagePath_;
    std::shared_ptr<KSInboxArchive> archive_;
    std::optional<KSArchiveControl> packageInfo_;
    std::shared_ptr<uikit::BarButtonItem> installButton_;
    std::shared_ptr<uikit::BarButtonItem> cancelButton_;
    bool cancelled_ = false;
};

}  // namespace corvane
