#include "BinaryPropertyListCheck.h"

#include <algorithm>
#include <vector>

namespace docshelf::foundation {

namespace {

constexpr std::size_t headerSize = 8;
constexpr std::size_t trailerSize = 32;

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // A big-endian unsigned number of 1 to 8 bytes at the offset, or nullopt past the end.
    std::optional<std::uint64_t> number(std::uint64_t offset, std::uint64_t size) const {
        if (size == 0 || size > 8 || offset > bytes_.size() || size > bytes_.size() - offset)
            return std::nullopt;
        std::uint64_t value = 0;
        for (std::uint64_t i = 0; i < size; ++i)
            value = (value << 8) | bytes_[offset + i];
        return value;
    }
    bool holds(std::uint64_t offset, std::uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    std::uint8_t at(std::uint64_t offset) const { return bytes_[offset]; }

private:
    std::span<const std::uint8_t> bytes_;
};

struct Object {
    std::uint8_t kind = 0;      // the marker's high nibble
    std::uint64_t count = 0;    // elements, entries or characters
    std::uint64_t contents = 0; // offset of what follows the marker and count
};

class Walk {
public:
    Walk(std::span<const std::uint8_t> bytes, std::size_t maximumNesting, std::size_t maximumValues,
         std::size_t maximumExpandedBytes)
        : reader_(bytes), size_(bytes.size()), maximumNesting_(maximumNesting), maximumValues_(maximumValues),
          maximumExpandedBytes_(maximumExpandedBytes) {}

    std::vector<std::uint64_t> takeLoneSurrogates() { return std::move(loneSurrogates_); }

    std::optional<std::string> run() {
        if (size_ < headerSize + trailerSize)
            return "binary property list too short";
        std::uint64_t trailer = size_ - trailerSize;
        offsetSize_ = reader_.at(trailer + 6);
        refSize_ = reader_.at(trailer + 7);
        objectCount_ = *reader_.number(trailer + 8, 8);
        std::uint64_t top = *reader_.number(trailer + 16, 8);
        offsetTable_ = *reader_.number(trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || top >= objectCount_ ||
            objectCount_ > size_ || offsetTable_ > trailer || objectCount_ * offsetSize_ > trailer - offsetTable_)
            return "binary property list that is cut short (its end does not describe its contents)";
        // Every object that is referenced is at least one value.
        if (objectCount_ > maximumValues_)
            return "binary property list with more than " + std::to_string(maximumValues_) + " objects";
        return visit(top);
    }

private:
    std::optional<Object> object(std::uint64_t index) const {
        auto offset = reader_.number(offsetTable_ + index * offsetSize_, offsetSize_);
        if (!offset || *offset < headerSize || *offset >= offsetTable_)
            return std::nullopt;
        std::uint8_t marker = reader_.at(*offset);
        Object object{static_cast<std::uint8_t>(marker >> 4), static_cast<std::uint64_t>(marker & 0x0F), *offset + 1};
        if (object.count == 0x0F && object.kind >= 0x4 && object.kind != 0x8) {
            // A longer count follows as an integer object: marker 0x1n, then 2^n bytes.
            if (!reader_.holds(object.contents, 1) || (reader_.at(object.contents) >> 4) != 0x1)
                return std::nullopt;
            std::uint64_t width = std::uint64_t{1} << (reader_.at(object.contents) & 0x0F);
            auto count = reader_.number(object.contents + 1, width);
            if (!count)
                return std::nullopt;
            object.count = *count;
            object.contents += 1 + width;
        }
        return object;
    }

    std::uint16_t unit(const Object& object, std::uint64_t i) const {
        return static_cast<std::uint16_t>(reader_.at(object.contents + 2 * i) << 8 |
                                          reader_.at(object.contents + 2 * i + 1));
    }

    // Checks a UTF-16 string and gives its length in UTF-8 once read, a lone
    // surrogate counted as the U+FFFD that replaces it.
    std::optional<std::string> checkString(const Object& object, std::uint64_t& utf8Bytes) {
        if (object.count > size_ || !reader_.holds(object.contents, object.count * 2))
            return "binary property list with a string past its end";
        utf8Bytes = 0;
        for (std::uint64_t i = 0; i < object.count; ++i) {
            std::uint16_t code = unit(object, i);
            if (code == 0)
                return "binary property list with a NUL character in a string";
            bool high = code >= 0xD800 && code <= 0xDBFF;
            if (high && i + 1 < object.count && unit(object, i + 1) >= 0xDC00 && unit(object, i + 1) <= 0xDFFF) {
                utf8Bytes += 4;
                ++i;
                continue;
            }
            if (code >= 0xD800 && code <= 0xDFFF)
                loneSurrogates_.push_back(object.contents + 2 * i);
            utf8Bytes += code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
        }
        return std::nullopt;
    }

    // Depth-first over arrays, sets and dictionaries with an explicit stack. Each
    // object's mark is unseen, open (on the stack) or done with the height of its
    // subtree in container levels; its count is the number of values it becomes
    // once the library has copied every shared object. Both are kept, so shared
    // objects are walked once.
    std::optional<std::string> visit(std::uint64_t top) {
        constexpr std::uint8_t unseen = 0;
        constexpr std::uint8_t open = 1;
        constexpr std::uint8_t done = 2;
        std::vector<std::uint8_t> mark(objectCount_, unseen);
        std::vector<std::uint32_t> expanded(objectCount_, 0);
        std::vector<std::uint64_t> expandedBytes(objectCount_, 0);
        struct Frame {
            std::uint64_t index;
            Object object;
            std::uint64_t refs;
            std::uint64_t next = 0;
            std::size_t height = 1;
            std::uint64_t values = 1;
            std::uint64_t bytes = 0;
        };
        std::vector<Frame> stack;
        auto tooDeep = [&] { return "nested deeper than " + std::to_string(maximumNesting_) + " levels"; };
        auto tooManyBytes = [&] {
            return "binary property list whose strings and data expand to more than " +
                   std::to_string(maximumExpandedBytes_) + " bytes";
        };
        auto enter = [&](std::uint64_t index) -> std::optional<std::string> {
            auto found = object(index);
            if (!found)
                return "binary property list with a damaged object";
            std::uint64_t bytes = 0;
            if (found->kind == 0x6)
                if (auto problem = checkString(*found, bytes))
                    return problem;
            if (found->kind == 0x4 || found->kind == 0x5) {
                if (found->count > size_ || !reader_.holds(found->contents, found->count))
                    return "binary property list with a string or data past its end";
                bytes = found->count;
            }
            if (found->kind != 0xA && found->kind != 0xC && found->kind != 0xD) {
                if (bytes > maximumExpandedBytes_)
                    return tooManyBytes();
                mark[index] = done;
                expanded[index] = 1;
                expandedBytes[index] = bytes;
                return std::nullopt;
            }
            if (stack.size() >= maximumNesting_)
                return tooDeep();
            std::uint64_t refs = found->kind == 0xD ? found->count * 2 : found->count;
            if (found->count > size_ || !reader_.holds(found->contents, refs * refSize_))
                return "binary property list with references past its end";
            mark[index] = open;
            stack.push_back({index, *found, refs});
            return std::nullopt;
        };
        // Adds a finished child to the container on top of the stack.
        auto addChild = [&](std::size_t height, std::uint64_t values,
                            std::uint64_t bytes) -> std::optional<std::string> {
            Frame& parent = stack.back();
            if (stack.size() + height > maximumNesting_)
                return tooDeep();
            parent.height = std::max(parent.height, height + 1);
            parent.values += values;
            if (parent.values > maximumValues_)
                return "binary property list that expands to more than " + std::to_string(maximumValues_) + " values";
            // Both are at most the limit, so the sum cannot overflow.
            parent.bytes += bytes;
            if (parent.bytes > maximumExpandedBytes_)
                return tooManyBytes();
            return std::nullopt;
        };

        if (auto problem = enter(top))
            return problem;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.refs) {
                std::size_t height = frame.height;
                std::uint64_t values = frame.values;
                std::uint64_t bytes = frame.bytes;
                mark[frame.index] = static_cast<std::uint8_t>(done + height);
                expanded[frame.index] = static_cast<std::uint32_t>(values);
                expandedBytes[frame.index] = bytes;
                stack.pop_back();
                if (!stack.empty())
                    if (auto problem = addChild(height, values, bytes))
                        return problem;
                continue;
            }
            auto child = reader_.number(frame.object.contents + frame.next * refSize_, refSize_);
            ++frame.next;
            if (!child || *child >= objectCount_)
                return "binary property list with a reference to no object";
            if (mark[*child] == open)
                return "binary property list that contains itself";
            if (mark[*child] == unseen) {
                if (auto problem = enter(*child))
                    return problem;
                if (mark[*child] == open)
                    continue;
            }
            if (auto problem = addChild(mark[*child] - done, expanded[*child], expandedBytes[*child]))
                return problem;
        }
        return std::nullopt;
    }

    Reader reader_;
    std::uint64_t size_;
    std::size_t maximumNesting_;
    std::uint64_t maximumValues_;
    std::uint64_t maximumExpandedBytes_;
    std::vector<std::uint64_t> loneSurrogates_;
    std::uint64_t offsetSize_ = 0;
    std::uint64_t refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t offsetTable_ = 0;
};

}

BinaryPropertyListCheckResult BinaryPropertyListCheck::check(std::span<const std::uint8_t> bytes,
                                                             std::size_t maximumNesting, std::size_t maximumValues,
                                                             std::size_t maximumExpandedBytes) {
    // Heights are kept in one byte per object.
    Walk walk(bytes, std::min<std::size_t>(maximumNesting, 200), maximumValues, maximumExpandedBytes);
    BinaryPropertyListCheckResult result;
    result.problem = walk.run();
    if (!result.problem)
        result.loneSurrogates = walk.takeLoneSurrogates();
    return result;
}

}
