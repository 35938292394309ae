#include "FakeStartwickSystem.h"
#include "SetupLauncher.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

using startwick::SetupLauncher;

namespace {

struct LaunchCase {
    const char* name;
    std::string modulePath;
    // Sections of the INI file at iniPath.
    FakeStartwickSystem::Sections sections;
    std::string iniPath;
    std::string sectionName;
    std::optional<FakeStartwickSystem::ShellCall> shellCall;  // nullopt: nothing is started
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const LaunchCase& c, std::ostream* out)
{
    *out << c.name;
}

class SetupLaunchTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(SetupLaunchTest, OpensTheProgramOfItsOwnSectionInItsOwnFolder)
{
    const LaunchCase& c = GetParam();
    FakeStartwickSystem fake;
    fake.modulePath = c.modulePath;
    fake.iniFiles[c.iniPath] = c.sections;
    const std::string startDirectory = fake.currentDirectory;

    SetupLauncher launcher(fake.system());
    launcher.Run();

    EXPECT_EQ(std::string(launcher.iniPath()), c.iniPath) << c.name;
    EXPECT_EQ(std::string(launcher.sectionName()), c.sectionName) << c.name;
    // Both keys are read, in this order, before either is looked at.
    ASSERT_EQ(fake.profileReads.size(), 2u) << c.name;
    EXPECT_EQ(fake.profileReads[0].key, "Exeprog") << c.name;
    EXPECT_EQ(fake.profileReads[0].size, 260u) << c.name;
    EXPECT_EQ(fake.profileReads[1].key, "Argv") << c.name;
    EXPECT_EQ(fake.profileReads[1].size, 1000u) << c.name;
    for (const auto& read : fake.profileReads) {
        EXPECT_EQ(read.section, c.sectionName) << c.name;
        EXPECT_EQ(read.iniPath, c.iniPath) << c.name;
    }

    if (!c.shellCall) {
        EXPECT_TRUE(fake.shellCalls.empty()) << c.name;
        EXPECT_EQ(fake.directoryQueries, 0) << c.name;
        EXPECT_TRUE(fake.directoryChanges.empty()) << c.name;
        return;
    }
    ASSERT_EQ(fake.shellCalls.size(), 1u) << c.name;
    const FakeStartwickSystem::ShellCall& call = fake.shellCalls[0];
    EXPECT_EQ(call.file, c.shellCall->file) << c.name;
    EXPECT_EQ(call.parameters, c.shellCall->parameters) << c.name;
    EXPECT_EQ(call.directory, c.shellCall->directory) << c.name;
    EXPECT_EQ(call.currentDirectory, c.shellCall->directory) << c.name;
    EXPECT_EQ(fake.directoryChanges, (std::vector<std::string>{c.shellCall->directory, startDirectory})) << c.name;
    EXPECT_EQ(fake.currentDirectory, startDirectory) << c.name;
}

const std::string kLong(300, 'p');
const std::string kLongArgv(1200, 'a');

INSTANTIATE_TEST_SUITE_P(
    Launches, SetupLaunchTest,
    testing::Values(
        LaunchCase{"ProgramWithoutArgv",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"setup.exe", "", "C:\\Disc", ""}},
        LaunchCase{"ProgramWithArgv",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}, {"Argv", "/quiet \"a b\""}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"setup.exe", "/quiet \"a b\"", "C:\\Disc", ""}},
        LaunchCase{"OtherNameReadsItsSection",
                   "C:\\Disc\\Other.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}}}, {"Other", {{"Exeprog", "other.exe"}, {"Argv", "-o"}}}},
                   "C:\\Disc\\inst.ini",
                   "Other",
                   FakeStartwickSystem::ShellCall{"other.exe", "-o", "C:\\Disc", ""}},
        LaunchCase{"OtherNameWithoutSection",
                   "C:\\Disc\\Other.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}}}},
                   "C:\\Disc\\inst.ini",
                   "Other",
                   std::nullopt},
        LaunchCase{"DottedName",
                   "C:\\Disc\\Start.Here.exe",
                   {{"Start", {{"Exeprog", "start.exe"}}}, {"Start.Here", {{"Exeprog", "here.exe"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start.Here",
                   FakeStartwickSystem::ShellCall{"here.exe", "", "C:\\Disc", ""}},
        LaunchCase{"DriveRoot",
                   "D:\\Start.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}}}},
                   "D:\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"setup.exe", "", "D:", ""}},
        LaunchCase{"LongValuesAreCut",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", kLong}, {"Argv", kLongArgv}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{kLong.substr(0, 259), kLongArgv.substr(0, 999), "C:\\Disc", ""}},
        LaunchCase{"EmptyExeprog",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", ""}, {"Argv", "-x"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   std::nullopt},
        LaunchCase{"NoExeprog",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Argv", "-x"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   std::nullopt},
        LaunchCase{"RelativeProgram",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", "tools\\setup.exe"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"tools\\setup.exe", "", "C:\\Disc", ""}},
        LaunchCase{"Document",
                   "C:\\Disc\\Start.exe",
                   {{"Start", {{"Exeprog", "Manual.pdf"}}}},
                   "C:\\Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"Manual.pdf", "", "C:\\Disc", ""}},
        LaunchCase{"UpperCaseNameFindsItsSectionAndKeysInAnyCase",
                   "C:\\Disc\\SETUP.EXE",
                   {{"Setup", {{"exeprog", "setup.exe"}, {"ARGV", "/up"}}}},
                   "C:\\Disc\\inst.ini",
                   "SETUP",
                   FakeStartwickSystem::ShellCall{"setup.exe", "/up", "C:\\Disc", ""}},
        LaunchCase{"SlashSeparatedPath",
                   "C:/Disc/Start.exe",
                   {{"Start", {{"Exeprog", "setup.exe"}}}},
                   "C:/Disc\\inst.ini",
                   "Start",
                   FakeStartwickSystem::ShellCall{"setup.exe", "", "C:/Disc", ""}}),
    [](const testing::TestParamInfo<LaunchCase>& testCase) { return testCase.param.name; });

TEST(SetupLauncherTest, WithoutItsOwnPathReadsTheInstSectionOfTheRootInstIni)
{
    FakeStartwickSystem fake;
    fake.moduleResultOverridden = true;
    fake.moduleResult = 0;
    fake.iniFiles["\\inst.ini"]["inst"]["Exeprog"] = "setup.exe";

    SetupLauncher launcher(fake.system());
    launcher.Run();

    EXPECT_STREQ(launcher.iniPath(), "\\inst.ini");
    EXPECT_STREQ(launcher.sectionName(), "inst");
    ASSERT_EQ(fake.shellCalls.size(), 1u);
    EXPECT_EQ(fake.shellCalls[0].directory, "");
}

struct NothingStartsCase {
    const char* name;
    std::string folder;
    std::string launcher;
};

void PrintTo(const NothingStartsCase& c, std::ostream* out)
{
    *out << c.name;
}

class NothingStartsTest : public testing::TestWithParam<NothingStartsCase> {};

// Neither the launcher's own inst.ini, cut to fit, nor the current drive's
// \inst.ini may name what it starts.
TEST_P(NothingStartsTest, WhenItsIniPathCannotBeHadWhole)
{
    const NothingStartsCase& c = GetParam();
    FakeStartwickSystem fake;
    fake.modulePath = c.folder + "\\" + c.launcher;
    for (const std::string& ini : {(c.folder + "\\inst.ini").substr(0, 259), std::string("\\inst.ini")}) {
        fake.iniFiles[ini]["S"]["Exeprog"] = "setup.exe";
        fake.iniFiles[ini]["inst"]["Exeprog"] = "setup.exe";
    }

    SetupLauncher launcher(fake.system());
    launcher.Run();

    EXPECT_STREQ(launcher.iniPath(), "") << c.name;
    EXPECT_TRUE(fake.profileReads.empty()) << c.name;
    EXPECT_TRUE(fake.shellCalls.empty()) << c.name;
    EXPECT_TRUE(fake.directoryChanges.empty()) << c.name;
}

// A folder of 251 characters and "\inst.ini" make 260 characters, one too many;
// a launcher 260 characters deep or more is cut short by the 260-byte buffer.
INSTANTIATE_TEST_SUITE_P(
    Paths, NothingStartsTest,
    testing::Values(NothingStartsCase{"FolderTooLongForTheIniPath", "C:\\" + std::string(248, 'f'), "S.exe"},
                    NothingStartsCase{"OwnPathOf260CutShort", "C:\\" + std::string(251, 'f'), "S.exe"},
                    NothingStartsCase{"OwnPathOf300CutShort", "C:\\" + std::string(300, 'f'), "S.exe"}),
    [](const testing::TestParamInfo<NothingStartsCase>& testCase) { return testCase.param.name; });

struct DirectoryCase {
    const char* name;
    std::string currentDirectory;
    bool queryFails;
};

void PrintTo(const DirectoryCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnsavedDirectoryTest : public testing::TestWithParam<DirectoryCase> {};

TEST_P(UnsavedDirectoryTest, StillLaunchesButRestoresNothing)
{
    const DirectoryCase& c = GetParam();
    FakeStartwickSystem fake;
    fake.currentDirectory = c.currentDirectory;
    fake.currentDirectoryFails = c.queryFails;
    fake.iniFiles["C:\\Disc\\inst.ini"]["Start"]["Exeprog"] = "setup.exe";
    SetupLauncher(fake.system()).Run();
    EXPECT_EQ(fake.shellCalls.size(), 1u) << c.name;
    EXPECT_EQ(fake.directoryChanges, std::vector<std::string>{"C:\\Disc"}) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Directories, UnsavedDirectoryTest,
                         testing::Values(DirectoryCase{"QueryFails", "C:\\Users", true},
                                         DirectoryCase{"DirectoryTooLong", "C:\\" + std::string(300, 'd'), false}),
                         [](const testing::TestParamInfo<DirectoryCase>& testCase) { return testCase.param.name; });

TEST(SetupLauncherTest, LauncherFolderAndBaseNameStayWithinASmallerOutput)
{
    FakeStartwickSystem fake;
    fake.modulePath = "C:\\Disc\\Windows\\Start.exe";
    SetupLauncher launcher(fake.system());
    char out[8];
    out[6] = '#';
    launcher.GetLauncherFolder(out, 6);
    EXPECT_STREQ(out, "C:\\Di");
    EXPECT_EQ(out[6], '#');
    launcher.GetLauncherBaseName(out, 4);
    EXPECT_STREQ(out, "Sta");
}

}
