#include "uikit/HTMLImporter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace uikit;

AttributedString imported(std::string_view html, std::optional<std::string> base = {}) {
    HTMLImporter importer;
    if (base)
        importer.setBaseURL(foundation::URL::withString(*base));
    auto text = importer.attributedString(html);
    EXPECT_TRUE(text) << html;
    return text.value_or(AttributedString());
}

// The attributes of the first occurrence of a fragment of text.
TextAttributes attributesOf(const AttributedString& text, std::string_view fragment) {
    std::size_t at = text.string().find(fragment);
    EXPECT_NE(at, std::string::npos) << fragment << " in " << text.string();
    return text.attributesAt(at == std::string::npos ? 0 : at);
}

TEST(HTMLImporter, LinksKeepTheirTargetsResolvedAgainstTheBase) {
    auto text = imported(
        "<p>See <a href=\"https://example.org/a?b=1\">the site</a>, "
        "<a href=\"/depiction/tweak\">the page</a> and <a href=\"javascript:alert(1)\">this</a> "
        "or <a href=\"file:///etc/passwd\">that</a>.</p>",
        "https://repo.example.com/sub/index.html");
    EXPECT_EQ(text.string(), "See the site, the page and this or that.\n");
    EXPECT_EQ(text.links(), (std::vector<std::pair<TextRange, std::string>>{
                                {{4, 8}, "https://example.org/a?b=1"},
                                {{14, 8}, "https://repo.example.com/depiction/tweak"}}));
    EXPECT_EQ(attributesOf(text, "the site").underlineStyle, UnderlineStyle::single);
    EXPECT_FALSE(attributesOf(text, "See").underlineStyle);

    // Without a base a relative link has nothing to resolve against.
    EXPECT_TRUE(imported("<a href=\"relative/page\">x</a>").links().empty());
}

TEST(HTMLImporter, ListsKeepTheirOrderAndIndentNestedLevels) {
    auto text = imported(
        "<ol><li>first</li><li>second<ul><li>inner one</li><li>inner two</li></ul></li>"
        "<li>third</li></ol><ol start=\"7\"><li>seventh</li><li>eighth</li></ol>"
        "<ul><li>dot</li></ul>");
    EXPECT_EQ(text.string(),
              "1. first\n"
              "2. second\n"
              "\u2022 inner one\n"
              "\u2022 inner two\n"
              "3. third\n"
              "7. seventh\n"
              "8. eighth\n"
              "\u2022 dot\n");
    // The marker starts a level less in than the item's text, under which its lines hang.
    auto indents = [&](std::string_view fragment) {
        auto style = attributesOf(text, fragment).paragraphStyle.value_or(ParagraphStyle{});
        return std::pair(style.firstLineHeadIndent, style.headIndent);
    };
    auto outer = indents("1. first"), inner = indents("\u2022 inner two");
    EXPECT_EQ(outer.first, 0);
    EXPECT_GT(outer.second, 0);
    EXPECT_EQ(inner, std::pair(outer.second, 2 * outer.second));
    EXPECT_EQ(indents("third"), outer) << "the whole item, marker and text, is one paragraph";

    HTMLImporter importer;
    auto item = importer.attributedString("<ul><li>" + std::string(40, 'w') + " tail</li></ul>");
    ASSERT_TRUE(item);
    Font font = importer.defaultFont();
    Size size = item->boundingSize(200, 0, font);
    EXPECT_GT(size.height, font.lineHeight() * 1.5) << "the item wraps";
    EXPECT_LE(size.width, 200);
}

TEST(HTMLImporter, ImagesScriptsAndStylesLeaveNoTrace) {
    auto text = imported(
        "<html><head><title>T</title><style>p { color: red }</style>"
        "<script>document.write('head')</script></head><body>"
        "<p>before<img src=\"http://127.0.0.1:1/tracker.png\" alt=\"ALT\">after</p>"
        "<script>alert('<b>x</b>')</script><noscript>enable</noscript>"
        "<iframe src=\"http://127.0.0.1:1/\">frame</iframe><p>end</p></body></html>");
    EXPECT_EQ(text.string(), "beforeafter\nend\n");
}

TEST(HTMLImporter, WhiteSpaceCollapsesAndEntitiesDecode) {
    EXPECT_EQ(
        imported("  <p>  one \n\t two  </p>\n\n<p> three&nbsp;&amp;&lt;four&gt; </p> ").string(),
        "one two\nthree\u00a0&<four>\n");
    EXPECT_EQ(imported("a<br>b<br><br>c").string(), "a\nb\n\nc");
    EXPECT_EQ(imported("<p>x</p><br /><p>y</p>").string(), "x\n\ny\n");
    EXPECT_EQ(imported("<pre>\n  keep   this\n\tand this</pre>after").string(),
              "  keep   this\n\tand this\nafter");
    auto quote = imported("<blockquote>said<br>twice</blockquote>after");
    EXPECT_EQ(quote.string(), "said\ntwice\nafter");
    auto quoteStyle = attributesOf(quote, "twice").paragraphStyle.value_or(ParagraphStyle{});
    EXPECT_GT(quoteStyle.firstLineHeadIndent, 0);
    EXPECT_EQ(quoteStyle.headIndent, quoteStyle.firstLineHeadIndent);
    EXPECT_EQ(attributesOf(quote, "after").paragraphStyle.value_or(ParagraphStyle{}),
              ParagraphStyle{});
    Font font = HTMLImporter().defaultFont();
    EXPECT_DOUBLE_EQ(quote.substring({0, 4}).boundingSize(0, 0, font).width,
                     quoteStyle.firstLineHeadIndent + font.sizeOfText("said").width);
    EXPECT_EQ(imported("").string(), "");
}

TEST(HTMLImporter, ElementsSetFontsAndSpansSetFamilySizeAndColour) {
    auto text = imported(
        "<h1>Title</h1><h3>Sub</h3><p>plain <em>slanted</em> <strong>heavy</strong> "
        "<code>mono</code></p>"
        "<span style=\"font-size: 20px; color: #f00\">big red</span>"
        "<span style=\"font-size:12pt;color:rgb(0, 128, 255)\">points</span>"
        "<span style=\"font-family: 'No Such Face', monospace; color: #00ff00\">fixed</span>"
        "<span style=\"color: navy; font-size: nonsense\">named</span>");
    EXPECT_EQ(attributesOf(text, "Title").font, Font::boldSystemFont(24));
    EXPECT_EQ(attributesOf(text, "Sub").font, Font::boldSystemFont(12 * 1.17));
    EXPECT_EQ(attributesOf(text, "plain").font, Font::systemFont(12));
    EXPECT_EQ(attributesOf(text, "slanted").font, Font::italicSystemFont(12));
    EXPECT_EQ(attributesOf(text, "heavy").font, Font::boldSystemFont(12));
    EXPECT_EQ(attributesOf(text, "mono").font->family(), "DejaVu Sans Mono");

    EXPECT_EQ(attributesOf(text, "big red").font, Font::systemFont(20));
    EXPECT_EQ(attributesOf(text, "big red").foregroundColor, Color(1, 0, 0));
    EXPECT_EQ(attributesOf(text, "points").font, Font::systemFont(16));
    EXPECT_EQ(attributesOf(text, "points").foregroundColor, Color::fromBytes(0, 128, 255));
    EXPECT_EQ(attributesOf(text, "fixed").font->family(), "DejaVu Sans Mono");
    EXPECT_EQ(attributesOf(text, "fixed").foregroundColor, Color(0, 1, 0));
    EXPECT_EQ(attributesOf(text, "named").foregroundColor, Color::fromBytes(0, 0, 128));
    EXPECT_EQ(attributesOf(text, "named").font, Font::systemFont(12));
    EXPECT_FALSE(attributesOf(text, "plain").foregroundColor);
    for (const auto& run : text.runs())
        EXPECT_TRUE(run.attributes.paragraphStyle);
}

TEST(HTMLImporter, BoldAndItalicCombineAndKeepTheFamily) {
    auto text = imported(
        "<p><b><i>both</i></b> <em><strong>again</strong></em> <code><b>heavy code</b></code> "
        "<i><code>slanted code</code></i> <span style=\"font-family: serif\"><b><em>serif "
        "both</em></b></span></p><h2><em>heading</em></h2>");
    for (const char* fragment : {"both", "again"}) {
        auto font = attributesOf(text, fragment).font;
        ASSERT_TRUE(font) << fragment;
        EXPECT_EQ(font->family(), Font::kSystemFamily) << fragment;
        EXPECT_TRUE(font->isBold()) << fragment;
        EXPECT_TRUE(font->isItalic()) << fragment;
        EXPECT_EQ(font->pointSize(), 12) << fragment;
    }
    auto heavyCode = attributesOf(text, "heavy code").font;
    ASSERT_TRUE(heavyCode);
    EXPECT_EQ(heavyCode->family(), "DejaVu Sans Mono");
    EXPECT_TRUE(heavyCode->isBold());
    EXPECT_FALSE(heavyCode->isItalic());
    auto slantedCode = attributesOf(text, "slanted code").font;
    ASSERT_TRUE(slantedCode);
    EXPECT_EQ(slantedCode->family(), "DejaVu Sans Mono");
    EXPECT_FALSE(slantedCode->isBold());
    EXPECT_TRUE(slantedCode->isItalic());
    auto serif = attributesOf(text, "serif both").font;
    ASSERT_TRUE(serif);
    EXPECT_EQ(serif->family(), "DejaVu Serif");
    EXPECT_TRUE(serif->isBold() && serif->isItalic());
    EXPECT_EQ(attributesOf(text, "heading").font, Font::boldSystemFont(18).withItalic(true));
}

TEST(HTMLImporter, WrappedMarkdownTakesTheWrapperStyle) {
    HTMLImporter importer;
    auto text = importer.attributedString(
        "<span style=\"font-family: -apple-system; font-size: 15.0; color:white\">"
        "<br /><h2>Features</h2><br /><p>Fast &amp; <em>small</em></p></span>");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->string(), "\nFeatures\n\nFast & small\n");
    EXPECT_EQ(attributesOf(*text, "Features").font, Font::boldSystemFont(22.5));
    EXPECT_EQ(attributesOf(*text, "Fast").font, Font::systemFont(15));
    EXPECT_EQ(attributesOf(*text, "small").font, Font::italicSystemFont(15));
    EXPECT_EQ(attributesOf(*text, "Fast").foregroundColor, Color::white());
}

TEST(HTMLImporter, TextAlignBecomesTheParagraphStyle) {
    auto text = imported("<p style=\"text-align: center\">middle</p><p>edge</p>");
    EXPECT_EQ(attributesOf(text, "middle").paragraphStyle->alignment, TextAlignment::center);
    EXPECT_EQ(attributesOf(text, "edge").paragraphStyle->alignment, TextAlignment::natural);
}

TEST(HTMLImporter, HostileInputIsRefusedOrCutShort) {
    HTMLImporter importer;
    EXPECT_FALSE(importer.attributedString(std::string(HTMLImporter::kMaximumBytes + 1, 'x')));

    std::string deep;
    while (deep.size() < HTMLImporter::kMaximumBytes - 100)
        deep += "<blockquote><b>";
    auto nested = importer.attributedString(deep + "end");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->string().find("end"), std::string::npos);

    auto broken = importer.attributedString("<ul><li>one<li>two<ol><li><a href=\"http://x");
    ASSERT_TRUE(broken);
    // The tag cut off at the end is dropped, as HTML drops it; its list item stays, empty.
    EXPECT_EQ(broken->string(), "\u2022 one\n\u2022 two\n1. \n");

    // However deep quotes nest, their text keeps some room on the line.
    std::string quotes;
    for (int level = 0; level < 200; ++level)
        quotes += "<blockquote>";
    auto quoted = importer.attributedString(quotes + "deep");
    ASSERT_TRUE(quoted);
    auto style = attributesOf(*quoted, "deep").paragraphStyle.value_or(ParagraphStyle{});
    EXPECT_GT(style.headIndent, 0);
    EXPECT_LE(style.headIndent, 160);
}

}  // namespace
