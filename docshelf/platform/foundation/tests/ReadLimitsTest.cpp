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

#include <filesystem>
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

// A reader that waited for the pipe's writer or read the device to its end would
// hang here until ctest's timeout fails the test.
TEST_P(NonRegularFile, ReadsAsAbsentWithoutWaiting) {
    TemporaryDirectory dir;
    std::string path = GetParam().make(dir);
    EXPECT_TRUE(PropertyListReader::readFile(path).root.isAbsent());
    EXPECT_FALSE(StringsTable::readFile(path).ok);
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
    [](const auto& testCase) { return testing::caseName(testCase.param.description); });

void appendBigEndian(Bytes& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// {"a": [B × groups, T × single]}, B = [T × inner] and T = true, in binary form
// with 4-byte offsets and references, written without a writer's time. With
// sharedObjects one B and one T are referenced from every place, as a writer that
// merges equal objects does; without, every place has an object of its own. Both
// hold 3 + groups × (1 + inner) + single values. Arrays of hundreds, not one of
// 262,144, keep the read to seconds under the sanitizers, whose realloc copies the
// library's growing index of a long array every time.
Bytes binaryArrays(std::size_t groups, std::size_t inner, std::size_t single, bool sharedObjects) {
    Bytes out = bytesOf("bplist00");
    std::vector<std::uint64_t> offsets;
    auto object = [&] { offsets.push_back(out.size()); };
    auto arrayOf = [&](std::size_t count) {
        out.insert(out.end(), {0xAF, 0x12});
        appendBigEndian(out, count, 4);
    };
    auto reference = [&](std::uint64_t index) { appendBigEndian(out, index, 4); };
    const std::uint64_t groupObjects = 1 + inner;
    const std::uint64_t firstSingle = sharedObjects ? 4 : 3 + groups * groupObjects;
    object(); // the root
    out.push_back(0xD1);
    reference(1);
    reference(2);
    object(); // "a"
    out.insert(out.end(), {0x51, 'a'});
    object(); // the outer array
    arrayOf(groups + single);
    for (std::size_t i = 0; i < groups; ++i)
        reference(sharedObjects ? 3 : 3 + i * groupObjects);
    for (std::size_t i = 0; i < single; ++i)
        reference(sharedObjects ? 4 : firstSingle + i);
    for (std::size_t group = 0; group < (sharedObjects ? 1 : groups); ++group) {
        std::uint64_t self = offsets.size();
        object(); // B
        arrayOf(inner);
        for (std::size_t i = 0; i < inner; ++i)
            reference(sharedObjects ? 4 : self + 1 + i);
        for (std::size_t i = 0; i < (sharedObjects ? 0 : inner); ++i) {
            object();
            out.push_back(0x09);
        }
    }
    for (std::size_t i = 0; i < (sharedObjects ? 1 : single); ++i) {
        object(); // T, or each single true
        out.push_back(0x09);
    }
    std::uint64_t table = out.size();
    for (std::uint64_t offset : offsets)
        appendBigEndian(out, offset, 4);
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 4, 4}); // offset and reference sizes
    appendBigEndian(out, offsets.size(), 8);
    appendBigEndian(out, 0, 8); // the root
    appendBigEndian(out, table, 8);
    return out;
}

// The same list as XML text.
Bytes xmlArrays(std::size_t groups, std::size_t inner, std::size_t single) {
    std::string group = "<array>";
    for (std::size_t i = 0; i < inner; ++i)
        group += "<true/>";
    group += "</array>\n";
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict><key>a</key><array>\n";
    for (std::size_t i = 0; i < groups; ++i)
        text += group;
    for (std::size_t i = 0; i < single; ++i)
        text += "<true/>";
    text += "\n</array></dict>\n</plist>\n";
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
        PropertyListResult read = PropertyListReader::readFile(path);
        EXPECT_EQ(read.root.isDictionary(), extra == 0) << "extra " << extra << ": " << read.error;
    }
}

// The value cases hold 3 + 511 × (1 + 511) + 509 values at extra 0.
static_assert(3 + 511 * (1 + 511) + 509 == ReadLimits::maximumValues);

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
        LimitCase{"values in XML", [](std::size_t extra) { return xmlArrays(511, 511, 509 + extra); }},
        LimitCase{"values of distinct binary objects",
                  [](std::size_t extra) { return binaryArrays(511, 511, 509 + extra, false); }},
        LimitCase{"values of shared binary objects",
                  [](std::size_t extra) { return binaryArrays(511, 511, 509 + extra, true); }},
        LimitCase{"bytes of one string shared by 15 references",
                  // The writer stores the string once: 1 + extra + 15 × 1,118,481 = 16 MiB + extra, in 1 MB.
                  [](std::size_t extra) {
                      Value shared(std::string(1'118'481, 's'));
                      Value list = Value::dictionary(
                          {{std::string(1 + extra, 'a'), Value::array(std::vector<Value>(15, shared))}});
                      return bytesOf(PropertyListWriter::serialize(list, PlistFormat::Binary));
                  }},
        LimitCase{"nesting",
                  [](std::size_t extra) {
                      Value nested = Value::dictionary({});
                      for (std::size_t level = 1; level < ReadLimits::maximumNesting + extra; ++level)
                          nested = Value::dictionary({{"a", nested}});
                      return bytesOf(PropertyListWriter::serialize(nested, PlistFormat::Binary));
                  }},
        LimitCase{"nesting in XML, the innermost dictionary empty",
                  [](std::size_t extra) {
                      Value nested = Value::dictionary({});
                      for (std::size_t level = 1; level < ReadLimits::maximumNesting + extra; ++level)
                          nested = Value::dictionary({{"a", nested}});
                      return bytesOf(PropertyListWriter::serialize(nested, PlistFormat::Xml));
                  }}),
    [](const auto& testCase) { return testing::caseName(testCase.param.description); });

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
    ::testing::Values(NulCase{"in a string", "<plist><dict><key>KPSID</key><string>QX\0"
                                             "500</string></dict></plist>"sv},
                      NulCase{"in a key", "<plist><dict><key>KPS\0ID</key><string>QX500</string></dict></plist>"sv}),
    [](const auto& testCase) { return testing::caseName(testCase.param.description); });

}
}
