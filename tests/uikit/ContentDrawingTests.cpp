// What the kinds of views draw of their own: text, images, controls, tabs, bars, tables and web
// views, each checked where a fault would show to a person.
#include <gtest/gtest.h>

#include "support/Pixels.h"
#include "uikit/Button.h"
#include "uikit/ImageContext.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/NavigationBar.h"
#include "uikit/NavigationController.h"
#include "uikit/ProgressView.h"
#include "uikit/SegmentedControl.h"
#include "uikit/Switch.h"
#include "uikit/TabBarController.h"
#include "uikit/TableView.h"
#include "uikit/TableViewHeaderFooterView.h"
#include "uikit/TextField.h"
#include "uikit/TextView.h"
#include "uikit/ViewRenderer.h"

namespace {

using namespace uikit;
using testing_support::colorAt;
using testing_support::describe;
using testing_support::inkBounds;
using testing_support::near;
using testing_support::strongestInk;

const Color kInk = Color(0.8, 0.1, 0.4);

std::shared_ptr<View> whiteRoot(Size size) {
    auto root = std::make_shared<View>(Rect{{0, 0}, size});
    root->setBackgroundColor(Color::white());
    return root;
}

std::shared_ptr<Label> label(const Rect& frame, const std::string& text) {
    auto label = std::make_shared<Label>(frame);
    label->setText(text);
    label->setTextColor(kInk);
    return label;
}

int inkLines(const Image& image, const Rect& area) {
    // Rows of ink separated by blank rows, counted in pixels.
    int lines = 0;
    bool inLine = false;
    for (int y = static_cast<int>(area.minY() * image.scale()); y < area.maxY() * image.scale();
         ++y) {
        Rect row{area.minX(), y / image.scale(), area.width(), 1 / image.scale()};
        bool ink = inkBounds(image, Color::white(), row).has_value();
        if (ink && !inLine)
            ++lines;
        inLine = ink;
    }
    return lines;
}

TEST(LabelDrawing, TextLandsInsideTheFrameInItsColourAndStopsAtTheLineLimit) {
    auto root = whiteRoot({300, 200});
    Rect frame{20, 20, 160, 120};
    auto text = label(frame,
                      "A label draws its text where its frame says, line after "
                      "line, until the lines run out or the limit is reached.");
    text->setNumberOfLines(2);
    root->addSubview(text);

    auto image = ViewRenderer::imageOfView(*root, 2);
    auto ink = inkBounds(*image, Color::white(), root->bounds());
    ASSERT_TRUE(ink);
    EXPECT_TRUE(frame.contains(*ink)) << ink->toString();
    EXPECT_NEAR(ink->midY(), frame.midY(), 6) << "centred in the frame's height";
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), *ink), kInk))
        << describe(strongestInk(*image, Color::white(), *ink));
    EXPECT_EQ(inkLines(*image, frame), 2);

    text->setNumberOfLines(0);
    image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_GT(inkLines(*image, frame), 2);

    // More lines than the frame holds: only those that fit, the text cut inside the frame.
    text->setFrame({20, 20, 160, 30});
    image = ViewRenderer::imageOfView(*root, 2);
    ink = inkBounds(*image, Color::white(), root->bounds());
    ASSERT_TRUE(ink);
    EXPECT_TRUE(Rect(20, 20, 160, 30).contains(*ink)) << ink->toString();
}

TEST(LabelDrawing, AlignmentAndTheLastLineFollowTheLabel) {
    auto root = whiteRoot({300, 40});
    Rect frame{0, 0, 300, 40};
    auto text = label(frame, "Centre");
    root->addSubview(text);
    text->setTextAlignment(TextAlignment::center);
    auto centred = inkBounds(*ViewRenderer::imageOfView(*root, 2), Color::white(), frame);
    text->setTextAlignment(TextAlignment::right);
    auto right = inkBounds(*ViewRenderer::imageOfView(*root, 2), Color::white(), frame);
    ASSERT_TRUE(centred && right);
    EXPECT_NEAR(centred->midX(), 150, 3);
    EXPECT_NEAR(right->maxX(), 300, 3);

    // One line that does not fit ends in an ellipsis within the frame.
    text->setText("A title much too long to fit into this narrow label");
    text->setFrame({0, 0, 120, 40});
    text->setTextAlignment(TextAlignment::left);
    auto cut = inkBounds(*ViewRenderer::imageOfView(*root, 2), Color::white(), root->bounds());
    ASSERT_TRUE(cut);
    EXPECT_LE(cut->maxX(), 120);
    EXPECT_GT(cut->maxX(), 90) << "the line is filled up to the ellipsis";
}

TEST(LabelDrawing, AttributedRunsKeepTheirColours) {
    auto root = whiteRoot({200, 40});
    TextAttributes red, blue;
    red.foregroundColor = Color::systemRed();
    blue.foregroundColor = Color::systemBlue();
    AttributedString text("MMMM", red);
    text.append("MMMM", blue);
    auto shown = std::make_shared<Label>(Rect{0, 0, 200, 40});
    shown->setAttributedText(text);
    root->addSubview(shown);
    auto image = ViewRenderer::imageOfView(*root, 2);
    auto ink = inkBounds(*image, Color::white(), root->bounds());
    ASSERT_TRUE(ink);
    Rect first{ink->minX(), ink->minY(), ink->width() / 2 - 2, ink->height()};
    Rect second{ink->midX() + 2, ink->minY(), ink->width() / 2 - 2, ink->height()};
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), first), Color::systemRed()));
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), second), Color::systemBlue()));
}

// A black ring with a transparent middle.
std::shared_ptr<Image> blackRing() {
    ImageContext context({10, 10}, false, 1);
    context.fill({0, 0, 10, 4}, Color::black());
    context.fill({0, 6, 10, 4}, Color::black());
    context.fill({0, 4, 4, 2}, Color::black());
    context.fill({6, 4, 4, 2}, Color::black());
    return context.makeImage();
}

TEST(ImageDrawing, ATemplateImageTakesItsTintAndAnOriginalKeepsItsColours) {
    auto root = whiteRoot({40, 40});
    auto view = std::make_shared<ImageView>(blackRing());
    view->setFrame({0, 0, 40, 40});
    root->addSubview(view);

    auto image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_EQ(colorAt(*image, 8, 8), Color::black());
    EXPECT_EQ(colorAt(*image, 20, 20), Color::white()) << "the middle lets the background through";

    view->setImage(blackRing()->withRenderingMode(ImageRenderingMode::alwaysTemplate));
    root->setTintColor(kInk);
    image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_TRUE(near(colorAt(*image, 8, 8), kInk)) << "the tint comes down from the superview";
    EXPECT_EQ(colorAt(*image, 20, 20), Color::white()) << "only the shape takes the tint";
    view->setTintColor(Color::systemGreen());
    EXPECT_EQ(colorAt(*ViewRenderer::imageOfView(*root, 1), 8, 8), Color::systemGreen());

    // A system button, as bars make for their items, draws its images in its tint unless they
    // keep their own colours; a custom button keeps them.
    auto buttons = whiteRoot({120, 40});
    buttons->setTintColor(kInk);
    auto system = std::make_shared<Button>(ButtonType::system);
    auto original = std::make_shared<Button>(ButtonType::system);
    auto custom = std::make_shared<Button>(ButtonType::custom);
    system->setImage(blackRing());
    original->setImage(blackRing()->withRenderingMode(ImageRenderingMode::alwaysOriginal));
    custom->setImage(blackRing());
    double x = 0;
    for (const auto& button : {system, original, custom}) {
        button->setFrame({x, 0, 40, 40});
        buttons->addSubview(button);
        x += 40;
    }
    image = ViewRenderer::imageOfView(*buttons, 1);
    // Each 10-point ring sits in the middle of its 40-point button.
    EXPECT_TRUE(near(colorAt(*image, 17, 16), kInk)) << describe(colorAt(*image, 17, 16));
    EXPECT_EQ(colorAt(*image, 57, 16), Color::black());
    EXPECT_EQ(colorAt(*image, 97, 16), Color::black());
    EXPECT_EQ(system->currentImage(), system->imageForState(ControlStates::normal))
        << "the button keeps the image it was given";
}

TEST(ImageDrawing, TheContentModePlacesTheImage) {
    auto root = whiteRoot({40, 40});
    ImageContext wide({20, 10}, false, 1);
    wide.fillAll(Color::systemRed());
    auto view = std::make_shared<ImageView>(wide.makeImage());
    view->setFrame({0, 0, 40, 40});
    root->addSubview(view);

    view->setContentMode(ContentMode::scaleAspectFit);
    auto fit = inkBounds(*ViewRenderer::imageOfView(*root, 1), Color::white(), root->bounds());
    ASSERT_TRUE(fit);
    EXPECT_EQ(*fit, (Rect{0, 10, 40, 20}));

    view->setContentMode(ContentMode::topLeft);
    EXPECT_EQ(inkBounds(*ViewRenderer::imageOfView(*root, 1), Color::white(), root->bounds()),
              (Rect{0, 0, 20, 10}));

    view->setContentMode(ContentMode::scaleAspectFill);
    view->setClipsToBounds(true);
    EXPECT_EQ(inkBounds(*ViewRenderer::imageOfView(*root, 1), Color::white(), root->bounds()),
              (Rect{0, 0, 40, 40}));
}

TEST(TabDrawing, TheSelectedTabsTitleTakesTheTintAndTheOthersAreGrey) {
    auto tabs = std::make_shared<TabBarController>();
    auto first = std::make_shared<ViewController>();
    auto second = std::make_shared<ViewController>();
    first->tabBarItem()->setTitle("Featured");
    second->tabBarItem()->setTitle("Sources");
    tabs->setViewControllers({first, second});
    auto root = tabs->view();
    Color tint(0.0, 0.67, 0.88);
    root->setTintColor(tint);
    tabs->tabBar()->setBarTintColor(Color::white());
    tabs->tabBar()->setTranslucent(false);

    auto image = ViewRenderer::imageOfView(*root, 2);
    Rect bar = tabs->tabBar()->frame();
    Rect left{bar.minX(), bar.minY() + 2, bar.width() / 2, bar.height() - 2};
    Rect right{bar.midX(), bar.minY() + 2, bar.width() / 2, bar.height() - 2};
    Color selected = strongestInk(*image, Color::white(), left);
    Color other = strongestInk(*image, Color::white(), right);
    EXPECT_TRUE(near(selected, tint, 6.0 / 255)) << describe(selected);
    EXPECT_TRUE(near(other, Color::systemGray(), 6.0 / 255)) << describe(other);

    tabs->setSelectedIndex(1);
    image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), right), tint, 6.0 / 255));
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), left), Color::systemGray(), 6.0 / 255));
}

TEST(BarDrawing, ANavigationBarShowsItsImageTintOrMaterialAndItsShadowLine) {
    auto root = whiteRoot({100, 60});
    auto bar = std::make_shared<NavigationBar>();
    bar->setFrame({0, 0, 100, 44});
    root->addSubview(bar);
    Color navy(0.07, 0.11, 0.15);

    bar->setTranslucent(false);
    bar->setBarTintColor(navy);
    auto image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_TRUE(near(colorAt(*image, 50, 20), navy));
    EXPECT_NE(colorAt(*image, 50, 44.2), Color::white()) << "a hairline under the bar";

    bar->setBackgroundImage(Image::withColor(kInk));
    bar->setShadowImage(Image::empty());
    image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_TRUE(near(colorAt(*image, 50, 20), kInk)) << "the image before the tint";
    EXPECT_EQ(colorAt(*image, 50, 44.2), Color::white()) << "an empty shadow image: no line";

    bar->setBackgroundImage(Image::empty());
    image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_EQ(colorAt(*image, 50, 20), Color::white()) << "an empty image leaves the bar clear";

    bar->setBackgroundImage(nullptr);
    bar->setBarTintColor(std::nullopt);
    bar->setTranslucent(true);
    root->setBackgroundColor(Color::systemRed());
    image = ViewRenderer::imageOfView(*root, 2);
    Color translucent = colorAt(*image, 50, 20);
    EXPECT_GT(translucent.green(), 0.5) << "mostly the light material";
    EXPECT_GT(translucent.red(), translucent.green()) << "with the red behind showing through";
}

TEST(ControlDrawing, SwitchesSegmentsAndProgressShowTheirState) {
    auto root = whiteRoot({300, 100});
    auto toggle = std::make_shared<Switch>();
    toggle->setFrame({0, 0, 51, 31});
    toggle->setOnTintColor(kInk);
    auto segments = std::make_shared<SegmentedControl>(std::vector<std::string>{"A", "B"});
    segments->setFrame({100, 0, 100, 32});
    segments->setTintColor(Color::systemBlue());
    auto progress = std::make_shared<ProgressView>();
    progress->setFrame({0, 60, 200, 4});
    progress->setProgressTintColor(Color::systemGreen());
    for (const auto& view : std::vector<std::shared_ptr<View>>{toggle, segments, progress})
        root->addSubview(view);

    auto image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_FALSE(near(colorAt(*image, 6, 15), kInk)) << "off: no tint in the track";
    EXPECT_NE(colorAt(*image, 125, 4), Color::systemBlue());
    EXPECT_EQ(colorAt(*image, 50, 62), colorAt(*image, 150, 62)) << "no progress yet";

    toggle->setOn(true);
    segments->setSelectedSegmentIndex(0);
    progress->setProgress(0.5);
    image = ViewRenderer::imageOfView(*root, 2);
    EXPECT_TRUE(near(colorAt(*image, 6, 15), kInk)) << describe(colorAt(*image, 6, 15));
    EXPECT_EQ(colorAt(*image, 40, 15), Color::white()) << "the thumb on the right";
    EXPECT_EQ(colorAt(*image, 125, 4), Color::systemBlue()) << "the selected segment is filled";
    EXPECT_NE(colorAt(*image, 175, 4), Color::systemBlue());
    EXPECT_EQ(colorAt(*image, 50, 62), Color::systemGreen());
    EXPECT_NE(colorAt(*image, 150, 62), Color::systemGreen());
}

TEST(ControlDrawing, AButtonShowsTheTitleColourAndBackgroundOfItsState) {
    auto root = whiteRoot({120, 44});
    auto button = std::make_shared<Button>(ButtonType::system);
    button->setFrame({0, 0, 120, 44});
    button->setTitle("Install");
    button->setTintColor(kInk);
    button->setBackgroundImage(Image::withColor(Color::systemYellow()), ControlStates::highlighted);
    root->addSubview(button);
    auto inkOf = [&](const Color& background) {
        auto image = ViewRenderer::imageOfView(*root, 2);
        auto title = inkBounds(*image, background, root->bounds());
        return title ? strongestInk(*image, background, *title) : background;
    };

    EXPECT_TRUE(near(inkOf(Color::white()), kInk)) << describe(inkOf(Color::white()));
    button->setHighlighted(true);
    Color pressed = inkOf(Color::systemYellow());
    EXPECT_EQ(colorAt(*ViewRenderer::imageOfView(*root, 2), 2, 2), Color::systemYellow());
    EXPECT_LT(testing_support::difference(pressed, Color::systemYellow()), 0.5)
        << "the title fades while pressed: " << describe(pressed);
    button->setHighlighted(false);
    button->setEnabled(false);
    EXPECT_TRUE(near(inkOf(Color::white()), Color::systemGray(), 6.0 / 255));
}

class Rows : public TableViewDataSource {
  public:
    int numberOfRowsInSection(TableView&, int) override { return 3; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                         const IndexPath& indexPath) override {
        auto cell = table.dequeueReusableCell("row", indexPath);
        cell->textLabel()->setText("Row");
        return cell;
    }
};

TEST(TableDrawing, RowsAreSeparatedByLinesInTheSeparatorColourFromTheirInset) {
    auto rows = std::make_shared<Rows>();
    auto table = std::make_shared<TableView>(Rect{0, 0, 200, 200});
    table->setBackgroundColor(Color::white());
    table->setRowHeight(50);
    table->registerCell("row", [] { return std::make_shared<TableViewCell>(); });
    table->setDataSource(rows);
    table->setSeparatorColor(kInk);

    auto image = ViewRenderer::imageOfView(*table, 2);
    for (double y : {49.75, 99.75, 149.75}) {
        EXPECT_TRUE(near(colorAt(*image, 100, y), kInk)) << y;
        EXPECT_EQ(colorAt(*image, 5, y), Color::white()) << "inset by 15 points";
    }
    EXPECT_EQ(colorAt(*image, 100, 25), Color::white());
    EXPECT_EQ(colorAt(*image, 100, 175), Color::white()) << "no rows, no lines";

    table->setSeparatorStyle(TableView::SeparatorStyle::none);
    image = ViewRenderer::imageOfView(*table, 2);
    EXPECT_EQ(colorAt(*image, 100, 49.75), Color::white());

    table->setSeparatorStyle(TableView::SeparatorStyle::singleLine);
    table->selectRow(IndexPath::forRow(1, 0), false, TableView::ScrollPosition::none);
    image = ViewRenderer::imageOfView(*table, 2);
    EXPECT_NE(colorAt(*image, 190, 75), Color::white()) << "the selected row is highlighted";
}

TEST(TableDrawing, AHeaderGivenATintShowsItBehindItsTitle) {
    auto root = whiteRoot({200, 40});
    root->setTintColor(Color::systemBlue());
    auto header = std::make_shared<TableViewHeaderFooterView>();
    header->setFrame({0, 0, 200, 40});
    header->textLabel()->setText("A");
    header->textLabel()->setTextColor(kInk);
    root->addSubview(header);
    EXPECT_EQ(colorAt(*ViewRenderer::imageOfView(*root, 1), 190, 20), Color::white())
        << "a tint it only inherits shows nothing";

    const Color band(0.94, 0.94, 0.96);
    header->setTintColor(band);
    auto image = ViewRenderer::imageOfView(*root, 1);
    EXPECT_TRUE(near(colorAt(*image, 190, 20), band)) << describe(colorAt(*image, 190, 20));
    EXPECT_TRUE(near(strongestInk(*image, band, {0, 0, 60, 40}), kInk, 6.0 / 255))
        << "the title stands on the band";

    header->setBackgroundColor(Color::systemYellow());
    EXPECT_EQ(colorAt(*ViewRenderer::imageOfView(*root, 1), 190, 20), Color::systemYellow());
}

TEST(TextDrawing, ATextViewDrawsTheLinesInSightAtItsOffset) {
    auto view = std::make_shared<TextView>(Rect{0, 0, 200, 100});
    view->setBackgroundColor(Color::white());
    std::string text;
    for (int line = 0; line < 40; ++line)
        text += "Line " + std::to_string(line) + "\n";
    view->setText(text);
    view->setTextColor(kInk);
    view->setText(text);

    auto image = ViewRenderer::imageOfView(*view, 2);
    auto ink = inkBounds(*image, Color::white(), view->bounds());
    ASSERT_TRUE(ink);
    EXPECT_NEAR(ink->minY(), view->textContainerInset().top, 6);
    EXPECT_GE(ink->maxY(), 95) << "lines down to the bottom edge";
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), *ink), kInk));

    Rect top{0, 0, 200, 20};
    auto before = inkBounds(*image, Color::white(), top);
    view->setContentOffset({0, 300});
    auto after = inkBounds(*ViewRenderer::imageOfView(*view, 2), Color::white(), top);
    ASSERT_TRUE(before && after);
    EXPECT_GT(after->width(), before->width()) << "\"Line 2x\" is wider than \"Line 0\"";
}

TEST(TextDrawing, AFieldShowsItsTextOrItsPlaceholderAndHidesASecret) {
    auto field = std::make_shared<TextField>(Rect{0, 0, 200, 30});
    field->setBackgroundColor(Color::white());
    field->setTextColor(kInk);
    EXPECT_FALSE(inkBounds(*ViewRenderer::imageOfView(*field, 2), Color::white(), field->bounds()));

    field->setPlaceholder("Search");
    auto image = ViewRenderer::imageOfView(*field, 2);
    auto placeholder = inkBounds(*image, Color::white(), field->bounds());
    ASSERT_TRUE(placeholder);
    Color grey = strongestInk(*image, Color::white(), *placeholder);
    EXPECT_NEAR(grey.red(), grey.blue(), 0.02) << describe(grey);

    field->setText("secret");
    field->setSecureTextEntry(true);
    image = ViewRenderer::imageOfView(*field, 2);
    auto dots = inkBounds(*image, Color::white(), field->bounds());
    ASSERT_TRUE(dots);
    EXPECT_TRUE(near(strongestInk(*image, Color::white(), *dots), kInk));
    field->setSecureTextEntry(false);
    auto plain = inkBounds(*ViewRenderer::imageOfView(*field, 2), Color::white(), field->bounds());
    ASSERT_TRUE(plain);
    EXPECT_LT(dots->height(), plain->height()) << "dots, not letters";
}

}  // namespace
