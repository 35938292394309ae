#include "LauncherText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace startwick;

namespace {

struct PathCase {
    const char* modulePath;
    const char* result;
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << c.modulePath;
}

std::vector<char> Buffer(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.resize(kModulePathSize, '\0');
    return buffer;
}

class CutToFolderTest : public testing::TestWithParam<PathCase> {};

TEST_P(CutToFolderTest, LeavesTheFolderWithoutATrailingSeparator)
{
    std::vector<char> path = Buffer(GetParam().modulePath);
    CutToFolder(path.data());
    EXPECT_STREQ(path.data(), GetParam().result) << GetParam().modulePath;
}

INSTANTIATE_TEST_SUITE_P(Paths, CutToFolderTest,
                         testing::Values(PathCase{"C:\\Disc\\Windows\\Start.exe", "C:\\Disc\\Windows"},
                                         PathCase{"D:\\Start.exe", "D:"}, PathCase{"C:/Disc/Start.exe", "C:/Disc"},
                                         PathCase{"C:\\Disc.v2/Start.exe", "C:\\Disc.v2"},
                                         PathCase{"\\\\server\\share\\Start.exe", "\\\\server\\share"},
                                         PathCase{"Start.exe", "Start.exe"}, PathCase{"", ""}));

class CutToBaseNameTest : public testing::TestWithParam<PathCase> {};

TEST_P(CutToBaseNameTest, DropsOnlyTheLastExtension)
{
    std::vector<char> path = Buffer(GetParam().modulePath);
    EXPECT_STREQ(CutToBaseName(path.data()), GetParam().result) << GetParam().modulePath;
}

INSTANTIATE_TEST_SUITE_P(Paths, CutToBaseNameTest,
                         testing::Values(PathCase{"C:\\Disc\\Start.exe", "Start"},
                                         PathCase{"C:\\Disc\\Start.Here.exe", "Start.Here"},
                                         PathCase{"C:\\Disc.v2\\Start", "Start"},
                                         PathCase{"C:/Disc/Other.EXE", "Other"}, PathCase{"D:Start.exe", "Start"},
                                         PathCase{"Start.exe", "Start"}, PathCase{"C:\\Disc\\.exe", ""},
                                         PathCase{"C:\\Disc\\", ""}, PathCase{"", ""}));

struct IniCase {
    const char* name;
    std::string folder;
    bool fits;
    std::string iniPath;
};

void PrintTo(const IniCase& c, std::ostream* out)
{
    *out << c.name;
}

class BuildIniPathTest : public testing::TestWithParam<IniCase> {};

TEST_P(BuildIniPathTest, JoinsFolderAndFileOrGivesNothing)
{
    const IniCase& c = GetParam();
    char out[kIniPathSize + 1];
    out[kIniPathSize] = '#';
    EXPECT_EQ(BuildIniPath(c.folder.c_str(), out, kIniPathSize), c.fits) << c.name;
    EXPECT_EQ(std::string(out), c.iniPath) << c.name;
    EXPECT_EQ(out[kIniPathSize], '#') << c.name;
}

const std::string kFolder250 = "C:\\" + std::string(247, 'f');

INSTANTIATE_TEST_SUITE_P(Folders, BuildIniPathTest,
                         testing::Values(IniCase{"Folder", "C:\\Disc", true, "C:\\Disc\\inst.ini"},
                                         IniCase{"DriveRoot", "D:", true, "D:\\inst.ini"},
                                         IniCase{"NoFolder", "", true, "\\inst.ini"},
                                         IniCase{"LongestFolder", kFolder250, true, kFolder250 + "\\inst.ini"},
                                         IniCase{"FolderTooLong", kFolder250 + "f", false, ""}),
                         [](const testing::TestParamInfo<IniCase>& testCase) { return testCase.param.name; });

TEST(CopyBoundedTest, FillsTheRestWithZeroBytes)
{
    char out[8];
    std::fill(std::begin(out), std::end(out), '#');
    CopyBounded(out, sizeof out, "abc");
    EXPECT_EQ(std::string(out, sizeof out), std::string("abc\0\0\0\0\0", 8));
}

TEST(CopyBoundedTest, AlwaysEndsWithATerminator)
{
    char out[5];
    out[4] = '#';
    CopyBounded(out, 4, "abcdef");
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], '#');
}

TEST(ClearTextTest, ClearsTheWholeCapacityAndNoMore)
{
    char out[6] = {'a', 'b', 'c', 'd', 'e', '#'};
    ClearText(out, 5);
    EXPECT_EQ(std::string(out, 6), std::string("\0\0\0\0\0#", 6));
}

}
