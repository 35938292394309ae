#include "CaseName.h"
#include "platform/foundation/BoundedRun.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include "platform/foundation/PropertyListReader.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <csignal>
#include <sstream>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace docshelf::press {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::TemporaryDirectory;

// An author's inputs, as the sample disc has them: its manuals, its models
// table and its read-me, with the built application bundle and stand-ins for
// the Windows programs (the check knows a setup launcher by its version
// resource's name, "Startwick" in UTF-16).
class Inputs {
public:
    Inputs() {
        fs::copy(SAMPLE_DISC_SOURCE "/ZORVANE/Documentation", at("manuals"), fs::copy_options::recursive);
        fs::copy_file(SAMPLE_DISC_SOURCE "/models.csv", at("models.csv"));
        write("programs/Startwick.exe", std::string("MZ S\0t\0a\0r\0t\0w\0i\0c\0k\0", 22));
        write("programs/Vendpost.exe", "MZ");
        write("ReadMe.txt", "Read me.\r\n");
        fs::create_directories(at("discs"));
    }

    std::string at(const std::string& relative) const { return folder_ / relative; }
    std::string disc() const { return at("discs/ZORVANE"); }
    void write(const std::string& relative, const std::string& text) const { folder_.write(relative, text); }

    // clang-format off
    std::vector<std::string> init() const {
        return {"init", "--models", at("models.csv"), "--manuals", at("manuals"),
                "--documentation", "Manuals", "--url", "http://support.example.com/manuals/redirect?",
                "--online-languages", "English", "--windows-file", at("ReadMe.txt"), "--setup", "ReadMe.txt",
                "--windows-programs", at("programs"), "--out", disc()};
    }
    // clang-format on

private:
    TemporaryDirectory folder_;
};

struct BadInput {
    const char* name;
    // Spoils the inputs and gives the command line that must fail.
    std::function<std::vector<std::string>(const Inputs&)> spoil;
    std::string says;   // in the one line that names the fault
    std::string absent; // what must not be there afterwards ("-": nothing to look for)
    std::string kept{}; // an input that must still be there afterwards
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name;
}

class PressInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(PressInputTest, FailsNamingTheFaultAndLeavesNothingBehind) {
    const auto& c = GetParam();
    Inputs inputs;
    auto arguments = c.spoil(inputs);
    auto run = testing::runProcess(PRESS_PATH, arguments);

    // Findings go to standard output, as the inspector prints them; the press's own lines to standard error.
    const std::string said = run.err + run.out;
    EXPECT_EQ(run.exitStatus, 1) << c.name << "\n" << said;
    EXPECT_NE(said.find(c.says), std::string::npos) << c.name << ": " << said;
    EXPECT_EQ(said.find(".press-"), std::string::npos) << c.name << ": names the staging folder: " << said;
    EXPECT_EQ(
        std::count_if(said.begin(), said.end(), [](char b) { return (b >= 0 && b < 0x20 && b != '\n') || b == 0x7F; }),
        0)
        << c.name << ": a raw control character in what the press says";
    if (c.absent != "-") {
        EXPECT_FALSE(fs::exists(c.absent.empty() ? inputs.disc() : inputs.at(c.absent))) << c.name;
    }
    if (!c.kept.empty()) {
        EXPECT_TRUE(fs::exists(inputs.at(c.kept))) << c.name << ": " << c.kept << " is gone";
    }
    for (const auto& entry : fs::directory_iterator(inputs.at("discs")))
        EXPECT_EQ(entry.path().filename().string().find(".press-"), std::string::npos)
            << c.name << ": " << entry.path() << " left behind";
}

std::vector<std::string> with(std::vector<std::string> arguments, std::vector<std::string> more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// The command line with --out naming another place, to be replaced.
std::vector<std::string> writingTo(std::vector<std::string> arguments, const std::string& out) {
    arguments.back() = out;
    arguments.push_back("--replace");
    return arguments;
}

// The sample disc written by init, and the image command with `image`'s options.
std::vector<std::string> pressed(const Inputs& in, std::vector<std::string> image) {
    auto init = testing::runProcess(PRESS_PATH, in.init());
    EXPECT_EQ(init.exitStatus, 0) << init.err;
    image.insert(image.begin(), {"image", in.disc()});
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PressInputTest,
    ::testing::Values(
        BadInput{"misspelt language folder",
                 [](const Inputs& in) {
                     fs::rename(in.at("manuals/Manuals/German"), in.at("manuals/Manuals/Deutsh"));
                     return in.init();
                 },
                 "language folder \"Deutsh\" is not in the language table; add a row for it to "
                 "tools/press/languages.csv, or did you mean \"German\"?",
                 ""},
        BadInput{"language missing from the author's own table",
                 [](const Inputs& in) {
                     in.write("languages.csv", "Folder Name,Display Name,KPS Code\nEnglish,English,en\n");
                     return with(in.init(), {"--language-table", in.at("languages.csv")});
                 },
                 "language folder \"French\" is not in the language table; add a row for it to ", ""},
        BadInput{"model without documentation and without online languages",
                 [](const Inputs& in) {
                     in.write("models.csv", "Model,KPSID,Documentation,URL,Languages\nQX-500,QX500,,,\n"
                                            "RT-20,RT20,none,http://support.example.com/manuals/redirect?,\n");
                     return in.init();
                 },
                 "models.csv:3: model \"RT-20\" has no documentation folder and no online address with languages", ""},
        BadInput{"missing message texts",
                 [](const Inputs& in) {
                     std::ifstream sample(SAMPLE_DISC_SOURCE
                                          "/ZORVANE/MacResources/CDCommonMessage.bundle/Contents/Resources/"
                                          "de.lproj/Localizable.strings",
                                          std::ios::binary);
                     std::stringstream kept;
                     for (std::string line; std::getline(sample, line);)
                         if (line.find("\"UG_BTN_README\"") == std::string::npos)
                             kept << line << "\n";
                     in.write("more/de.lproj/Localizable.strings", kept.str());
                     return with(in.init(), {"--localizations", in.at("more")});
                 },
                 "key \"UG_BTN_README\" is missing", ""},
        BadInput{"empty manual, shown where the author keeps it",
                 [](const Inputs& in) {
                     in.write("manuals/Manuals/German/top.pdf", "");
                     return in.init();
                 },
                 "/manuals/Manuals/German/top.pdf: error: ", ""},
        BadInput{"NUL in a model name",
                 [](const Inputs& in) {
                     in.write("models.csv", "Model,KPSID\nQX-500,QX500\nQX-500\0evil,EVIL\n"s);
                     return in.init();
                 },
                 "models.csv:3: model \"QX-500\\x00evil\" holds a control character", ""},
        BadInput{"line break in a KPSID",
                 [](const Inputs& in) {
                     in.write("models.csv", "Model,KPSID\nQX-500,\"QX\n500\"\n");
                     return in.init();
                 },
                 "models.csv:2: the KPSID of model \"QX-500\", \"QX\\n500\", holds a control character", ""},
        BadInput{"model names equal once composed",
                 [](const Inputs& in) {
                     in.write("models.csv", "Model,KPSID\nCaf\xC3\xA9,C1\nCafe\xCC\x81,C2\n");
                     return in.init();
                 },
                 "models.csv:3: model \"Cafe\xCC\x81\" is already listed on line 2 as \"Caf\xC3\xA9\"", ""},
        BadInput{"table in Windows-1252",
                 [](const Inputs& in) {
                     in.write("models.csv", "Model,KPSID\nQX-500,QX500\nS\xE9rie,SERIE\n");
                     return in.init();
                 },
                 "models.csv: line 3: byte 0xE9 is not UTF-8", ""},
        BadInput{"manual name with a line break",
                 [](const Inputs& in) {
                     in.write("manuals/Manuals/English/notes\nold.txt", "notes");
                     return in.init();
                 },
                 "/manuals/Manuals/English/notes\\nold.txt: the name \"notes\\nold.txt\" cannot be on the image: it "
                 "holds a line break",
                 ""},
        BadInput{"language folder with a terminal control",
                 [](const Inputs& in) {
                     fs::rename(in.at("manuals/Manuals/German"), in.at("manuals/Manuals/Deu\x1Bsch"));
                     return in.init();
                 },
                 "/manuals/Manuals/Deu\\x1Bsch: language folder \"Deu\\x1Bsch\" is not in the language table", ""},
        BadInput{"manual name longer than Joliet holds",
                 [](const Inputs& in) {
                     in.write("manuals/Manuals/English/" + std::string(104, 'n'), "notes");
                     return in.init();
                 },
                 "has 104 characters; the image's Joliet names (Windows) hold at most 103", ""},
        BadInput{"manual name longer than HFS+ holds decomposed",
                 [](const Inputs& in) {
                     // U+0390 decomposes into three: 100 characters for Joliet, 300 for HFS+.
                     std::string name;
                     for (int i = 0; i < 100; ++i)
                         name += "\xCE\x90";
                     in.write("manuals/Manuals/English/" + name, "notes");
                     return in.init();
                 },
                 "has 300 UTF-16 characters decomposed; the image's HFS+ names (the Mac) hold at most 255", ""},
        BadInput{"names that differ only in letter case",
                 [](const Inputs& in) {
                     fs::copy_file(in.at("manuals/Manuals/English/top.pdf"), in.at("manuals/Manuals/English/TOP.PDF"));
                     return in.init();
                 },
                 "differ only in letter case or Unicode normalization; the Mac's HFS+ volume holds only one", ""},
        BadInput{"leaving out a localization the template lacks",
                 [](const Inputs& in) {
                     return with(in.init(), {"--leave-out", "xx.lproj"});
                 },
                 "--leave-out: the message template ", ""},
        BadInput{"existing output folder",
                 [](const Inputs& in) {
                     in.write("discs/ZORVANE/mine.txt", "an older disc");
                     return in.init();
                 },
                 "ZORVANE exists; give --replace to replace it", "discs/ZORVANE/Documentation"},
        BadInput{"folder with errors pressed without --force",
                 [](const Inputs& in) {
                     auto init = testing::runProcess(PRESS_PATH, in.init());
                     EXPECT_EQ(init.exitStatus, 0) << init.err;
                     fs::remove(in.at("discs/ZORVANE/Documentation/Manuals/English/top.pdf"));
                     return std::vector<std::string>{"image", in.disc()};
                 },
                 "; not pressed (--force presses it all the same)", "discs/ZORVANE.iso"},
        // Only what lies in the folders the author named goes onto a disc.
        BadInput{"link to a file outside the manuals",
                 [](const Inputs& in) {
                     fs::create_symlink("/etc/passwd", in.at("manuals/Manuals/English/notes.txt"));
                     return in.init();
                 },
                 "English/notes.txt: a link to /etc/passwd, outside the folders given to the press", ""},
        BadInput{"language folder linked from outside",
                 [](const Inputs& in) {
                     fs::rename(in.at("manuals/Manuals/French"), in.at("French"));
                     fs::create_directory_symlink(in.at("French"), in.at("manuals/Manuals/French"));
                     return in.init();
                 },
                 "Manuals/French: a link to " + std::string("/"), ""},
        BadInput{"link to a file outside a Windows folder",
                 [](const Inputs& in) {
                     in.write("extras/Setup/ReadMe.txt", "Read me.\r\n");
                     fs::create_symlink("/etc/passwd", in.at("extras/Setup/passwd"));
                     return with(in.init(), {"--windows-file", in.at("extras/Setup")});
                 },
                 "Setup/passwd: a link to /etc/passwd, outside the folders given to the press", ""},
        BadInput{"link to a file outside a localization, with --force",
                 [](const Inputs& in) {
                     fs::create_directories(in.at("more/de.lproj"));
                     fs::copy_file(SAMPLE_DISC_SOURCE "/ZORVANE/MacResources/CDCommonMessage.bundle/Contents/"
                                                      "Resources/de.lproj/Localizable.strings",
                                   in.at("more/de.lproj/Localizable.strings"));
                     fs::create_symlink("/etc/passwd", in.at("more/de.lproj/extra.strings"));
                     return with(in.init(), {"--localizations", in.at("more"), "--force"});
                 },
                 "de.lproj/extra.strings: a link to /etc/passwd, outside the folders given to the press", ""},
        BadInput{"named pipe among the manuals",
                 [](const Inputs& in) {
                     mkfifo(in.at("manuals/Manuals/English/pipe").c_str(), 0644);
                     return in.init();
                 },
                 "English/pipe: a named pipe (FIFO), not a regular file or folder", ""},
        BadInput{"dangling link among the manuals",
                 [](const Inputs& in) {
                     fs::create_symlink("gone.pdf", in.at("manuals/Manuals/English/old.pdf"));
                     return in.init();
                 },
                 "English/old.pdf: a link to gone.pdf, which does not exist", ""},
        BadInput{"folder linked into itself",
                 [](const Inputs& in) {
                     fs::create_directory_symlink("..", in.at("manuals/Manuals/English/again"));
                     return in.init();
                 },
                 "English/again: a link to ", ""},
        BadInput{"unreadable manual",
                 [](const Inputs& in) {
                     in.write("manuals/Manuals/English/secret.pdf", "%PDF");
                     fs::permissions(in.at("manuals/Manuals/English/secret.pdf"), fs::perms::none);
                     // Root reads every file; a refused file is then one the press cannot open.
                     return geteuid() == 0 ? with(in.init(), {"--windows-file", "/dev/null"}) : in.init();
                 },
                 geteuid() == 0 ? "null: a device, not a regular file"
                                : "English/secret.pdf: cannot be read: Permission denied",
                 ""},
        BadInput{"terminal controls and a line break in a file name",
                 [](const Inputs& in) {
                     fs::create_symlink("gone.pdf",
                                        in.at("manuals/Manuals/English/evil\x1B[31m\xE2\x80\xAE\nname.pdf"));
                     return in.init();
                 },
                 "English/evil\\x1B[31m\\u202E\\nname.pdf: a link to gone.pdf, which does not exist", ""},
        BadInput{"name longer than a screen",
                 [](const Inputs& in) {
                     std::string deep = in.at("manuals/Manuals/English");
                     for (int level = 0; level < 5; ++level)
                         deep += "/" + std::string(200, 'a');
                     fs::create_directories(deep);
                     mkfifo((deep + "/pipe").c_str(), 0644);
                     return in.init();
                 },
                 " bytes ...]aaaaaaaaaa", ""},
        // An output never lies on, in or around what it is made from.
        BadInput{"output is the manuals, replaced",
                 [](const Inputs& in) { return writingTo(in.init(), in.at("manuals")); },
                 "the output is " + std::string("/"), "-", "manuals/Manuals/English/top.pdf"},
        BadInput{"output inside the manuals",
                 [](const Inputs& in) { return writingTo(in.init(), in.at("manuals/Manuals/ZORVANE")); },
                 "the output lies inside ", "manuals/Manuals/ZORVANE", "manuals/Manuals/English/top.pdf"},
        BadInput{"output holding the models table",
                 [](const Inputs& in) {
                     in.write("discs/ZORVANE/models.csv", "Model,KPSID\nQX-500,QX500\n");
                     auto arguments = in.init();
                     *std::next(std::find(arguments.begin(), arguments.end(), "--models")) =
                         in.at("discs/ZORVANE/models.csv");
                     return with(arguments, {"--replace"});
                 },
                 "(--models), which it is made from", "-", "discs/ZORVANE/models.csv"},
        BadInput{"replacing a folder that is not a disc",
                 [](const Inputs& in) {
                     in.write("discs/ZORVANE/mine.txt", "an older disc");
                     return with(in.init(), {"--replace"});
                 },
                 "is not a disc folder written by docshelf-press init", "discs/ZORVANE/Documentation",
                 "discs/ZORVANE/mine.txt"},
        BadInput{"image onto its own disc folder",
                 [](const Inputs& in) {
                     return pressed(in, {"--out", in.disc(), "--replace"});
                 },
                 "the output is ", "-", "discs/ZORVANE/autorun.inf"},
        BadInput{"image replacing a file that is not an image",
                 [](const Inputs& in) {
                     in.write("discs/notes.iso", "my notes");
                     return pressed(in, {"--out", in.at("discs/notes.iso"), "--replace"});
                 },
                 "notes.iso is not an image; --replace replaces only an image", "-", "discs/notes.iso"}),
    [](const auto& test) { return testing::caseName(test.param.name); });

// The sample's models table in UTF-16 as "Unicode text" saves it: byte order mark, tabs, CR LF, and
// the empty last column a spreadsheet adds.
std::string unicodeText(bool bigEndian) {
    std::string text =
        "Model\tKPSID\tDocumentation\tURL\tLanguages\t\r\nQX-500\tQX500\t\t\t\t\r\n"
        "QX-750 Duo\tQX750D\tQX-750\t\t\t\r\n"
        "RT-20\tRT20\tnone\thttp://support.example.com/manuals/redirect?\tJapanese;English;German;Korean\t\r\n";
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text)
        out += bigEndian ? "\0"s + c : std::string(1, c) + '\0';
    return out;
}

// A run that succeeds or fails by what the check found, as the inspector's check exits.
struct Outcome {
    const char* name;
    std::function<std::vector<std::string>(const Inputs&)> prepare;
    int status;
    std::function<void(const Inputs&, const testing::ProcessResult&)> verify;
};

void PrintTo(const Outcome& c, std::ostream* out) {
    *out << c.name;
}

class PressOutcomeTest : public ::testing::TestWithParam<Outcome> {};

TEST_P(PressOutcomeTest, ExitsAsTheCheckDoes) {
    const auto& c = GetParam();
    Inputs inputs;
    auto run = testing::runProcess(PRESS_PATH, c.prepare(inputs));
    EXPECT_EQ(run.exitStatus, c.status) << c.name << "\n" << run.err << run.out;
    EXPECT_EQ((run.err + run.out).find(".press-"), std::string::npos)
        << c.name << ": names the staging folder: " << run.err << run.out;
    c.verify(inputs, run);
}

// The spoilt KPSID: an address carries a space percent-encoded, so the check warns, at the table's line.
std::vector<std::string> spacedKpsid(const Inputs& in, std::vector<std::string> more) {
    in.write("models.csv", "Model,KPSID,Documentation,URL,Languages\nQX-500,QX 500,,,\n");
    return with(in.init(), std::move(more));
}

void warnsAtTheTable(const Inputs&, const testing::ProcessResult& run) {
    EXPECT_NE(run.out.find("models.csv:2: warning: "), std::string::npos) << run.out;
}

// A language table without Spanish and Italian, for a disc whose manuals hold neither.
std::vector<std::string> withoutSpanishAndItalian(const Inputs& in, std::vector<std::string> more,
                                                  const std::string& frenchCode = "fr") {
    fs::remove_all(in.at("manuals/Manuals/Spanish"));
    fs::remove_all(in.at("manuals/QX-750"));
    in.write("models.csv", "Model,KPSID\nQX-500,QX500\n");
    in.write("languages.csv", "Folder Name,Display Name,KPS Code\nEnglish,English,en\nGerman,Deutsch,de\n"
                              "French,Français," +
                                  frenchCode + "\nJapanese,日本語,ja\n");
    return with(in.init(), with({"--language-table", in.at("languages.csv"), "--strict"}, std::move(more)));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PressOutcomeTest,
    ::testing::Values(
        Outcome{"a warning at the table's line passes", [](const Inputs& in) { return spacedKpsid(in, {}); }, 0,
                warnsAtTheTable},
        Outcome{"a warning fails with --strict", [](const Inputs& in) { return spacedKpsid(in, {"--strict"}); }, 1,
                warnsAtTheTable},
        Outcome{"ignored warnings do not fail with --strict",
                [](const Inputs& in) {
                    return withoutSpanishAndItalian(in, {"--ignore", "language-code-unknown"});
                },
                0,
                [](const Inputs&, const testing::ProcessResult& run) {
                    EXPECT_EQ(run.out.find("language-code-unknown"), std::string::npos) << run.out;
                }},
        Outcome{"findings as JSON, placed at the table",
                [](const Inputs& in) {
                    return spacedKpsid(in, {"--format", "json"});
                },
                0,
                [](const Inputs& in, const testing::ProcessResult& run) {
                    auto findings = nlohmann::json::parse(run.out, nullptr, false);
                    ASSERT_TRUE(findings.is_array() && findings.size() == 1) << run.out;
                    EXPECT_EQ(findings[0]["file"], in.at("models.csv")) << run.out;
                    EXPECT_EQ(findings[0]["line"], 2) << run.out;
                }},
        Outcome{"template localizations the table lacks fail with --strict",
                [](const Inputs& in) { return withoutSpanishAndItalian(in, {}); }, 1,
                [](const Inputs&, const testing::ProcessResult& run) {
                    EXPECT_NE(run.out.find("[language-code-unknown]"), std::string::npos) << run.out;
                }},
        Outcome{"a language code's fault at the author's language table",
                [](const Inputs& in) {
                    return withoutSpanishAndItalian(in, {"--leave-out", "Spanish", "--leave-out", "it"}, "fr FR");
                },
                1,
                [](const Inputs& in, const testing::ProcessResult& run) {
                    EXPECT_NE(run.out.find(in.at("languages.csv") + ":4: warning: [FolderInfoArray][2][KPS Code]"),
                              std::string::npos)
                        << run.out;
                }},
        Outcome{"template localizations left out pass with --strict",
                [](const Inputs& in) {
                    return withoutSpanishAndItalian(in, {"--leave-out", "Spanish.lproj", "--leave-out", "it"});
                },
                0,
                [](const Inputs& in, const testing::ProcessResult& run) {
                    EXPECT_EQ(run.out, "");
                    EXPECT_FALSE(fs::exists(in.at("discs/ZORVANE/MacResources/CDCommonMessage.bundle/Contents/"
                                                  "Resources/it.lproj")));
                }},
        Outcome{
            "a table in UTF-16, either byte order, makes the disc of the UTF-8 table",
            [](const Inputs& in) {
                in.write("models.csv", unicodeText(false));
                in.write("models-be.csv", unicodeText(true));
                auto bigEndian = in.init();
                bigEndian[2] = in.at("models-be.csv");
                bigEndian.back() = in.at("big-endian/ZORVANE");
                EXPECT_EQ(testing::runProcess(PRESS_PATH, bigEndian).exitStatus, 0);
                return in.init();
            },
            0,
            [](const Inputs& in, const testing::ProcessResult&) {
                for (const char* disc : {"discs/ZORVANE", "big-endian/ZORVANE"}) {
                    auto list = foundation::PropertyListReader::readFile(in.at(disc) + "/MacResources/ModelInfo.plist");
                    std::vector<std::string> records;
                    for (const auto& [model, record] : list.root.objectForKey("Model").entries())
                        records.push_back(model + "=" + std::string(record.objectForKey("KPSID").text()));
                    EXPECT_EQ(records, (std::vector<std::string>{"QX-500=QX500", "QX-750 Duo=QX750D", "RT-20=RT20"}))
                        << disc;
                }
            }}),
    [](const auto& test) { return testing::caseName(test.param.name); });

// Asked for on purpose, a link that leads outside is copied as what it names, and said.
TEST(PressOutsideLinks, CopiedWhenTheAuthorAsks) {
    Inputs inputs;
    inputs.write("elsewhere/notes.txt", "notes kept elsewhere");
    fs::create_symlink(inputs.at("elsewhere/notes.txt"), inputs.at("manuals/Manuals/English/notes.txt"));
    auto run = testing::runProcess(PRESS_PATH, with(inputs.init(), {"--follow-outside-links"}));

    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("warning: " + inputs.at("manuals/Manuals/English/notes.txt") + ": a link to " +
                           inputs.at("elsewhere/notes.txt") + ", outside the folders given to the press; copied"),
              std::string::npos)
        << run.err;
    fs::path copied = inputs.at("discs/ZORVANE/Documentation/Manuals/English/notes.txt");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(copied))) << "a disc holds no links";
}

// HFS+ stores names decomposed, Joliet and Rock Ridge as written: a model and
// a manual page with accents read back from every tree as themselves.
TEST(PressAccentedNames, PressAndReadBack) {
    if (!fs::exists("/usr/bin/xorriso") || (!fs::exists("/usr/bin/7zz") && !fs::exists("/usr/bin/7z")))
        GTEST_SKIP() << "xorriso or 7-Zip is not installed";
    Inputs inputs;
    std::ofstream(inputs.at("models.csv"), std::ios::app) << "S\u00E9rie \u00D8,SERIE,,,\n";
    inputs.write("manuals/Manuals/German/\u00DCbersicht.html", "<p>\u00DCbersicht</p>");
    auto init = testing::runProcess(PRESS_PATH, inputs.init());
    ASSERT_EQ(init.exitStatus, 0) << init.err;
    ASSERT_TRUE(fs::exists(inputs.at("discs/ZORVANE/Windows/vps_S\u00E9rie \u00D8.exe")));

    auto image = testing::runProcess(PRESS_PATH, {"image", inputs.disc()});
    EXPECT_EQ(image.exitStatus, 0) << image.err;
    EXPECT_TRUE(fs::exists(inputs.at("discs/ZORVANE.iso"))) << image.err;
}

// A file system too small for the disc, where this machine lets the test make
// one: the copy that fails names the file and the cause, and image says how
// much room it needs before it writes anything.
TEST(PressFullDisk, SaysWhatDidNotFitAndWhy) {
    Inputs inputs;
    fs::create_directories(inputs.at("small"));
    auto mounted = testing::runProcess("/bin/mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", inputs.at("small")});
    if (mounted.exitStatus != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    auto init = testing::runProcess(PRESS_PATH, writingTo(inputs.init(), inputs.at("small/ZORVANE")));
    auto disc = testing::runProcess(PRESS_PATH, inputs.init());
    auto image = testing::runProcess(PRESS_PATH, {"image", inputs.disc(), "--out", inputs.at("small/ZORVANE.iso")});
    std::size_t left = static_cast<std::size_t>(std::distance(fs::directory_iterator(inputs.at("small")), {}));
    testing::runProcess("/bin/umount", {inputs.at("small")});

    EXPECT_EQ(init.exitStatus, 1);
    EXPECT_NE(init.err.find(": cannot be copied to "), std::string::npos) << init.err;
    EXPECT_NE(init.err.find(": No space left on device"), std::string::npos) << init.err;
    ASSERT_EQ(disc.exitStatus, 0) << disc.err;
    EXPECT_EQ(image.exitStatus, 1);
    EXPECT_NE(image.err.find(" needs about "), std::string::npos) << image.err;
    EXPECT_EQ(left, 0u) << "nothing half-written is left";
}

// Killed outright, the press runs no handler: what it started dies with it, and
// the next run to the same place removes the staging folder it left. The
// xorriso it starts is one that waits, put first on its PATH.
TEST(PressKilled, ChildrenDieAndTheNextRunCleansUp) {
    if (!fs::exists("/usr/bin/xorriso") || (!fs::exists("/usr/bin/7zz") && !fs::exists("/usr/bin/7z")))
        GTEST_SKIP() << "xorriso or 7-Zip is not installed";
    Inputs inputs;
    auto init = testing::runProcess(PRESS_PATH, inputs.init());
    ASSERT_EQ(init.exitStatus, 0) << init.err;
    std::string started = inputs.at("xorriso.pid");
    inputs.write("bin/xorriso", "#!/bin/sh\necho $$ > " + started + "\nexec sleep 300\n");
    fs::permissions(inputs.at("bin/xorriso"), fs::perms(0755));
    const char* path = std::getenv("PATH");
    auto press = foundation::BoundedRun::start(PRESS_PATH, {"image", inputs.disc()}, std::chrono::minutes(5),
                                               {"PATH=" + inputs.at("bin") + ":" + (path ? path : "/usr/bin:/bin")});

    pid_t xorriso = 0;
    for (int tries = 0; tries < 3000 && xorriso == 0; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream(started) >> xorriso;
    }
    ASSERT_NE(xorriso, 0) << "the press never started xorriso";
    kill(press.pid(), SIGKILL);
    press.wait();
    EXPECT_TRUE(testing::processEnded(xorriso)) << "xorriso, process " << xorriso << ", outlived the press";

    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(inputs.at("discs")))
        if (entry.path().filename().string().starts_with(".ZORVANE.iso.press-"))
            left.push_back(entry.path());
    ASSERT_EQ(left.size(), 1u) << "the killed run's staging folder";
    // Extracted image trees are read-only; leftovers with such folders go too.
    fs::create_directories(left[0] / "tree");
    fs::permissions(left[0] / "tree", fs::perms(0555));

    auto again = testing::runProcess(PRESS_PATH, {"image", inputs.disc()});
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_NE(again.err.find("warning: removed " + left[0].string() + ", left by an interrupted run"),
              std::string::npos)
        << again.err;
    EXPECT_FALSE(fs::exists(left[0]));
    EXPECT_TRUE(fs::exists(inputs.at("discs/ZORVANE.iso")));
}

}
}
