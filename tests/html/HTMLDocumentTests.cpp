#include "html/HTMLDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace std::literals;
using html::HTMLDocument;
using html::HTMLElement;

std::vector<std::string> ids(const std::vector<HTMLElement>& elements) {
    std::vector<std::string> result;
    for (const auto& element : elements)
        result.push_back(element.attribute("id").value_or("?"));
    return result;
}

// The text of the document's body, or what is missing.
std::string bodyText(const std::shared_ptr<const HTMLDocument>& document) {
    if (!document)
        return "(no document)";
    const auto body = document->body();
    return body ? body->textContent() : "(no body)";
}

const char* kPage = R"(<!DOCTYPE html>
<html><head><title>  Tweak
   Depiction </title></head>
<body>
  <div id="main" class="panel wide">
    <p id="p1" class="note">First &amp; <a id="a1" href="/one" data-kind="pkg">one</a></p>
    <section id="s1"><p id="p2">Second <a id="a2" href="https://example.org/two">two</a></p></section>
  </div>
  <p id="p3" class="note">Outside <a id="a3" href="three" target="_blank">three</a></p>
</body></html>)";

TEST(HTMLDocument, SelectorsFindElementsByClassIdDescendantAndAttribute) {
    auto document = HTMLDocument::parse(kPage);
    ASSERT_TRUE(document);

    EXPECT_EQ(ids(document->querySelectorAll(".note")), (std::vector<std::string>{"p1", "p3"}));
    EXPECT_EQ(ids(document->querySelectorAll("#main a")), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(ids(document->querySelectorAll("div.panel > p")), (std::vector<std::string>{"p1"}));
    EXPECT_EQ(ids(document->querySelectorAll("a[target=_blank]")),
              (std::vector<std::string>{"a3"}));
    EXPECT_EQ(ids(document->querySelectorAll("a[href^=https]")), (std::vector<std::string>{"a2"}));
    EXPECT_EQ(ids(document->querySelectorAll("a[data-kind]")), (std::vector<std::string>{"a1"}));
    // A selector list answers in document order, each element once.
    EXPECT_EQ(ids(document->querySelectorAll("#a3, p a, #p1")),
              (std::vector<std::string>{"p1", "a1", "a2", "a3"}));

    auto first = document->querySelector("p.note");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->attribute("id"), "p1");
    EXPECT_FALSE(document->querySelector("blink"));
    EXPECT_TRUE(document->querySelectorAll("p[[").empty());
}

// The selector engine would follow the empty parts of a function cut short into nothing.
TEST(HTMLDocument, AListCutShortMatchesNothing) {
    auto document = HTMLDocument::parse(kPage);
    ASSERT_TRUE(document);
    for (const char* selectors : {"p:not(", "p:has(", "p:contains(one", "p:not(.note, ",
                                  ":not(:not(", "a[href", "a[href='x)']:not(", "p)", "p:not(]"}) {
        EXPECT_TRUE(document->querySelectorAll(selectors).empty()) << selectors;
        EXPECT_FALSE(document->querySelector(selectors)) << selectors;
    }
    EXPECT_EQ(ids(document->querySelectorAll("p:not(.note)")), (std::vector<std::string>{"p2"}));
    EXPECT_EQ(ids(document->querySelectorAll("a[href='three'], a[data-kind=\"p(k\"], p:has(#a2)")),
              (std::vector<std::string>{"p2", "a3"}));
}

TEST(HTMLDocument, ElementsReadTheirTagAttributesTextAndMarkup) {
    auto document = HTMLDocument::parse(kPage);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->title(), "Tweak Depiction");

    auto main = document->querySelector("#main");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->tagName(), "div");
    EXPECT_EQ(main->attribute("CLASS"), "panel wide");
    EXPECT_FALSE(main->attribute("style"));
    EXPECT_EQ(main->attributes(), (std::vector<std::pair<std::string, std::string>>{
                                      {"id", "main"}, {"class", "panel wide"}}));
    auto children = main->children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[1].tagName(), "section");
    EXPECT_EQ(children[1].parentElement(), main);

    auto p1 = document->querySelector("#p1");
    ASSERT_TRUE(p1);
    EXPECT_EQ(p1->textContent(), "First & one");
    EXPECT_EQ(p1->innerHTML(), R"(First &amp; <a id="a1" href="/one" data-kind="pkg">one</a>)");
    const auto a1 = p1->querySelector("a");
    ASSERT_TRUE(a1);
    EXPECT_EQ(a1->outerHTML(), R"(<a id="a1" href="/one" data-kind="pkg">one</a>)");
    // Scoped queries look only below the element, never at the element itself.
    EXPECT_EQ(ids(main->querySelectorAll("p")), (std::vector<std::string>{"p1", "p2"}));
    EXPECT_TRUE(p1->querySelectorAll("p").empty());
}

TEST(HTMLDocument, ContentsInterleaveTextAndElementsWithoutComments) {
    auto document = HTMLDocument::parse("<p id=\"p\">one <!-- note --><b>two</b> three</p>");
    ASSERT_TRUE(document);
    const auto p = document->querySelector("#p");
    const auto b = document->querySelector("b");
    ASSERT_TRUE(p && b);
    auto contents = p->contents();
    ASSERT_EQ(contents.size(), 3u);
    EXPECT_EQ(std::get<std::string>(contents[0]), "one ");
    EXPECT_EQ(std::get<HTMLElement>(contents[1]).tagName(), "b");
    EXPECT_EQ(std::get<std::string>(contents[2]), " three");
    EXPECT_EQ(b->contents(), (std::vector<html::HTMLContent>{std::string("two")}));
}

TEST(HTMLDocument, BrokenAndTruncatedMarkupStillParses) {
    // The last two: a UTF-16 byte-order mark followed by nothing, and by half a code unit.
    for (std::string_view text :
         {""sv, "<"sv, "<div"sv, "<a href=\"x"sv, "<p>one<p>two</div></span><table><td>cell"sv,
          "<!-- unterminated"sv, "<script>if (a < b) {"sv, "<svg><title>x"sv, "\xff\xfe"sv,
          "\xff\xfe<"sv}) {
        auto document = HTMLDocument::parse(text);
        ASSERT_TRUE(document) << text;
        EXPECT_EQ(document->documentElement().tagName(), "html");
        EXPECT_TRUE(document->body());
        EXPECT_FALSE(document->isTruncated());
    }
    auto paragraphs = HTMLDocument::parse("<p>one<p>two<div>three");
    ASSERT_TRUE(paragraphs);
    EXPECT_EQ(paragraphs->querySelectorAll("body > p").size(), 2u);
    EXPECT_EQ(bodyText(paragraphs), "onetwothree");
}

TEST(HTMLDocument, CharacterSetComesFromTheContentTypeOrTheDocument) {
    const std::string latin1 = "<p>Caf\xe9</p>";
    EXPECT_EQ(bodyText(HTMLDocument::parse(latin1, "text/html; charset=iso-8859-1")),
              "Caf\xc3\xa9");
    const std::string declared = "<meta charset=\"windows-1252\"><p>Caf\xe9</p>";
    EXPECT_EQ(bodyText(HTMLDocument::parse(declared)), "Caf\xc3\xa9");
    EXPECT_EQ(bodyText(HTMLDocument::parse("\xef\xbb\xbf<p>\xc3\xa9</p>",
                                           "text/html; charset=iso-8859-1")),
              "\xc3\xa9");
}

TEST(HTMLDocument, HostileInputIsRefusedOrCutShort) {
    EXPECT_FALSE(HTMLDocument::parse(std::string(HTMLDocument::kMaximumBytes + 1, ' ')));

    std::string deep;
    for (int i = 0; i < 200'000; ++i)
        deep += "<div>";
    auto nested = HTMLDocument::parse(deep + "end");
    ASSERT_TRUE(nested);
    EXPECT_TRUE(nested->isTruncated());
    EXPECT_FALSE(bodyText(nested).ends_with("end"));
    EXPECT_FALSE(nested->querySelectorAll("div div").empty());

    std::string many;
    for (int i = 0; i < 300'000; ++i)
        many += "<p><b><i><u><s>x</p>";
    auto multiplied = HTMLDocument::parse(many);
    ASSERT_TRUE(multiplied);
    EXPECT_TRUE(multiplied->isTruncated());
}

TEST(HTMLDocument, ElementsKeepTheirDocumentAlive) {
    std::optional<HTMLElement> link;
    {
        auto document = HTMLDocument::parse(kPage);
        ASSERT_TRUE(document);
        link = document->querySelector("#a2");
    }
    ASSERT_TRUE(link);
    EXPECT_EQ(link->attribute("href"), "https://example.org/two");
    const auto parent = link->parentElement();
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->attribute("id"), "p2");
}

}  // namespace
