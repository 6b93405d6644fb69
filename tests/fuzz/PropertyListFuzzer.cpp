// Property lists from outside (preference files, imported backups, web replies): the guard that
// looks at a list before libplist builds it, and the reading and writing around it. A list that
// reads must write again, and the binary form must read back to the same value.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "foundation/PropertyList.h"

namespace {

using foundation::PropertyList;
using foundation::Value;

// The same value as far as a list can tell: NaN, which equals nothing, matches NaN, and dates
// match to the microsecond that the binary format keeps (libplist rounds it down on reading).
bool same(const Value& a, const Value& b) {
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
        case Value::Type::Real:
            return a == b || (std::isnan(a.doubleValue()) && std::isnan(b.doubleValue()));
        case Value::Type::Date:
            return std::fabs(a.dateValue()->secondsSince1970 - b.dateValue()->secondsSince1970) <=
                   1.5e-6;
        case Value::Type::Array:
            return std::equal(a.array().begin(), a.array().end(), b.array().begin(),
                              b.array().end(), same);
        case Value::Type::Dictionary:
            return std::equal(a.dictionary().begin(), a.dictionary().end(), b.dictionary().begin(),
                              b.dictionary().end(), [](const auto& x, const auto& y) {
                                  return x.first == y.first && same(x.second, y.second);
                              });
        default:
            return a == b;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto value = PropertyList::read(foundation::Bytes(data, data + size));
    if (!value.ok())
        return 0;
    const auto binary = PropertyList::writeBinary(*value);
    FUZZ_CHECK(binary.ok());
    const auto again = PropertyList::read(*binary);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(same(*again, *value));
    const auto xml = PropertyList::writeXML(*value);
    FUZZ_CHECK(xml.ok());
    FUZZ_CHECK(PropertyList::read(foundation::Bytes(xml->begin(), xml->end())).ok());
    return 0;
}
