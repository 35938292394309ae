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
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>

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
                      NonRegularCase{"endless device", [](const TemporaryDirectory&) { return std::string("/dev/zero"); }},
                      NonRegularCase{"directory", [](const TemporaryDirectory& dir) { return dir.path().string(); }}),
    [](const auto& info) { return testing::caseName(info.param.description); });

// A tiny binary property list written by hand, so that one object can be
// referenced from many places: {"a": [B × shared, true × single]}, B = [true × inner].
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
        LimitCase{"file size",
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

// Every file the programs and the inspector read goes through RegularFile, which
// neither blocks on a pipe nor reads past its limit: no other call opens a file
// for reading, so that a new blocking stream cannot slip in unseen.
TEST(ReadLimits, FilesAreOpenedOnlyThroughTheBoundedReader) {
    const std::regex opening(R"((std::ifstream|std::fstream|\bfopen\(|(^|[^\w.>])open\(|Fl_Shared_Image::get))");
    const std::set<std::string> allowed{"docshelf/platform/foundation/RegularFile.cpp",  // the reader itself
                                        "docshelf/platform/fltk/WindowPicture.cpp"};     // writes render's pictures
    const std::filesystem::path root(DOCSHELF_SOURCE_DIR);
    std::vector<std::string> found;
    for (const char* folder : {"docshelf", "tools"})
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            std::string relative = std::filesystem::relative(entry.path(), root).string();
            bool source = entry.path().extension() == ".cpp" || entry.path().extension() == ".h";
            if (!source || relative.find("/tests/") != std::string::npos || allowed.contains(relative))
                continue;
            std::ifstream file(entry.path());
            for (std::string line; std::getline(file, line);)
                if (std::regex_search(line.substr(0, line.find("//")), opening))
                    found.push_back(relative + ": " + line);
        }
    EXPECT_TRUE(found.empty()) << ::testing::PrintToString(found);
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
    ::testing::Values(NulCase{"in a string", "<plist><dict><key>KPSID</key><string>QX\0" "500</string></dict></plist>"sv},
                      NulCase{"in a key", "<plist><dict><key>KPS\0ID</key><string>QX500</string></dict></plist>"sv}),
    [](const auto& info) { return testing::caseName(info.param.description); });

}
}
