#include "screens/archive/ImportedPackageViewController.h"

#include "foundation/Bundle.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/apt/KSArchiveReader.h"
#include "framework/debian/DebianGrammar.h"
#include "framework/links/KSLoggedURL.h"
#include "framework/tasks/KSPackageDPKGInstallTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "screens/archive/ImportedPackageData.h"
#include "screens/archive/ImportedPackageInstallation.h"
#include "screens/tasks/TasksVerboseViewController.h"
#include "ui/core/KSApplicationServices.h"
#include "uikit/NavigationController.h"

namespace corvane {

using uikit::BarButtonItem;

ImportedPackageViewController::ImportedPackageViewController(std::string packagePath)
    : RootViewController(ImportedPackageData::loading()), packagePath_(std::move(packagePath)) {}

void ImportedPackageViewController::viewDidLoad() {
    RootViewController::viewDidLoad();
    tableView()->setSeparatorStyle(uikit::TableView::SeparatorStyle::singleLine);
    std::weak_ptr<ImportedPackageViewController> weakSelf =
        std::static_pointer_cast<ImportedPackageViewController>(shared_from_this());
    installButton_ = BarButtonItem::withTitle(foundation::localized("Install"),
                                              BarButtonItem::Style::done, [weakSelf](auto&) {
                                                  if (auto self = weakSelf.lock())
                                                      self->install();
                                              });
    installButton_->setEnabled(false);
    cancelButton_ = BarButtonItem::withTitle(foundation::localized("Cancel"),
                                             BarButtonItem::Style::done, [weakSelf](auto&) {
                                                 if (auto self = weakSelf.lock())
                                                     self->dismiss();
                                             });
    navigationItem()->setRightBarButtonItem(installButton_);
    navigationItem()->setLeftBarButtonItem(cancelButton_);
    load();
}

// dpkg-deb waits for its turn on the root command runner: never on the main thread.
void ImportedPackageViewController::load() {
    std::weak_ptr<ImportedPackageViewController> weakSelf =
        std::static_pointer_cast<ImportedPackageViewController>(shared_from_this());
    auto services = KSApplicationServices::shared();
    std::function<void()> done = [] {};
    if (services)
        done = services->beginBackgroundWork();
    foundation::runInBackground([weakSelf, path = packagePath_, done] {
        auto loaded = std::make_shared<Loaded>(read(path));
        foundation::runOnMain([weakSelf, loaded, done] {
            // A screen that has gone takes the copy with it: the last holder is this block.
            if (auto self = weakSelf.lock(); self && !self->cancelled_)
                self->showLoaded(std::move(*loaded));
            done();
        });
    });
}

ImportedPackageViewController::Loaded ImportedPackageViewController::read(
    const std::string& packagePath) {
    auto archive = KSInboxArchive::copyOf(packagePath);
    if (!archive)
        return {nullptr, archive.error()};
    return {*archive, KSArchiveReader::readControl((*archive)->path())};
}

void ImportedPackageViewController::showLoaded(Loaded loaded) {
    archive_ = std::move(loaded.archive);
    if (!loaded.control) {
        auto message = loaded.control.error().localizedDescription();
        // dpkg names the copy; the person knows the file by the name it was handed over with.
        if (archive_)
            message = foundation::replace(message, archive_->path(), packagePath_);
        KSLog("The archive \"%@\" could not be read: %@", KSLoggedURL::text(packagePath_),
              KSLoggedURL::text(message));
        setData(ImportedPackageData::forError(message));
        return;
    }
    packageInfo_ = std::move(*loaded.control);
    const bool ownPackage = isOwnPackage(packageInfo_->value("Package").value_or(""));
    setData(ImportedPackageData::forControl(*packageInfo_, ownPackage));
    installButton_->setEnabled(isInstallable());
}

bool ImportedPackageViewController::isInstallable() const {
    const auto identifier = packageInfo_ ? packageInfo_->value("Package") : std::nullopt;
    return archive_ && identifier && isValidPackageName(*identifier) && !isOwnPackage(*identifier);
}

// dpkg folds names to lower case: "Me.Kestrune.Corvane" would replace the application too.
bool ImportedPackageViewController::isOwnPackage(const std::string& identifier) {
    return foundation::caseInsensitiveEquals(identifier, foundation::Bundle::bundleIdentifier());
}

// The task is in the pipeline before anything else happens, so that it runs whatever becomes of
// the screens. The console comes up on the same turn, over whatever stays on screen once this
// screen goes, and so hears the install from its first line.
void ImportedPackageViewController::install() {
    if (!isInstallable())
        return;
    auto task = std::make_shared<KSPackageDPKGInstallTask>(archive_->path(),
                                                           *packageInfo_->value("Package"));
    if (!KSPipelineManager::sharedManager().queueTask(task))
        return;
    ImportedPackageInstallation::keepUntilFinished(std::move(archive_), task->taskID());
    installButton_->setEnabled(false);
    dismiss(true);
    if (auto services = KSApplicationServices::shared())
        services->presentViewController(
            uikit::NavigationController::create(std::make_shared<TasksVerboseViewController>()),
            nullptr);
}

void ImportedPackageViewController::dismiss() {
    cancelled_ = true;
    archive_.reset();
    dismiss(true);
}

void ImportedPackageViewController::paletteWillChangeToStyle(std::uint64_t style) {
    if (style != KSPalette::kLight) {
        resetOverridesColors();
        return;
    }
    setOverrideColor(uikit::Color(0.94, 0.94, 0.96, 1.0), "backgroundColor");
    setOverrideColor(uikit::Color::white(), "cellBackgroundColor");
}

}  // namespace corvane
