#include "foundation/PropertyListGuard.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace foundation {

namespace {

std::uint64_t readBigEndian(const std::uint8_t* bytes, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

struct Trailer {
    std::size_t offsetSize = 0;
    std::size_t referenceSize = 0;
    std::uint64_t objectCount = 0;
    std::uint64_t topObject = 0;
    std::uint64_t offsetTable = 0;
};

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;

std::optional<Trailer> readTrailer(const Bytes& data) {
    if (data.size() < kHeaderSize + kTrailerSize)
        return std::nullopt;
    const std::uint8_t* end = data.data() + data.size() - kTrailerSize;
    Trailer trailer{end[6], end[7], readBigEndian(end + 8, 8), readBigEndian(end + 16, 8),
                    readBigEndian(end + 24, 8)};
    std::uint64_t tableEnd = data.size() - kTrailerSize;
    bool sane = trailer.offsetSize >= 1 && trailer.offsetSize <= 8 && trailer.referenceSize >= 1 &&
                trailer.referenceSize <= 8 && trailer.offsetTable >= kHeaderSize &&
                trailer.offsetTable <= tableEnd && trailer.objectCount >= 1 &&
                trailer.objectCount <= (tableEnd - trailer.offsetTable) / trailer.offsetSize &&
                trailer.topObject < trailer.objectCount;
    return sane ? std::optional(trailer) : std::nullopt;
}

// Walks the object graph of a binary list depth first without recursion, remembering the size
// and height of every finished object so that shared objects are walked once.
class BinaryWalk {
  public:
    BinaryWalk(const Bytes& data, const Trailer& trailer) : data_(data), trailer_(trailer) {}

    std::optional<std::string> problem() {
        if (!enter(trailer_.topObject, 0))
            return problem_;
        while (!path_.empty() && problem_.empty())
            step();
        if (problem_.empty())
            return std::nullopt;
        return problem_;
    }

  private:
    struct Finished {
        std::uint64_t nodes = 1;
        std::size_t height = 0;
        bool open = true;  // still on the path: reaching it again is a cycle
    };
    struct Frame {
        std::uint64_t object = 0;
        std::uint64_t nextReference = 0;  // byte position
        std::uint64_t referencesLeft = 0;
        Finished size;
    };

    bool fail(std::string problem) {
        problem_ = std::move(problem);
        return false;
    }

    struct Header {
        std::uint8_t type = 0;
        std::uint64_t count = 0;
        std::uint64_t contents = 0;  // byte position
    };

    bool readHeader(std::uint64_t object, Header& header) {
        std::uint64_t offset =
            readBigEndian(data_.data() + trailer_.offsetTable + object * trailer_.offsetSize,
                          trailer_.offsetSize);
        if (offset < kHeaderSize || offset >= trailer_.offsetTable)
            return fail("an object lies outside the object area");
        std::uint8_t marker = data_[offset];
        header = {static_cast<std::uint8_t>(marker >> 4), static_cast<std::uint64_t>(marker & 0x0F),
                  offset + 1};
        if (header.count != 0x0F)
            return true;
        if (header.contents >= trailer_.offsetTable)
            return fail("an object's size is missing");
        std::uint8_t countMarker = data_[header.contents];
        std::size_t countSize = std::size_t{1} << (countMarker & 0x0F);
        if ((countMarker >> 4) != 1 || countSize > 8 ||
            header.contents + 1 + countSize > trailer_.offsetTable)
            return fail("an object's size is damaged");
        header.count = readBigEndian(data_.data() + header.contents + 1, countSize);
        header.contents += 1 + countSize;
        return true;
    }

    // Checks the object and, for a container, sets where its references start and how many.
    bool readObject(std::uint64_t object, Frame& frame) {
        Header header;
        if (!readHeader(object, header))
            return false;
        std::uint64_t room = trailer_.offsetTable - header.contents;
        switch (header.type) {
            case 0x5:
                return checkString(header.contents, header.count, 1, room);
            case 0x6:
                return checkString(header.contents, header.count, 2, room);
            case 0xA:
            case 0xB:
            case 0xC:
            case 0xD: {
                std::uint64_t references = header.type == 0xD ? header.count * 2 : header.count;
                room /= trailer_.referenceSize;
                if (header.count > room || references > room)
                    return fail("a container reaches past the object area");
                frame.nextReference = header.contents;
                frame.referencesLeft = references;
                return true;
            }
            default:
                return true;
        }
    }

    // libplist cuts an ASCII string at a NUL and aborts on a UTF-16 one that holds U+0000.
    bool checkString(std::uint64_t position, std::uint64_t count, std::size_t unitSize,
                     std::uint64_t room) {
        if (count > room / unitSize)
            return fail("a string reaches past the object area");
        const std::uint8_t* units = data_.data() + position;
        for (std::uint64_t i = 0; i < count; ++i) {
            bool zero = unitSize == 1 ? units[i] == 0 : (units[2 * i] | units[2 * i + 1]) == 0;
            if (zero)
                return fail("a string holds a NUL character");
        }
        return true;
    }

    bool enter(std::uint64_t object, std::size_t depth) {
        if (depth >= PropertyListGuard::kMaximumDepth)
            return fail("nested deeper than " + std::to_string(PropertyListGuard::kMaximumDepth) +
                        " levels");
        Frame frame;
        frame.object = object;
        if (!readObject(object, frame))
            return false;
        path_.push_back(frame);
        known_[object] = frame.size;
        if (known_.size() > PropertyListGuard::kMaximumNodes)
            return fail("too many objects");
        return true;
    }

    void step() {
        Frame& frame = path_.back();
        if (frame.referencesLeft == 0)
            return leave();
        std::uint64_t child =
            readBigEndian(data_.data() + frame.nextReference, trailer_.referenceSize);
        frame.nextReference += trailer_.referenceSize;
        --frame.referencesLeft;
        if (child >= trailer_.objectCount)
            return void(fail("a reference points nowhere"));
        auto known = known_.find(child);
        if (known == known_.end())
            return void(enter(child, path_.size()));
        if (known->second.open)
            return void(fail("a container contains itself"));
        add(known->second);
    }

    void leave() {
        Finished size = path_.back().size;
        size.open = false;
        known_[path_.back().object] = size;
        path_.pop_back();
        if (!path_.empty())
            add(size);
    }

    void add(const Finished& child) {
        Finished& parent = path_.back().size;
        parent.nodes += child.nodes;
        parent.height = std::max(parent.height, child.height + 1);
        if (parent.nodes > PropertyListGuard::kMaximumNodes)
            return void(fail("expands to more than " +
                             std::to_string(PropertyListGuard::kMaximumNodes) + " objects"));
        if (path_.size() + child.height >= PropertyListGuard::kMaximumDepth)
            fail("nested deeper than " + std::to_string(PropertyListGuard::kMaximumDepth) +
                 " levels");
    }

    const Bytes& data_;
    Trailer trailer_;
    std::vector<Frame> path_;
    std::unordered_map<std::uint64_t, Finished> known_;
    std::string problem_;
};

bool startsWithTag(std::string_view text, std::string_view name) {
    if (!text.starts_with(name) || text.size() == name.size())
        return false;
    char next = text[name.size()];
    return next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\n' ||
           next == '\r';
}

}  // namespace

std::optional<std::string> PropertyListGuard::problemWithBinary(const Bytes& data) {
    if (data.size() > kMaximumSize)
        return "larger than " + std::to_string(kMaximumSize) + " bytes";
    auto trailer = readTrailer(data);
    if (!trailer)
        return "the binary trailer is damaged";
    return BinaryWalk(data, *trailer).problem();
}

std::optional<std::string> PropertyListGuard::problemWithXML(std::string_view text) {
    if (text.size() > kMaximumSize)
        return "larger than " + std::to_string(kMaximumSize) + " bytes";
    std::size_t last = text.find_last_not_of(" \t\r\n");
    if (last == std::string_view::npos || !text.substr(0, last + 1).ends_with("</plist>"))
        return "the XML ends before its closing tag";
    std::size_t depth = 0;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        std::string_view tag = text.substr(at + 1);
        if (tag.starts_with("!--")) {
            at = text.find("-->", at);
            if (at == std::string_view::npos)
                break;
            continue;
        }
        bool closing = tag.starts_with('/');
        if (closing)
            tag.remove_prefix(1);
        if (!startsWithTag(tag, "array") && !startsWithTag(tag, "dict"))
            continue;
        std::size_t end = text.find('>', at);
        if (closing || end == std::string_view::npos || text[end - 1] == '/') {
            depth -= closing && depth > 0 ? 1 : 0;
            continue;
        }
        if (++depth > kMaximumDepth)
            return "nested deeper than " + std::to_string(kMaximumDepth) + " levels";
    }
    return std::nullopt;
}

}  // namespace foundation
