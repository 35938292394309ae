#include "CaseName.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace docshelf::press {
namespace {

namespace fs = std::filesystem;
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
                "--windows-programs", at("programs"), "--inspector", INSPECTOR_PATH, "--out", disc()};
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
    std::string absent; // what must not be there afterwards
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

    EXPECT_EQ(run.exitStatus, 1) << c.name << "\n" << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
    EXPECT_FALSE(fs::exists(c.absent.empty() ? inputs.disc() : inputs.at(c.absent))) << c.name;
    for (const auto& entry : fs::directory_iterator(inputs.at("discs")))
        EXPECT_EQ(entry.path().filename().string().find(".press-"), std::string::npos)
            << c.name << ": " << entry.path() << " left behind";
}

std::vector<std::string> with(std::vector<std::string> arguments, std::vector<std::string> more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
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
                     return std::vector<std::string>{"image", in.disc(), "--inspector", INSPECTOR_PATH};
                 },
                 "; not pressed (--force presses it all the same)", "discs/ZORVANE.iso"}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

}
}
