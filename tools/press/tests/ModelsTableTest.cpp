#include "DiscPlan.h"
#include "ModelsTable.h"
#include "NameClashes.h"

#include "CaseName.h"
#include "TemporaryDirectory.h"

#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/ReadLimits.h"

#include <gtest/gtest.h>

namespace docshelf::press {
namespace {

using testing::TemporaryDirectory;

struct Clash {
    const char* name;
    std::string first;
    std::string second;
    bool clashes;
};

void PrintTo(const Clash& c, std::ostream* out) {
    *out << c.name;
}

class NameClashTest : public ::testing::TestWithParam<Clash> {};

TEST_P(NameClashTest, NamesTheMacHoldsAsOneClash) {
    const auto& c = GetParam();
    NameClashes names;
    EXPECT_FALSE(names.add(c.first, 1)) << c.name;
    auto earlier = names.add(c.second, 2);
    ASSERT_EQ(earlier.has_value(), c.clashes) << c.name;
    if (earlier) {
        EXPECT_EQ(earlier->tag, 1u) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Names, NameClashTest,
                         ::testing::Values(Clash{"composed and decomposed", "Caf\xC3\xA9", "Cafe\xCC\x81", true},
                                           Clash{"letter case", "QX-500", "qx-500", true},
                                           Clash{"letter case beyond ASCII",
                                                 "\xC3\x9C"
                                                 "bersicht",
                                                 "\xC3\xBC"
                                                 "bersicht",
                                                 true},
                                           Clash{"different letters", "QX-500", "QX-5OO", false},
                                           Clash{"accent against none", "Cafe", "Caf\xC3\xA9", false}),
                         [](const auto& test) { return testing::caseName(test.param.name); });

// A table of `rows` models whose last row repeats the first in other letter case.
std::string tableWithDuplicate(std::size_t rows) {
    std::string text = "Model,KPSID\n";
    for (std::size_t i = 0; i + 1 < rows; ++i)
        text += "Model " + std::to_string(i) + ",ID" + std::to_string(i) + "\n";
    return text + "MODEL 0,LAST\n";
}

TEST(ModelsTableTest, FindsADuplicateWithWorkLinearInTheRows) {
    TemporaryDirectory folder;
    std::size_t work[2] = {};
    const std::size_t sizes[2] = {30'000, 60'000};
    for (std::size_t k = 0; k < 2; ++k) {
        folder.write("models.csv", tableWithDuplicate(sizes[k]));
        std::vector<std::string> errors;
        EXPECT_FALSE(ModelsTable::readFile(folder / "models.csv", errors)) << sizes[k] << " rows";
        ASSERT_EQ(errors.size(), 1u) << sizes[k] << " rows";
        EXPECT_NE(
            errors[0].find(":" + std::to_string(sizes[k] + 1) + ": model \"MODEL 0\" is already listed on line 2"),
            std::string::npos)
            << sizes[k] << " rows: " << errors[0];
    }
    // Counted again on tables that pass, to read the work of a whole table.
    for (std::size_t k = 0; k < 2; ++k) {
        std::string text = tableWithDuplicate(sizes[k]);
        text.replace(text.rfind("MODEL 0"), 7, "Model X");
        folder.write("models.csv", text);
        std::vector<std::string> errors;
        auto table = ModelsTable::readFile(folder / "models.csv", errors);
        ASSERT_TRUE(table) << sizes[k] << " rows";
        work[k] = table->nameComparisons();
        // Each row's name is hashed once and compared with the few of its bucket, never with every other name.
        EXPECT_GE(work[k], sizes[k]) << sizes[k] << " rows";
        EXPECT_LE(work[k], 2 * sizes[k]) << sizes[k] << " rows";
    }
    EXPECT_LE(static_cast<double>(work[1]), 2.5 * static_cast<double>(work[0]))
        << "comparisons for 30,000 rows: " << work[0] << ", for 60,000: " << work[1];
}

// ModelInfo.plist at exactly the size the browser reads, and one byte past: the
// table is refused before anything is written, and the reader agrees on both.
TEST(ModelsTableTest, RefusesATableWhoseListWouldPassTheReadersLimit) {
    TemporaryDirectory folder;
    folder.makeDirectory("manuals");
    const std::size_t models = 12'000;
    const std::string kpsid(250, 'K');
    auto tableOf = [&](std::size_t lastLength) {
        std::string text = "Model,KPSID,Documentation,URL,Languages\n";
        for (std::size_t i = 0; i < models; ++i)
            text += "M" + std::to_string(i) + "," + (i + 1 < models ? kpsid : std::string(lastLength, 'K')) +
                    ",none,http://x.example/?,English\n";
        folder.write("models.csv", text);
        std::vector<std::string> errors;
        auto table = ModelsTable::readFile(folder / "models.csv", errors);
        EXPECT_TRUE(table) << (errors.empty() ? "" : errors[0]);
        return *table;
    };
    auto planOf = [&](const ModelsTable& table) {
        return DiscPlan::make(table, folder / "manuals", {}, LanguageTable::builtIn(), "ZORVANE");
    };
    auto sizeOf = [](const DiscPlan& plan) {
        return foundation::PropertyListWriter::serialize(plan.modelInfo(), foundation::PropertyListFormat::Xml).size();
    };
    const std::size_t start = sizeOf(planOf(tableOf(kpsid.size())));
    ASSERT_LT(start, foundation::ReadLimits::maximumFileSize);
    const std::size_t atLimit = kpsid.size() + foundation::ReadLimits::maximumFileSize - start;

    struct Row {
        const char* name;
        std::size_t lastLength;
        bool refused;
    };
    for (const Row& row : {Row{"at the limit", atLimit, false}, Row{"one byte past", atLimit + 1, true}}) {
        auto plan = planOf(tableOf(row.lastLength));
        ASSERT_EQ(sizeOf(plan), foundation::ReadLimits::maximumFileSize + (row.refused ? 1 : 0)) << row.name;
        std::string said;
        for (const auto& error : plan.errors())
            said += error + "\n";
        EXPECT_EQ(said.find("ModelInfo.plist " + std::to_string(sizeOf(plan)) + " bytes") != std::string::npos,
                  row.refused)
            << row.name << ": " << said;
        EXPECT_EQ(said.find(folder / "models.csv" + ": the table's " + std::to_string(models) + " models make") !=
                      std::string::npos,
                  row.refused)
            << row.name << ": " << said;
        // What the browser's reader makes of the list as written.
        ASSERT_TRUE(foundation::PropertyListWriter::writeFile(folder / "ModelInfo.plist", plan.modelInfo(),
                                                              foundation::PropertyListFormat::Xml))
            << row.name;
        auto read = foundation::PropertyListReader::readFile(folder / "ModelInfo.plist");
        EXPECT_EQ(read.root.isDictionary(), !row.refused) << row.name << ": " << read.error;
    }
}

}
}
