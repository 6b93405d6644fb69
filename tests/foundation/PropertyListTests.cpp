#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>

#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "foundation/PropertyList.h"
#include "support/TempDeviceRoot.h"

using namespace foundation;
using testing_support::TempDeviceRoot;

namespace {

Value sample() {
    return Value(Dictionary{
        {"yes", true},
        {"no", false},
        {"zero", 0},
        {"negative", -1},
        {"biggest", INT64_MAX},
        {"smallest", INT64_MIN},
        {"beyond32Bits", 4294967296LL},
        {"real", 12.5},
        {"negativeReal", -0.25},
        {"empty", ""},
        {"unicode", "Caf\xC3\xA9 日本 \xF0\x9F\x98\x80"},
        {"data", Value(Bytes{0, 1, 2, 0xFF, 'x'})},
        {"noData", Value(Bytes{})},
        {"released", Value::date(Date::fromUTC(2026, 12, 6, 20, 53, 7))},
        {"beforeReference", Value::date(Date::fromUTC(1999, 2, 3, 4, 5, 6))},
        {"before1970", Value::date(Date::fromUTC(1950, 6, 15, 12))},
        {"list", Value(Array{1, "two", Value(Array{}),
                             Value(Dictionary{{"deep", Value(Array{3.5, Value(Dictionary{})})}})})},
        {"ключ 🔑", Value(Dictionary{{"", "empty key"}})},
    });
}

Value nested(std::size_t depth) {
    Value value(Array{});
    for (std::size_t i = 0; i < depth - 1; ++i)
        value = Value(Array{value});
    return value;
}

std::string text(const Bytes& data) {
    return std::string(data.begin(), data.end());
}

Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

void appendBigEndian(Bytes& data, std::uint64_t value, int size) {
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
        data.push_back(static_cast<std::uint8_t>(value >> shift));
}

Bytes arrayObject(const std::vector<std::uint32_t>& references) {
    Bytes object{static_cast<std::uint8_t>(0xA0 | references.size())};
    for (std::uint32_t reference : references)
        appendBigEndian(object, reference, 4);
    return object;
}

// A binary list built object by object, the top object first, so that a test can give it a
// shape that no writer would.
Bytes binaryList(std::size_t count, const std::function<Bytes(std::uint32_t)>& object) {
    Bytes data = bytes("bplist00");
    std::vector<std::uint64_t> offsets;
    for (std::uint32_t i = 0; i < count; ++i) {
        offsets.push_back(data.size());
        Bytes body = object(i);
        data.insert(data.end(), body.begin(), body.end());
    }
    std::uint64_t table = data.size();
    for (std::uint64_t offset : offsets)
        appendBigEndian(data, offset, 4);
    data.insert(data.end(), 6, 0);
    data.push_back(4);
    data.push_back(4);
    appendBigEndian(data, count, 8);
    appendBigEndian(data, 0, 8);
    appendBigEndian(data, table, 8);
    return data;
}

void expectReadError(const Result<Value>& result) {
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().domain, "NSCocoaErrorDomain");
    EXPECT_EQ(result.error().code, PropertyList::kReadCorruptErrorCode);
}

void expectWriteRefused(const Value& value) {
    for (auto result : {PropertyList::writeXML(value).ok(), PropertyList::writeBinary(value).ok()})
        EXPECT_FALSE(result);
    auto error = PropertyList::writeXML(value).error();
    EXPECT_EQ(error.domain, "NSCocoaErrorDomain");
    EXPECT_EQ(error.code, PropertyList::kWriteInvalidErrorCode);
}

}  // namespace

TEST(PropertyList, EveryTypeRoundTripsThroughXMLAndBinary) {
    Value value = sample();
    auto xml = PropertyList::writeXML(value);
    ASSERT_TRUE(xml.ok()) << xml.error().localizedDescription();
    EXPECT_TRUE(xml->starts_with("<?xml"));
    // What other readers see: dates in UTC, integers at full width.
    EXPECT_NE(xml->find("<date>2026-12-06T20:53:07Z</date>"), std::string::npos);
    EXPECT_NE(xml->find("<date>1950-06-15T12:00:00Z</date>"), std::string::npos);
    EXPECT_NE(xml->find("<integer>-9223372036854775808</integer>"), std::string::npos);
    EXPECT_NE(xml->find("<integer>9223372036854775807</integer>"), std::string::npos);
    auto fromXML = PropertyList::read(bytes(*xml));
    ASSERT_TRUE(fromXML.ok()) << fromXML.error().localizedDescription();
    EXPECT_EQ(*fromXML, value);

    auto binary = PropertyList::writeBinary(value);
    ASSERT_TRUE(binary.ok()) << binary.error().localizedDescription();
    EXPECT_TRUE(text(*binary).starts_with("bplist00"));
    auto fromBinary = PropertyList::read(*binary);
    ASSERT_TRUE(fromBinary.ok()) << fromBinary.error().localizedDescription();
    EXPECT_EQ(*fromBinary, value);
    EXPECT_EQ((*fromBinary)["smallest"].type(), Value::Type::Integer);
    EXPECT_EQ((*fromBinary)["real"].type(), Value::Type::Real);
}

TEST(PropertyList, BinaryKeepsFractionsOfSecondsAroundTheReferenceDate) {
    double reference = Date::fromUTC(2001, 1, 1);
    for (double offset : {-0.5, 0.25, -99.75, -1.0, 100000000.125, -0.000001}) {
        Value value = Value::date(reference + offset);
        auto binary = PropertyList::writeBinary(value);
        ASSERT_TRUE(binary.ok());
        auto back = PropertyList::read(*binary);
        ASSERT_TRUE(back.ok());
        const auto date = back->dateValue();
        ASSERT_TRUE(date);
        EXPECT_NEAR(date->secondsSince1970, reference + offset, 1e-6) << "offset " << offset;
    }
}

TEST(PropertyList, UnsignedIntegersBeyondTheSignedRangeReadAsReals) {
    auto value = PropertyList::read(
        bytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><array>"
              "<integer>18446744073709551615</integer><integer>-1</integer></array></plist>"));
    ASSERT_TRUE(value.ok());
    EXPECT_EQ((*value)[1].type(), Value::Type::Integer);
    EXPECT_EQ((*value)[1].integerValue(), -1);
    const Value& big = value->array().front();
    EXPECT_EQ(big.type(), Value::Type::Real);
    EXPECT_DOUBLE_EQ(big.doubleValue(), 18446744073709551615.0);

    auto binary = PropertyList::writeBinary(big);
    ASSERT_TRUE(binary.ok());
    EXPECT_EQ(PropertyList::read(*binary).valueOr(Value()), big);
}

TEST(PropertyList, NullMarkerIsRefusedAndNilEntriesAreLeftOut) {
    expectWriteRefused(Value(Dictionary{{"a", Value::null()}}));
    expectWriteRefused(Value(Array{1, Value(Array{Value::null()})}));
    expectWriteRefused(Value());
    expectWriteRefused(Value(std::string("a\0b", 3)));
    expectWriteRefused(Value(Dictionary{{std::string("k\0", 2), 1}}));
    expectWriteRefused(Value("bad \xFF UTF-8"));
    expectWriteRefused(Value::date(Date::fromUTC(2100, 1, 1)));
    expectWriteRefused(Value::date(Date::fromUTC(1900, 1, 1)));

    Value withNil(Dictionary{{"kept", 1}, {"absent", Value()}, {"list", Value(Array{Value(), 2})}});
    const auto xml = PropertyList::writeXML(withNil);
    const auto binary = PropertyList::writeBinary(withNil);
    ASSERT_TRUE(xml.ok() && binary.ok());
    for (const Bytes& data : {bytes(*xml), *binary}) {
        auto back = PropertyList::read(data);
        ASSERT_TRUE(back.ok());
        EXPECT_FALSE(back->contains("absent"));
        EXPECT_EQ(*back, Value(Dictionary{{"kept", 1}, {"list", Value(Array{2})}}));
    }
}

TEST(PropertyList, MalformedInputGivesAnError) {
    for (std::string bad :
         {"", "garbage", "bplist00", "<?xml version=\"1.0\"?><plist><dict><key>a</key>",
          "<plist version=\"1.0\"><array><string>a</array></plist>"})
        expectReadError(PropertyList::read(bytes(bad)));

    // libplist reads these, but they are not UTF-8.
    expectReadError(
        PropertyList::read(bytes("<plist version=\"1.0\"><string>a\xFF</string></plist>")));
    expectReadError(PropertyList::read(
        bytes("<plist version=\"1.0\"><dict><key>\xC3</key><true/></dict></plist>")));
}

TEST(PropertyList, TruncatedOrMutatedListsFailCleanly) {
    const auto written = PropertyList::writeBinary(sample());
    const auto writtenXML = PropertyList::writeXML(sample());
    ASSERT_TRUE(written.ok() && writtenXML.ok());
    const Bytes& binary = *written;
    for (std::size_t length = 0; length < binary.size(); ++length) {
        SCOPED_TRACE(length);
        expectReadError(PropertyList::read(Bytes(binary.begin(), binary.begin() + length)));
    }

    const std::string& xml = *writtenXML;
    for (std::size_t length = 0; length < xml.size(); length += 7) {
        SCOPED_TRACE(xml.substr(0, length));
        expectReadError(PropertyList::read(bytes(xml.substr(0, length))));
    }

    std::mt19937 random(1206);
    auto mutate = [&](Bytes data) {
        int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            data[random() % data.size()] = static_cast<std::uint8_t>(random() % 256);
        return data;
    };
    for (int round = 0; round < 400; ++round) {
        auto result = PropertyList::read(mutate(binary));
        if (!result.ok()) {
            EXPECT_EQ(result.error().code, PropertyList::kReadCorruptErrorCode);
        }
    }
    for (int round = 0; round < 200; ++round) {
        auto result = PropertyList::read(mutate(bytes(xml)));
        if (!result.ok()) {
            EXPECT_EQ(result.error().code, PropertyList::kReadCorruptErrorCode);
        }
    }
}

TEST(PropertyList, HostileShapesAreRefusedBeforeTheyCostStackOrMemory) {
    constexpr std::uint32_t kDeep = 100000;
    expectReadError(PropertyList::read(binaryList(kDeep, [](std::uint32_t i) {
        return i + 1 < kDeep ? arrayObject({i + 1}) : arrayObject({});
    })));

    // Each level refers twice to the next: 2^40 objects once expanded.
    constexpr std::uint32_t kLevels = 40;
    expectReadError(PropertyList::read(binaryList(kLevels, [](std::uint32_t i) {
        return i + 1 < kLevels ? arrayObject({i + 1, i + 1}) : Bytes{0x10, 7};
    })));

    expectReadError(
        PropertyList::read(binaryList(2, [](std::uint32_t i) { return arrayObject({1 - i}); })));

    std::string deepXML = "<plist version=\"1.0\">";
    for (std::uint32_t i = 0; i < kDeep; ++i)
        deepXML += "<array>";
    expectReadError(PropertyList::read(bytes(deepXML)));

    // Sharing within reason is what writers do, and reads.
    constexpr std::uint32_t kShared = 10;
    auto shared = PropertyList::read(binaryList(kShared, [](std::uint32_t i) {
        return i + 1 < kShared ? arrayObject({i + 1, i + 1}) : Bytes{0x10, 7};
    }));
    ASSERT_TRUE(shared.ok()) << shared.error().localizedDescription();
    EXPECT_EQ((*shared)[1][1][1][1][1][1][1][1][1].integerValue(), 7);
}

TEST(PropertyList, NestingUpToTheLimitRoundTripsAndDeeperIsRefused) {
    Value deepest = nested(512);
    const auto xml = PropertyList::writeXML(deepest);
    const auto binary = PropertyList::writeBinary(deepest);
    ASSERT_TRUE(xml.ok() && binary.ok());
    for (const Bytes& data : {bytes(*xml), *binary}) {
        auto back = PropertyList::read(data);
        ASSERT_TRUE(back.ok()) << back.error().localizedDescription();
        EXPECT_EQ(*back, deepest);
    }
    expectWriteRefused(nested(513));

    // One level more than any writer makes, as another program could write it.
    std::string deeperXML = "<plist version=\"1.0\">";
    for (int i = 0; i < 513; ++i)
        deeperXML += "<array>";
    for (int i = 0; i < 513; ++i)
        deeperXML += "</array>";
    deeperXML += "</plist>";
    expectReadError(PropertyList::read(bytes(deeperXML)));
    expectReadError(PropertyList::read(binaryList(513, [](std::uint32_t i) {
        return i + 1 < 513 ? arrayObject({i + 1}) : arrayObject({});
    })));
}

// A preference file read with a date the writer refuses would make every later save fail: what
// reads must write again, so such a date is refused on reading.
TEST(PropertyList, DatesAreReadOnlyWhereTheyCanBeWritten) {
    const auto dateList = [](double secondsSince2001) {
        return binaryList(1, [&](std::uint32_t) {
            Bytes object{0x33};
            std::uint64_t bits = 0;
            std::memcpy(&bits, &secondsSince2001, sizeof bits);
            appendBigEndian(object, bits, 8);
            return object;
        });
    };
    for (double edge : {-2147483648.0, 2147483647.5}) {
        const auto read = PropertyList::read(dateList(edge));
        ASSERT_TRUE(read.ok()) << edge;
        EXPECT_TRUE(PropertyList::writeBinary(*read).ok()) << edge;
    }
    for (double beyond : {-2147483648.0000758, -2147483648.5})
        expectReadError(PropertyList::read(dateList(beyond)));
}

TEST(PropertyList, FilesAreWrittenWholeOrNotAtAll) {
    TempDeviceRoot folder;
    std::string path = folder.path() + "/settings.plist";
    Value first(Dictionary{{"version", 1}, {"name", "first"}});
    ASSERT_TRUE(PropertyList::writeFile(path, first, PropertyList::Format::XML));
    EXPECT_TRUE(FileManager::readText(path).valueOr("").starts_with("<?xml"));
    EXPECT_EQ(PropertyList::readFile(path).valueOr(Value()), first);

    Value second(Dictionary{{"version", 2}, {"when", Value::date(Date::fromUTC(2026, 1, 2))}});
    ASSERT_TRUE(PropertyList::writeFile(path, second, PropertyList::Format::Binary));
    const Bytes written = FileManager::readFile(path).valueOr({});
    EXPECT_TRUE(text(written).starts_with("bplist00"));
    EXPECT_EQ(PropertyList::readFile(path).valueOr(Value()), second);

    auto refused = PropertyList::writeFile(path, Value(Dictionary{{"x", Value::null()}}),
                                           PropertyList::Format::Binary);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(FileManager::readFile(path).valueOr({}), written);
    EXPECT_EQ(FileManager::contentsOfDirectory(folder.path()).valueOr({}),
              std::vector<std::string>{"settings.plist"});

    EXPECT_FALSE(PropertyList::writeFile(folder.path() + "/missing/x.plist", first,
                                         PropertyList::Format::XML));
    auto missing = PropertyList::readFile(folder.path() + "/none.plist");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, FileManager::kReadNoSuchFile);

    ASSERT_TRUE(FileManager::writeAtomically(path, std::string_view("not a list")));
    expectReadError(PropertyList::readFile(path));
}
