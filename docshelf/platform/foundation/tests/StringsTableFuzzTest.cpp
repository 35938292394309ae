#include "platform/foundation/StringsTable.h"
#include "platform/foundation/Utf8.h"

#include "PropertyListWriter.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <random>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;

// Whatever the bytes, the parser ends, and what it gives holds together:
// either well-formed entries and no message, or no entries and a message.
void expectSoundResult(const std::string& bytes, const std::string& what) {
    StringsTableResult result = StringsTable::parse(bytes);
    if (result.ok) {
        EXPECT_TRUE(result.message.empty()) << what;
        for (const auto& [key, value] : result.entries) {
            EXPECT_TRUE(isValidUtf8(key)) << what;
            EXPECT_TRUE(isValidUtf8(value)) << what;
        }
    } else {
        EXPECT_TRUE(result.entries.empty()) << what;
        EXPECT_FALSE(result.message.empty()) << what;
    }
}

std::vector<std::string> seeds() {
    std::string text = "/* Messages */\n\"BTN_CLOSE\" = \"Schlie\\U00dfen\";\n// note\n"
                       "TXT_MODEL = 'Modell';\n\"UG_TXT_LANGUAGE\";\n\"E\" = \"\\UD83D\\UDE00 \\101\\n\";\n";
    Value root = Value::dictionary({{"BTN_CLOSE", "Fermer"}, {"TXT_MODEL", "Modèle"}});
    return {
        text,
        testing::utf16(text, false, true),
        testing::utf16(text, true, true),
        PropertyListWriter::serialize(root, PlistFormat::Xml),
        PropertyListWriter::serialize(root, PlistFormat::Binary),
    };
}

TEST(StringsTableFuzz, RandomBytes) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> length(0, 96);
    // Mostly the characters the grammar cares about, so that random input gets past the first token.
    const std::string alphabet = "\"'\\=;/*\n\r\t aU0189DdEe{}<>?\xFF\xFE\xEF\xBB\xBF\xC3\xA9\xE6\x97\xD8";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        int size = length(random);
        for (int i = 0; i < size; ++i)
            bytes += round % 2 ? alphabet[pick(random)] : static_cast<char>(anyByte(random));
        expectSoundResult(bytes, "random round " + std::to_string(round));
    }
}

TEST(StringsTableFuzz, MutatedTables) {
    std::mt19937 random(7);
    std::vector<std::string> corpus = seeds();
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (std::size_t s = 0; s < corpus.size(); ++s) {
        for (int round = 0; round < 1500; ++round) {
            std::string bytes = corpus[s];
            int edits = 1 + round % 4;
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                std::size_t at = std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
                switch (random() % 4) {
                case 0:
                    bytes[at] = static_cast<char>(anyByte(random));
                    break;
                case 1:
                    bytes.erase(at, 1);
                    break;
                case 2:
                    bytes.insert(at, 1, static_cast<char>(anyByte(random)));
                    break;
                default:
                    bytes.resize(at);
                    break;
                }
            }
            expectSoundResult(bytes, "seed " + std::to_string(s) + " round " + std::to_string(round));
        }
    }
}

}
}
