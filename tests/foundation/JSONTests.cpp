#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "foundation/JSON.h"

using namespace foundation;

namespace {

void expectReadError(const Result<Value>& result, const std::string& document) {
    ASSERT_FALSE(result.ok()) << "accepted: " << document.substr(0, 80);
    EXPECT_EQ(result.error().domain, "NSCocoaErrorDomain");
    EXPECT_EQ(result.error().code, 3840);
    EXPECT_FALSE(result.error().localizedDescription().empty());
}

const char* kSample = R"({"name": "Caf\u00e9 \ud83d\ude00", "size": 12, "ratio": 0.5,
    "tags": ["a", null, true, false, -7], "nested": {"empty": {}, "list": [[1], [2, [3]]]}})";

}  // namespace

TEST(JSON, NullAndAbsentStayDistinctBothWays) {
    auto document = JSON::parse(R"({"description": null, "name": "x"})");
    ASSERT_TRUE(document.ok());
    EXPECT_TRUE((*document)["description"].isNull());
    EXPECT_TRUE(document->contains("description"));
    EXPECT_TRUE((*document)["depiction"].isNil());
    EXPECT_FALSE(document->contains("depiction"));

    Value value(Dictionary{{"null", Value::null()},
                           {"nil", Value()},
                           {"list", Value(Array{1, Value(), Value::null()})}});
    std::string text = JSON::serialize(value);
    EXPECT_EQ(text, R"({"list":[1,null],"null":null})");
    auto back = JSON::parse(text);
    ASSERT_TRUE(back.ok());
    EXPECT_TRUE((*back)["null"].isNull());
    EXPECT_FALSE(back->contains("nil"));
}

TEST(JSON, NumbersBecomeIntegersWhenTheyFitElseReals) {
    auto document = JSON::parse(
        "[3, -9223372036854775808, 9223372036854775807, 9223372036854775808, 12.5, 1e3, true]");
    ASSERT_TRUE(document.ok());
    const Value& list = *document;
    EXPECT_EQ(list.array()[0].type(), Value::Type::Integer);
    EXPECT_EQ(list[1].integerValue(), INT64_MIN);
    EXPECT_EQ(list[2].integerValue(), INT64_MAX);
    EXPECT_EQ(list[3].type(), Value::Type::Real);
    EXPECT_DOUBLE_EQ(list[3].doubleValue(), 9223372036854775808.0);
    EXPECT_EQ(list[4].type(), Value::Type::Real);
    EXPECT_EQ(list[5].type(), Value::Type::Real);
    EXPECT_EQ(list[6].type(), Value::Type::Boolean);

    expectReadError(JSON::parse("[1e400]"), "[1e400]");
    EXPECT_EQ(JSON::serialize(Value(Array{Value(INFINITY)})), "[null]");
}

TEST(JSON, TextsAreUTF8AndInvalidUTF8IsAnErrorOnInput) {
    auto document = JSON::parse(R"(["h\u00e9", "\ud83d\ude00", "日本"])");
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(*document->array()[0].string(), "h\xC3\xA9");
    EXPECT_EQ(*(*document)[1].string(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(*(*document)[2].string(), "日本");

    for (std::string bad : {"[\"a\xFF\"]", "[\"\xC3\"]", "[\"\xED\xA0\x80\"]", R"(["\ud800"])"})
        expectReadError(JSON::parse(bad), bad);

    // What the code itself holds is written anyway, with the broken bytes replaced.
    EXPECT_EQ(JSON::serialize(Value("a\xFF"
                                    "b")),
              "\"a\xEF\xBF\xBD"
              "b\"");
}

TEST(JSON, DataIsWrittenAsBase64AndDatesAsSecondsSince1970) {
    Value value(Dictionary{{"data", Value(Bytes{'h', 'i', '!', '?', 0})},
                           {"empty", Value(Bytes{})},
                           {"when", Value::date(1700000000.5)}});
    EXPECT_EQ(JSON::serialize(value), R"({"data":"aGkhPwA=","empty":"","when":1700000000.5})");
}

TEST(JSON, RoundTripsNestedDocumentsCompactAndPretty) {
    auto document = JSON::parse(kSample);
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(*(*document)["name"].string(), "Caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ((*document)["nested"]["list"][1][1].array().front().integerValue(), 3);
    EXPECT_TRUE((*document)["tags"][1].isNull());

    for (bool pretty : {false, true}) {
        std::string text = JSON::serialize(*document, pretty);
        EXPECT_EQ(text.find('\n') != std::string::npos, pretty);
        auto back = JSON::parse(text);
        ASSERT_TRUE(back.ok()) << text;
        EXPECT_EQ(*back, *document);
    }
    auto fromBytes = JSON::parse(Bytes(kSample, kSample + std::strlen(kSample)));
    ASSERT_TRUE(fromBytes.ok());
    EXPECT_EQ(*fromBytes, *document);
}

TEST(JSON, MalformedTruncatedOrMutatedDocumentsGiveErrorsNotCrashes) {
    for (std::string bad : {"", " ", "{", "[1,]", R"({"a" 1})", "nul", "[1] x", R"({"a":1,})",
                            "\"abc", "01", "[NaN]", "{1: 2}", "[\"a\nb\"]"})
        expectReadError(JSON::parse(bad), bad);

    std::string sample = kSample;
    for (std::size_t length = 0; length < sample.size(); ++length)
        expectReadError(JSON::parse(sample.substr(0, length)), sample.substr(0, length));

    std::mt19937 random(20261206);
    for (int round = 0; round < 500; ++round) {
        std::string mutated = sample;
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            mutated[random() % mutated.size()] = static_cast<char>(random() % 256);
        auto result = JSON::parse(mutated);
        if (!result.ok()) {
            EXPECT_EQ(result.error().code, 3840);
        }
    }
}

TEST(JSON, NestingIsLimitedSoADepthBombFailsCleanly) {
    std::string bomb = std::string(100000, '[') + std::string(100000, ']');
    expectReadError(JSON::parse(bomb), "deep array");
    expectReadError(JSON::parse(std::string(100000, '[')), "unclosed deep array");
    std::string objects;
    for (int i = 0; i < 100000; ++i)
        objects += R"({"a":)";
    expectReadError(JSON::parse(objects + "1" + std::string(100000, '}')), "deep object");

    auto deepest = [](std::size_t depth) {
        return std::string(depth, '[') + std::string(depth, ']');
    };
    EXPECT_TRUE(JSON::parse(deepest(JSON::kMaximumDepth)).ok());
    expectReadError(JSON::parse(deepest(JSON::kMaximumDepth + 1)), "one level too deep");
}
