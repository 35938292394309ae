#include "RecorderOutput.h"
#include "TemporaryDirectory.h"
#include "WineSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

using docshelf::testing::RecorderOutput;
using docshelf::testing::TemporaryDirectory;
using docshelf::testing::WineSession;
namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The arguments of a command line: what follows the program, quoted or not.
std::string Arguments(const std::string& commandLine)
{
    std::size_t end = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
    if (end == std::string::npos || end >= commandLine.size())
        return "";
    std::string rest = commandLine.substr(end);
    rest.erase(0, rest.find_first_not_of(' '));
    rest.erase(rest.find_last_not_of(' ') + 1);
    return rest;
}

struct LaunchCase {
    const char* name;
    std::string launcher;            // file name of the Startwick copy in the disc folder
    std::optional<std::string> ini;  // contents of inst.ini, lines ended by CR LF; nullopt: no file
    // Where the recorder is, relative to the disc folder; empty: nothing may start.
    std::string startedProgram;
    std::string arguments;
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const LaunchCase& c, std::ostream* out)
{
    *out << c.name;
}

// A disc folder with a copy of Startwick, an inst.ini and the recorder as the
// program to start, run under Wine from another current folder.
class StartwickWineTest : public testing::TestWithParam<LaunchCase> {
protected:
    void SetUp() override { ASSERT_TRUE(wine.ready()); }

    fs::path install(const fs::path& program, const std::string& relative) const
    {
        fs::path target = disc / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(program, target, fs::copy_options::overwrite_existing);
        return target;
    }

    void writeIni(const std::string& contents) const { std::ofstream(disc / "inst.ini", std::ios::binary) << contents; }

    int run(const std::string& launcher) const
    {
        auto [name, value] = recorder.environment();
        return wine.run(install(startwick, launcher), {{name, value}}, folder.path());
    }

    TemporaryDirectory folder;
    fs::path disc = folder.path() / "disc";
    WineSession wine;
    const fs::path startwick = wine.architecture().programs() / "Startwick.exe";
    const fs::path recorderProgram = wine.architecture().recorder();
    RecorderOutput recorder{folder.path() / "recording.txt"};
};

TEST_P(StartwickWineTest, OpensTheProgramOfItsSectionInItsFolder)
{
    const LaunchCase& c = GetParam();
    install(recorderProgram, "setup.exe");
    install(recorderProgram, "tools/setup.exe");
    if (c.ini)
        writeIni(*c.ini);

    ASSERT_EQ(run(c.launcher), 0) << c.name;

    if (c.startedProgram.empty()) {
        EXPECT_TRUE(recorder.absent()) << c.name << ": a program was started";
        return;
    }
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << c.name << ": nothing was started";
    EXPECT_EQ(Lower(recording->modulePath), Lower(WineSession::windowsPath(disc / c.startedProgram))) << c.name;
    EXPECT_EQ(Arguments(recording->commandLine), c.arguments) << c.name << ": " << recording->commandLine;
    EXPECT_EQ(Lower(recording->currentDirectory), Lower(WineSession::windowsPath(disc))) << c.name;
}

// 259 characters that name setup.exe in the launcher's folder, then 41 more.
std::string Exeprog300()
{
    std::string value;
    while (value.size() < 259 - 9)
        value += ".\\";
    value += "setup.exe";
    return value + std::string(300 - value.size(), 'x');
}

const std::string kArgv1200 = "/" + std::string(1199, 'a');

INSTANTIATE_TEST_SUITE_P(
    Sections, StartwickWineTest,
    testing::Values(
        LaunchCase{"StartWithoutArgv", "Start.exe", "[Start]\r\nExeprog=setup.exe\r\n", "setup.exe", ""},
        LaunchCase{"StartWithArgv", "Start.exe", "[Start]\r\nExeprog=setup.exe\r\nArgv=/quiet \"a b\"\r\n", "setup.exe",
                   "/quiet \"a b\""},
        LaunchCase{"OtherWithItsSection", "Other.exe",
                   "[Start]\r\nExeprog=setup.exe\r\nArgv=/start\r\n[Other]\r\nExeprog=setup.exe\r\nArgv=/other\r\n",
                   "setup.exe", "/other"},
        LaunchCase{"OtherWithoutASection", "Other.exe", "[Start]\r\nExeprog=setup.exe\r\n", "", ""},
        LaunchCase{"DottedName", "Start.Here.exe",
                   "[Start]\r\nExeprog=setup.exe\r\nArgv=/start\r\n[Start.Here]\r\nExeprog=setup.exe\r\nArgv=/here\r\n",
                   "setup.exe", "/here"},
        LaunchCase{"ExeprogOf300IsCutTo259", "Start.exe", "[Start]\r\nExeprog=" + Exeprog300() + "\r\n", "setup.exe",
                   ""},
        LaunchCase{"EmptyExeprog", "Start.exe", "[Start]\r\nExeprog=\r\nArgv=/quiet\r\n", "", ""},
        LaunchCase{"EmptyIniFile", "Start.exe", "", "", ""}, LaunchCase{"NoIniFile", "Start.exe", std::nullopt, "", ""},
        LaunchCase{"UpperCaseNameFindsItsSectionAndKeysInAnyCase", "SETUP.EXE",
                   "[Setup]\r\nEXEPROG=tools\\setup.exe\r\nargv=/up\r\n", "tools/setup.exe", "/up"},
        LaunchCase{"ArgvOf1200IsCutTo999", "Start.exe", "[Start]\r\nExeprog=setup.exe\r\nArgv=" + kArgv1200 + "\r\n",
                   "setup.exe", kArgv1200.substr(0, 999)},
        // cmd.exe starts the program some seconds after the launcher has ended.
        LaunchCase{"ProgramStartedLateIsSeen", "Start.exe",
                   "[Start]\r\nExeprog=cmd.exe\r\nArgv=/c ping -n 4 127.0.0.1 >nul & setup.exe\r\n", "setup.exe", ""},
        LaunchCase{"RelativeExeprog", "Start.exe", "[Start]\r\nExeprog=tools\\setup.exe\r\nArgv=-r\r\n",
                   "tools/setup.exe", "-r"}),
    [](const testing::TestParamInfo<LaunchCase>& testCase) { return testCase.param.name; });

// Registers the recorder, copied to apps/<name>, as the open command of files of the extension.
fs::path RegisterReader(const WineSession& wine, const fs::path& folder, const std::string& extension,
                        const std::string& name)
{
    fs::path reader = folder / "apps" / name;
    fs::create_directories(reader.parent_path());
    fs::copy_file(wine.architecture().recorder(), reader);
    const std::string className = "ZvTest" + extension.substr(1);
    EXPECT_TRUE(wine.setDefaultValue("HKCR\\" + extension, className));
    EXPECT_TRUE(wine.setDefaultValue("HKCR\\" + className + "\\shell\\open\\command",
                                     "\"" + WineSession::windowsPath(reader) + "\" \"%1\""));
    return reader;
}

TEST_F(StartwickWineTest, SampleDiscSetupOpensItsReadMe)
{
    fs::path reader = RegisterReader(wine, folder.path(), ".txt", "notes.exe");
    for (const char* file : {"Setup.exe", "inst.ini", "ReadMe.txt"})
        install(wine.architecture().discWindows() / file, file);
    auto [name, value] = recorder.environment();
    ASSERT_EQ(wine.run(disc / "Setup.exe", {{name, value}}, folder.path()), 0);

    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "the read-me's program was not started";
    EXPECT_EQ(Lower(recording->modulePath), Lower(WineSession::windowsPath(reader)));
    EXPECT_EQ(Lower(Arguments(recording->commandLine)),
              Lower("\"" + WineSession::windowsPath(disc / "ReadMe.txt") + "\""));
    EXPECT_EQ(Lower(recording->currentDirectory), Lower(WineSession::windowsPath(disc)));
}

TEST_F(StartwickWineTest, OpensADocumentWithItsAssociatedProgram)
{
    fs::path reader = RegisterReader(wine, folder.path(), ".zvdoc", "reader.exe");
    fs::create_directories(disc);
    std::ofstream(disc / "Manual.zvdoc") << "manual";
    writeIni("[Start]\r\nExeprog=Manual.zvdoc\r\n");

    ASSERT_EQ(run("Start.exe"), 0);

    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "the document's program was not started";
    EXPECT_EQ(Lower(recording->modulePath), Lower(WineSession::windowsPath(reader)));
    EXPECT_EQ(Lower(Arguments(recording->commandLine)),
              Lower("\"" + WineSession::windowsPath(disc / "Manual.zvdoc") + "\""));
    EXPECT_EQ(Lower(recording->currentDirectory), Lower(WineSession::windowsPath(disc)));
}

}
