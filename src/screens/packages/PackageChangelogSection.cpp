#include "screens/packages/PackageChangelogSection.h"

#include "screens/packages/PackagePageModel.h"
#include "ui/extensions/MarkdownAttributedText.h"

namespace corvane {

void PackageChangelogSection::build(PackageSectionBuilder& b, const uikit::View& topSeparator) {
    b.title(changelogTitle, "What's New");
    b.wide(*changelogTitle);
    changelogTitleTopConstraint = b.on(b.below(*changelogTitle, topSeparator.bottomAnchor(), 20));
    changelogTitleHeightConstraint = b.on(changelogTitle->heightAnchor().constraintEqualToConstant(
        PackageSectionBuilder::kTitleHeight));
    b.label(changelogVersionLbl, "", uikit::Font::systemFont(15));
    changelogVersionLbl->setTextColor(uikit::Color::systemGray());
    b.wide(*changelogVersionLbl);
    changelogVersionLblTopConstraint =
        b.on(b.below(*changelogVersionLbl, changelogTitle->bottomAnchor(), 4));
    b.add(changelogContentLbl);
    changelogContentLbl->setScrollEnabled(false);
    changelogContentLbl->setEditable(false);
    changelogContentLbl->setFont(uikit::Font::systemFont(15));
    b.wide(*changelogContentLbl);
    changelogContentLblTopConstraint =
        b.on(b.below(*changelogContentLbl, changelogVersionLbl->bottomAnchor(), 8));
    b.separator(changelogSeparator);
    changelogSeparatorTopConstraint =
        b.on(b.below(*changelogSeparator, changelogContentLbl->bottomAnchor(), 20));
    for (uikit::View* view :
         {static_cast<uikit::View*>(changelogTitle.get()),
          static_cast<uikit::View*>(changelogVersionLbl.get()),
          static_cast<uikit::View*>(changelogContentLbl.get()), changelogSeparator.get()})
        b.fallback(view->topAnchor().constraintEqualTo(topSeparator.bottomAnchor()));
    // The version and the text keep their own heights: a height of 0 would win over their text
    // when the section shows, and nothing hangs under them while it is folded.
    b.fallback(changelogTitle->heightAnchor().constraintEqualToConstant(0));
}

void PackageChangelogSection::layout(const PackagePageModel& model) {
    if (model.hasChangelog())
        return;
    const bool shown =
        !model.isInfoJson() && model.depictionsMayBeRead() && model.cydiaPackageHaveChangelog();
    for (uikit::View* view :
         {static_cast<uikit::View*>(changelogTitle.get()),
          static_cast<uikit::View*>(changelogVersionLbl.get()),
          static_cast<uikit::View*>(changelogContentLbl.get()), changelogSeparator.get()})
        view->setHidden(!shown);
    for (const auto& constraint :
         {changelogTitleTopConstraint, changelogTitleHeightConstraint,
          changelogVersionLblTopConstraint, changelogContentLblTopConstraint,
          changelogSeparatorTopConstraint})
        constraint->setActive(shown);
}

void PackageChangelogSection::paletteDidChange(const KSPalette& palette) {
    changelogTitle->setTextColor(palette.primaryTextColor());
    changelogContentLbl->setTextColor(palette.primaryTextColor());
}

void PackageChangelogSection::show(const PackagePageModel& model, bool darkMode) {
    if (!model.cydiaPackageHaveChangelog())
        return;
    if (model.changelogIsMarkdown())
        changelogContentLbl->setAttributedText(MarkdownAttributedText::attributedTextFromMarkdown(
            foundation::Value(model.changelog()), darkMode));
    else
        changelogContentLbl->setText(model.changelog());
    changelogVersionLbl->setText(model.text("version"));
}

}  // namespace corvane
