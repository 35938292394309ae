#include "platform/foundation/PropertyListReader.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace docshelf::foundation {
namespace {

// Lays out binary property lists object by object, including ones that no
// writer would produce, with 4-byte offsets and references.
class BinaryBuilder {
public:
    using Bytes = std::vector<std::uint8_t>;

    std::uint32_t add(Bytes object) {
        objects_.push_back(std::move(object));
        return static_cast<std::uint32_t>(objects_.size() - 1);
    }
    std::uint32_t ascii(const std::string& text) {
        Bytes object{static_cast<std::uint8_t>(0x50 | text.size())};
        object.insert(object.end(), text.begin(), text.end());
        return add(object);
    }
    std::uint32_t utf16(const std::vector<std::uint16_t>& units) {
        Bytes object{static_cast<std::uint8_t>(0x60 | units.size())};
        for (auto unit : units) {
            object.push_back(static_cast<std::uint8_t>(unit >> 8));
            object.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        }
        return add(object);
    }
    // An array (0xA) or dictionary (0xD, keys then values) of references; 0xF counts follow as an int.
    static Bytes container(std::uint8_t kind, const std::vector<std::uint32_t>& refs) {
        std::size_t count = kind == 0xD ? refs.size() / 2 : refs.size();
        Bytes object;
        if (count < 15) {
            object.push_back(static_cast<std::uint8_t>(static_cast<std::size_t>(kind << 4) | count));
        } else {
            object = {static_cast<std::uint8_t>(kind << 4 | 0xF), 0x12};
            append(object, static_cast<std::uint32_t>(count));
        }
        for (auto ref : refs)
            append(object, ref);
        return object;
    }
    void set(std::uint32_t index, Bytes object) { objects_[index] = std::move(object); }

    std::string build(std::uint32_t top) const {
        Bytes out{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
        std::vector<std::uint32_t> offsets;
        for (const auto& object : objects_) {
            offsets.push_back(static_cast<std::uint32_t>(out.size()));
            out.insert(out.end(), object.begin(), object.end());
        }
        auto table = static_cast<std::uint32_t>(out.size());
        for (auto offset : offsets)
            append(out, offset);
        Bytes trailer(6, 0);
        trailer.push_back(4);
        trailer.push_back(4);
        append64(trailer, objects_.size());
        append64(trailer, top);
        append64(trailer, table);
        out.insert(out.end(), trailer.begin(), trailer.end());
        return std::string(out.begin(), out.end());
    }

private:
    static void append(Bytes& out, std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    static void append64(Bytes& out, std::uint64_t value) {
        for (int shift = 56; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(value >> shift));
    }

    std::vector<Bytes> objects_;
};

PropertyListResult parse(const std::string& bytes) {
    return PropertyListReader::parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// A dictionary {"k": value}, the value built by the caller.
std::string dictionaryWith(BinaryBuilder& builder, std::uint32_t value, std::uint32_t keyIndex) {
    std::uint32_t dict = builder.add(BinaryBuilder::container(0xD, {keyIndex, value}));
    return builder.build(dict);
}

TEST(BinaryPropertyList, Utf16TextIsRead) {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    std::string bytes = dictionaryWith(builder, builder.utf16({0x00E9, 0x6A5F}), key);
    EXPECT_EQ(parse(bytes).root.objectForKey("k"), Value("é機"));
}

TEST(BinaryPropertyList, LoneSurrogatesReadAsReplacementCharactersAndAreCounted) {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    // A high surrogate before a letter, a pair, and a low surrogate at the end.
    std::string bytes = dictionaryWith(builder, builder.utf16({0xD83D, 0x0041, 0xD83D, 0xDE00, 0xDE00}), key);
    PropertyListResult result = parse(bytes);
    EXPECT_EQ(result.root.objectForKey("k"), Value("\uFFFDA\U0001F600\uFFFD")) << result.error;
    EXPECT_EQ(result.replacedCharacters, 2u);
}

struct RefusedCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class BinaryPropertyListRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(BinaryPropertyListRefused, IsAbsentWithAMessage) {
    PropertyListResult result = parse(GetParam().bytes);
    EXPECT_TRUE(result.root.isAbsent()) << GetParam().name;
    EXPECT_FALSE(result.error.empty()) << GetParam().name;
}

std::string nulInValue() {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    return dictionaryWith(builder, builder.utf16({0x0061, 0x0000, 0x00E9}), key);
}

std::string nulInKey() {
    BinaryBuilder builder;
    std::uint32_t key = builder.utf16({0x00E9, 0x0000});
    return dictionaryWith(builder, builder.ascii("v"), key);
}

std::string notUtf8() {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    return dictionaryWith(builder, builder.ascii("caf\xE9"), key);
}

std::string keyNotUtf8() {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("\xFF");
    return dictionaryWith(builder, builder.ascii("v"), key);
}

std::string nestedArrays(std::uint32_t levels) {
    BinaryBuilder builder;
    for (std::uint32_t i = 0; i + 1 < levels; ++i)
        builder.add(BinaryBuilder::container(0xA, {i + 1}));
    builder.add(BinaryBuilder::container(0xA, {}));
    return builder.build(0);
}

std::string containsItself() {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    std::uint32_t array = builder.add({});
    builder.set(array, BinaryBuilder::container(0xA, {key, array}));
    return dictionaryWith(builder, array, key);
}

std::string referenceToNoObject() {
    BinaryBuilder builder;
    std::uint32_t key = builder.ascii("k");
    return dictionaryWith(builder, 99, key);
}

std::string damagedTrailer() {
    BinaryBuilder builder;
    std::string bytes = dictionaryWith(builder, builder.ascii("v"), builder.ascii("k"));
    bytes[bytes.size() - 1] = '\x7F'; // offset table past the end
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Cases, BinaryPropertyListRefused,
                         ::testing::Values(RefusedCase{"NUL in a UTF-16 value", nulInValue()},
                                           RefusedCase{"NUL in a UTF-16 key", nulInKey()},
                                           RefusedCase{"ASCII string with a high byte", notUtf8()},
                                           RefusedCase{"key that is not UTF-8", keyNotUtf8()},
                                           RefusedCase{"200000 nested arrays", nestedArrays(200000)},
                                           RefusedCase{"just past the nesting cap", nestedArrays(130)},
                                           RefusedCase{"array that contains itself", containsItself()},
                                           RefusedCase{"reference to no object", referenceToNoObject()},
                                           RefusedCase{"damaged trailer", damagedTrailer()},
                                           RefusedCase{"trailer alone", "bplist00"}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST(BinaryPropertyList, NestingUnderTheCapIsRead) {
    PropertyListResult result = parse(nestedArrays(100));
    EXPECT_TRUE(result.root.isArray()) << result.error;
}

std::string sharedLevels(std::uint32_t levels) {
    // Each level refers twice to the next: 2^levels paths through levels + 1 objects.
    BinaryBuilder builder;
    for (std::uint32_t i = 0; i < levels; ++i)
        builder.add(BinaryBuilder::container(0xA, {i + 1, i + 1}));
    builder.ascii("leaf");
    return builder.build(0);
}

TEST(BinaryPropertyList, SharedObjectsAreCopiedAsTheLibraryDoes) {
    PropertyListResult result = parse(sharedLevels(8));
    ASSERT_TRUE(result.root.isArray()) << result.error;
    Value deepest = result.root;
    for (int i = 0; i < 7; ++i)
        deepest = deepest.objectAtIndex(1);
    EXPECT_EQ(deepest.objectAtIndex(1), Value("leaf"));
}

// 2^60 copies: a reader that expanded them would hang until ctest's timeout.
TEST(BinaryPropertyList, SharedObjectsThatExpandWithoutBoundAreRefusedAtOnce) {
    PropertyListResult result = parse(sharedLevels(60));
    EXPECT_TRUE(result.root.isAbsent());
    EXPECT_FALSE(result.error.empty());
}

}
}
