#include "platform/foundation/FileManager.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/StringsTable.h"

#include "CaseName.h"
#include "PropertyListWriter.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;
using testing::TemporaryDirectory;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Whatever lies at a path that is no regular file reads as absent at once.
struct NonRegularCase {
    std::string description;
    std::function<std::string(const TemporaryDirectory&)> make;
};

class NonRegularFile : public ::testing::TestWithParam<NonRegularCase> {};

TEST_P(NonRegularFile, ReadsAsAbsentWithoutWaiting) {
    TemporaryDirectory dir;
    std::string path = GetParam().make(dir);
    auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(PropertyListReader::readFile(path).root.isAbsent());
    EXPECT_FALSE(StringsTable::readFile(path).ok);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NonRegularFile,
    ::testing::Values(NonRegularCase{"named pipe without a writer",
                                     [](const TemporaryDirectory& dir) {
                                         std::string path = dir / "CDInfo.plist";
                                         EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
                                         return path;
                                     }},
                      NonRegularCase{"endless device",
                                     [](const TemporaryDirectory&) { return std::string("/dev/zero"); }},
                      NonRegularCase{"directory", [](const TemporaryDirectory& dir) { return dir.path().string(); }}),
    [](const auto& info) { return testing::caseName(info.param.description); });

// A tiny binary property list written by hand, so that one object can be
// referenced from many places: {"a": [B × shared, true × single]}, B = [true × inner].
// Ends a hand-made binary list: 4-byte offsets, 1-byte references, the top object 0.
Bytes withOffsetTable(Bytes out, const std::vector<std::uint64_t>& offsets) {
    std::uint64_t table = out.size();
    for (std::uint64_t offset : offsets)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(offset >> shift));
    Bytes trailer(32, 0);
    trailer[6] = 4;  // offset size
    trailer[7] = 1;  // reference size
    trailer[15] = static_cast<std::uint8_t>(offsets.size());
    for (int i = 0; i < 8; ++i)
        trailer[24 + i] = static_cast<std::uint8_t>(table >> (56 - 8 * i));
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
}

Bytes sharedBinaryList(std::size_t shared, std::size_t inner, std::size_t single) {
    Bytes out = bytesOf("bplist00");
    std::vector<std::uint64_t> offsets;
    auto arrayHeader = [&out](std::size_t count) {
        out.insert(out.end(), {0xAF, 0x11, static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)});
    };
    offsets.push_back(out.size());  // 0: the root
    out.insert(out.end(), {0xD1, 1, 2});
    offsets.push_back(out.size());  // 1: "a"
    out.insert(out.end(), {0x51, 'a'});
    offsets.push_back(out.size());  // 2: the long array
    arrayHeader(shared + single);
    out.insert(out.end(), shared, 3);
    out.insert(out.end(), single, 4);
    offsets.push_back(out.size());  // 3: the shared array
    arrayHeader(inner);
    out.insert(out.end(), inner, 4);
    offsets.push_back(out.size());  // 4: true
    out.push_back(0x09);
    return withOffsetTable(std::move(out), offsets);
}

// {"a": [S × references, T]}, S of length bytes shared, T of tail bytes: 1 +
// length × references + tail bytes of strings, the key counted.
Bytes sharedStringList(std::size_t length, std::size_t references, std::size_t tail) {
    Bytes out = bytesOf("bplist00");
    std::vector<std::uint64_t> offsets{out.size()};  // 0: the root
    out.insert(out.end(), {0xD1, 1, 2});
    offsets.push_back(out.size());  // 1: "a"
    out.insert(out.end(), {0x51, 'a'});
    offsets.push_back(out.size());  // 2: the array
    out.insert(out.end(), {0xAF, 0x10, static_cast<std::uint8_t>(references + 1)});
    out.insert(out.end(), references, 3);
    out.push_back(4);
    for (std::size_t size : {length, tail}) {  // 3: S, 4: T
        offsets.push_back(out.size());
        out.insert(out.end(), {0x5F, 0x12});
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(size >> shift));
        out.insert(out.end(), size, 'x');
    }
    return withOffsetTable(std::move(out), offsets);
}

// {"a": [true × n]}: 3 + n values, keys counted.
Bytes arrayOfTrue(std::size_t n, PlistFormat format) {
    std::string text = PropertyListWriter::serialize(
        Value::dictionary({{"a", Value::array(std::vector<Value>(n, Value::boolean(true)))}}), format);
    return bytesOf(text);
}

// Each case builds a file `extra` units past its limit: 0 is read, 1 is absent.
struct LimitCase {
    std::string description;
    std::function<Bytes(std::size_t extra)> make;
};

class AtTheLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(AtTheLimit, IsReadAndOnePastIsAbsent) {
    TemporaryDirectory dir;
    for (std::size_t extra : {0u, 1u}) {
        Bytes bytes = GetParam().make(extra);
        std::string path = dir / ("list" + std::to_string(extra) + ".plist");
        dir.write("list" + std::to_string(extra) + ".plist", std::string(bytes.begin(), bytes.end()));
        auto started = std::chrono::steady_clock::now();
        PropertyListResult read = PropertyListReader::readFile(path);
        // Linear readers take well under a second here; the quadratic array walk took minutes.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << "extra " << extra;
        EXPECT_EQ(read.root.isDictionary(), extra == 0) << "extra " << extra << ": " << read.error;
    }
}

constexpr std::size_t valueLimit = ReadLimits::maximumValues;

INSTANTIATE_TEST_SUITE_P(
    Limits, AtTheLimit,
    ::testing::Values(
        LimitCase{
            "file size",
            [](std::size_t extra) {
                std::string text = PropertyListWriter::serialize(Value::dictionary({{"a", "b"}}), PlistFormat::Xml);
                text.resize(ReadLimits::maximumFileSize + extra, '\n');
                return bytesOf(text);
            }},
        LimitCase{"values in XML",
                  [](std::size_t extra) { return arrayOfTrue(valueLimit - 3 + extra, PlistFormat::Xml); }},
        LimitCase{"values in one long binary array",
                  [](std::size_t extra) { return arrayOfTrue(valueLimit - 3 + extra, PlistFormat::Binary); }},
        LimitCase{"values of shared binary objects",
                  // 3 + 511 × (1 + 511) + 509 = 262,144.
                  [](std::size_t extra) { return sharedBinaryList(511, 511, 509 + extra); }},
        LimitCase{"bytes of a shared binary string",
                  // 1 + 2^20 × 15 + 1,048,575 = 16,777,216.
                  [](std::size_t extra) { return sharedStringList(1u << 20, 15, (1u << 20) - 1 + extra); }},
        LimitCase{"nesting",
                  [](std::size_t extra) {
                      Value nested = Value::dictionary({});
                      for (std::size_t level = 1; level < ReadLimits::maximumNesting + extra; ++level)
                          nested = Value::dictionary({{"a", nested}});
                      return bytesOf(PropertyListWriter::serialize(nested, PlistFormat::Binary));
                  }},
        LimitCase{"nesting in XML, an empty dictionary innermost",
                  [](std::size_t extra) {
                      Value nested = Value::dictionary({});
                      for (std::size_t level = 1; level < ReadLimits::maximumNesting + extra; ++level)
                          nested = Value::dictionary({{"a", nested}});
                      return bytesOf(PropertyListWriter::serialize(nested, PlistFormat::Xml));
                  }}),
    [](const auto& info) { return testing::caseName(info.param.description); });

TEST(ReadLimits, DirectoryListingAtTheLimitIsListedAndOnePastIsUnreadable) {
    TemporaryDirectory dir;
    for (std::size_t i = 0; i < ReadLimits::maximumDirectoryEntries; ++i)
        close(open((dir / ("entry" + std::to_string(i))).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
    EXPECT_EQ(FileManager::contentsOfDirectoryAtPath(Value(dir.path().string())).count(),
              ReadLimits::maximumDirectoryEntries);
    dir.write("one more", "");
    EXPECT_TRUE(FileManager::contentsOfDirectoryAtPath(Value(dir.path().string())).isAbsent());
}

struct NulCase {
    std::string description;
    std::string_view xml;
};

class RawNulInXml : public ::testing::TestWithParam<NulCase> {};

TEST_P(RawNulInXml, RefusesTheFile) {
    EXPECT_TRUE(PropertyListReader::parse(bytesOf(GetParam().xml)).root.isAbsent());
}

using namespace std::string_view_literals;
INSTANTIATE_TEST_SUITE_P(
    Places, RawNulInXml,
    ::testing::Values(NulCase{"in a string",
                              "<plist><dict><key>KPSID</key><string>QX\0"
                              "500</string></dict></plist>"sv},
                      NulCase{"in a key", "<plist><dict><key>KPS\0ID</key><string>QX500</string></dict></plist>"sv}),
    [](const auto& info) { return testing::caseName(info.param.description); });

}
}
