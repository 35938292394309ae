#include "SuppliesHost.h"
#include "SuppliesText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace vendpost;

namespace {

struct ModelCase {
    const char* name;
    std::string modulePath;
    std::string model;
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const ModelCase& c, std::ostream* out)
{
    *out << c.name;
}

class ModelNameTest : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelNameTest, TakesTheModelFromTheFileName)
{
    const ModelCase& c = GetParam();
    std::vector<char> path(c.modulePath.begin(), c.modulePath.end());
    path.resize(kModulePathSize, '\0');
    char model[kModelNameSize];
    std::fill(std::begin(model), std::end(model), 'x');
    GetModelName(path.data(), model, sizeof model);
    EXPECT_EQ(std::string(model), c.model) << c.modulePath;
}

const std::string kLongModel(kModelNameSize - 1, 'M');

INSTANTIATE_TEST_SUITE_P(Paths, ModelNameTest,
                         testing::Values(ModelCase{"Plain", "C:\\Disc\\vps_QX-500.exe", "QX-500"},
                                         ModelCase{"MixedCasePrefix", "C:\\Disc\\VpS_QX-500.EXE", "QX-500"},
                                         ModelCase{"FirstDotEndsModel", "C:\\Disc\\vps_QX.500.exe", "QX"},
                                         ModelCase{"BlankInModel", "C:\\Disc\\vps_QX-750 Duo.exe", "QX-750 Duo"},
                                         ModelCase{"DashInsteadOfUnderscore", "C:\\Disc\\vps-QX.exe", ""},
                                         ModelCase{"NoUnderscore", "C:\\Disc\\vpsQX.exe", ""},
                                         ModelCase{"OtherName", "C:\\Disc\\supplies.exe", ""},
                                         ModelCase{"PrefixOnly", "C:\\Disc\\vps_.exe", ""},
                                         ModelCase{"UpperCaseUnderscoreLookalike", "C:\\Disc\\VPS-QX.exe", ""},
                                         ModelCase{"DotInFolder", "C:\\Disc.v2\\vps_RT-20.exe", "RT-20"},
                                         ModelCase{"PrefixedFolderOnly", "C:\\vps_Folder\\supplies.exe", ""},
                                         ModelCase{"NoExtension", "C:\\Disc\\vps_RT-20", "RT-20"},
                                         ModelCase{"ShortFileName", "C:\\Disc\\vp", ""},
                                         ModelCase{"EmptyFileName", "C:\\Disc\\", ""},
                                         ModelCase{"NoBackslash", "vps_QX-500.exe", ""},
                                         ModelCase{"SlashDoesNotSeparate", "C:/Disc/vps_QX-500.exe", ""},
                                         ModelCase{"EmptyPath", "", ""},
                                         ModelCase{"LongestModel", "C:\\vps_" + kLongModel + ".exe", kLongModel},
                                         ModelCase{"ModelTooLongIsDropped", "C:\\vps_" + kLongModel + "N.exe", ""}),
                         [](const testing::TestParamInfo<ModelCase>& testCase) { return testCase.param.name; });

TEST(ModelNameTest, CutsEveryDotOfTheFileNameButNoneOfTheFolder)
{
    char path[] = "C:\\Disc.v2\\vps_QX.500.exe";
    char model[kModelNameSize];
    GetModelName(path, model, sizeof model);
    EXPECT_STREQ(path, "C:\\Disc.v2\\vps_QX");
    EXPECT_EQ(std::string(path, sizeof path - 1), std::string("C:\\Disc.v2\\vps_QX\0"
                                                              "500\0"
                                                              "exe",
                                                              sizeof path - 1));
}

struct PrefixCase {
    const char* fileName;
    bool passes;
};

void PrintTo(const PrefixCase& c, std::ostream* out)
{
    *out << c.fileName;
}

class PrefixTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(PrefixTest, AcceptsOnlyTwoCasesOfEachLetterAndTheUnderscore)
{
    EXPECT_EQ(HasVendpostPrefix(GetParam().fileName), GetParam().passes) << GetParam().fileName;
}

INSTANTIATE_TEST_SUITE_P(Names, PrefixTest,
                         testing::Values(PrefixCase{"vps_", true}, PrefixCase{"VPS_x", true}, PrefixCase{"vPs_x", true},
                                         PrefixCase{"vps-", false}, PrefixCase{"wps_", false},
                                         PrefixCase{"vqs_", false}, PrefixCase{"vpt_", false}, PrefixCase{"vps", false},
                                         PrefixCase{"v", false}, PrefixCase{"", false}));

struct TrimCase {
    const char* name;
    std::string command;
    unsigned long reportedSize;  // 0 means the text's length plus its terminator
    std::string trimmed;
};

void PrintTo(const TrimCase& c, std::ostream* out)
{
    *out << c.name;
}

class TrimToExeTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimToExeTest, CutsAfterTheLastExe)
{
    const TrimCase& c = GetParam();
    std::vector<char> text(c.command.begin(), c.command.end());
    text.resize(kRegistryValueSize, '\0');
    unsigned long n = c.reportedSize != 0 ? c.reportedSize : static_cast<unsigned long>(c.command.size() + 1);
    TrimToExe(text.data(), n, kRegistryValueSize);
    EXPECT_EQ(std::string(text.data()), c.trimmed) << c.command;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TrimToExeTest,
    testing::Values(TrimCase{"QuotedPathWithArguments", "\"C:\\Program Files\\Web\\viewer.exe\" -url %1", 0,
                             "\"C:\\Program Files\\Web\\viewer.exe"},
                    TrimCase{"UnquotedUpperCase", "C:\\WEB\\VIEWER.EXE %1", 0, "C:\\WEB\\VIEWER.EXE"},
                    TrimCase{"SecondExecutableWins", "\"C:\\Web\\run.exe\" C:\\Web\\viewer.exe %1", 0,
                             "\"C:\\Web\\run.exe\" C:\\Web\\viewer.exe"},
                    TrimCase{"ExecMatchesToo", "C:\\Web\\viewer.EXEC -x", 0, "C:\\Web\\viewer.EXE"},
                    TrimCase{"DotInFirstFourBytes", "a.exe %1", 0, "a.exe %1"},
                    TrimCase{"DotAtByteThree", "abc.exe %1", 0, "abc.exe %1"},
                    TrimCase{"DotAtByteFour", "abcd.exe %1", 0, "abcd.exe"},
                    TrimCase{"NoExe", "C:\\Web\\viewer.com %1", 0, "C:\\Web\\viewer.com %1"},
                    TrimCase{"ShortExtensionAtEnd", "C:\\Web\\viewer.ex", 0, "C:\\Web\\viewer.ex"},
                    TrimCase{"ZeroSizeLeavesWhole", "C:\\Web\\viewer.exe %1", 1, "C:\\Web\\viewer.exe %1"},
                    TrimCase{"OnlyReportedBytesAreSearched", "C:\\Web\\viewer.exe %1", 10, "C:\\Web\\viewer.exe %1"},
                    TrimCase{"ReportedBytesCoverTheDot", "C:\\Web\\viewer.exe %1", 14, "C:\\Web\\viewer.exe"}),
    [](const testing::TestParamInfo<TrimCase>& testCase) { return testCase.param.name; });

TEST(TrimToExeTest, NeverWritesPastTheBufferForAMatchAfterTheTerminator)
{
    // "ab", then stale bytes up to the end of an 8-byte buffer; a sentinel lies beyond.
    char buffer[9] = {'a', 'b', '\0', '\0', '.', 'e', 'x', 'e', '#'};
    TrimToExe(buffer, 8, 8);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(buffer[8], '#');
}

TEST(TrimToExeTest, ReadsNoMoreThanTheCapacityAfterADot)
{
    // A dot in the last byte of the buffer, with "exe" only beyond it.
    char buffer[12] = {'C', ':', '\\', 'a', '\0', '\0', '\0', '.', 'e', 'x', 'e', '#'};
    TrimToExe(buffer, 8, 8);
    EXPECT_STREQ(buffer, "C:\\a");
    EXPECT_EQ(buffer[11], '#');
}

struct FileNameCase {
    const char* path;
    const char* fileName;
};

void PrintTo(const FileNameCase& c, std::ostream* out)
{
    *out << c.path;
}

class FileNamePartTest : public testing::TestWithParam<FileNameCase> {};

TEST_P(FileNamePartTest, TakesTheTextAfterTheLastSeparator)
{
    EXPECT_STREQ(FileNamePart(GetParam().path), GetParam().fileName) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, FileNamePartTest,
                         testing::Values(FileNameCase{"C:\\Program Files\\Web\\viewer.exe", "viewer.exe"},
                                         FileNameCase{"C:/Web/viewer.exe", "viewer.exe"},
                                         FileNameCase{"C:\\Web/sub\\viewer.exe", "viewer.exe"},
                                         FileNameCase{"C:\\Web\\", ""}, FileNameCase{"viewer.exe", "viewer.exe"},
                                         FileNameCase{"", ""}));

struct TerminateCase {
    const char* name;
    std::string stored;
    unsigned long capacity;
    bool readable;
    std::string text;
};

void PrintTo(const TerminateCase& c, std::ostream* out)
{
    *out << c.name;
}

class TerminateRegistryTextTest : public testing::TestWithParam<TerminateCase> {};

TEST_P(TerminateRegistryTextTest, EndsEveryReadableValueWithATerminator)
{
    const TerminateCase& c = GetParam();
    std::vector<char> buffer(c.capacity + 1, '#');
    std::copy(c.stored.begin(), c.stored.end(), buffer.begin());
    bool readable = TerminateRegistryText(buffer.data(), static_cast<unsigned long>(c.stored.size()), c.capacity);
    EXPECT_EQ(readable, c.readable) << c.name;
    if (c.readable) {
        EXPECT_EQ(std::string(buffer.data()), c.text) << c.name;
    }
    EXPECT_EQ(buffer[c.capacity], '#') << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Values, TerminateRegistryTextTest,
    testing::Values(TerminateCase{"WithTerminator", std::string("abc\0", 4), 8, true, "abc"},
                    TerminateCase{"WithoutTerminator", "abc", 8, true, "abc"}, TerminateCase{"Empty", "", 8, true, ""},
                    TerminateCase{"FillsBufferWithTerminator", std::string("abcdefg\0", 8), 8, true, "abcdefg"},
                    TerminateCase{"FillsBufferWithoutTerminator", "abcdefgh", 8, false, ""}),
    [](const testing::TestParamInfo<TerminateCase>& testCase) { return testCase.param.name; });

struct UrlCase {
    const char* name;
    std::string model;
    std::string country;
    std::string language;
    bool fits;
    std::string query;  // what follows "?" when it fits
};

void PrintTo(const UrlCase& c, std::ostream* out)
{
    *out << c.name;
}

class SuppliesUrlTableTest : public testing::TestWithParam<UrlCase> {};

TEST_P(SuppliesUrlTableTest, EscapesInTheModelOnlyWhatWouldChangeTheAddress)
{
    const UrlCase& c = GetParam();
    char url[kUrlSize + 1];
    url[kUrlSize] = '#';
    EXPECT_EQ(BuildSuppliesUrl(c.model.c_str(), c.country.c_str(), c.language.c_str(), url, kUrlSize), c.fits)
        << c.name;
    std::string expected =
        c.fits ? std::string("http://") + kSuppliesHost + "/genuine/redirect/index.aspx?" + c.query : std::string();
    EXPECT_EQ(std::string(url), expected) << c.name;
    EXPECT_EQ(url[kUrlSize], '#') << c.name;
}

const std::string kLongestLocale(kLocaleTextSize - 1, 'L');

std::string Repeated(const std::string& text, unsigned long times)
{
    std::string out;
    for (unsigned long i = 0; i < times; ++i)
        out += text;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Models, SuppliesUrlTableTest,
    testing::Values(
        UrlCase{"Plain", "QX-500", "USA", "ENU", true, "model=QX-500&country=USA&gengo=ENU"},
        UrlCase{"Blank", "LX-100 Plus", "USA", "ENU", true, "model=LX-100%20Plus&country=USA&gengo=ENU"},
        UrlCase{"QueryAndFragmentBytes", "A&B+C#1%2", "DEU", "DEU", true,
                "model=A%26B%2BC%231%252&country=DEU&gengo=DEU"},
        UrlCase{"QuoteAndControls", "Q\"X\t\x7F", "USA", "ENU", true, "model=Q%22X%09%7F&country=USA&gengo=ENU"},
        UrlCase{"OtherBytesAsTheyStand", "Q=X?/~\xE9", "USA", "ENU", true, "model=Q=X?/~\xE9&country=USA&gengo=ENU"},
        UrlCase{"CountryAndLanguageAsTheyStand", "Q", "A B", "C&D", true, "model=Q&country=A B&gengo=C&D"},
        UrlCase{"LongestModelEscapedFits", std::string(kModelNameSize - 1, ' '), "USA", "ENU", true,
                "model=" + Repeated("%20", kModelNameSize - 1) + "&country=USA&gengo=ENU"},
        UrlCase{"EscapesPastTheBufferGiveNothing", std::string(kModelNameSize - 1, ' '), kLongestLocale, kLongestLocale,
                false, ""}),
    [](const testing::TestParamInfo<UrlCase>& testCase) { return testCase.param.name; });

TEST(SuppliesUrlTest, LeavesAnEmptyModelEmpty)
{
    char url[kUrlSize];
    ASSERT_TRUE(BuildSuppliesUrl("", "DEU", "DEU", url, sizeof url));
    EXPECT_NE(std::string(url).find("?model=&country=DEU&gengo=DEU"), std::string::npos) << url;
}

TEST(SuppliesUrlTest, GivesNothingRatherThanAShortenedUrl)
{
    char url[40];
    EXPECT_FALSE(BuildSuppliesUrl("QX-500", "USA", "ENU", url, sizeof url));
    EXPECT_STREQ(url, "");
}

TEST(CommandKeyPathTest, FitsUpToTheLastByte)
{
    const std::string suffix = "\\shell\\open\\command";
    const std::string fits(kCommandKeyPathSize - 1 - suffix.size(), 'c');
    char path[kCommandKeyPathSize];
    ASSERT_TRUE(BuildCommandKeyPath(fits.c_str(), path, sizeof path));
    EXPECT_EQ(std::string(path), fits + suffix);
    EXPECT_FALSE(BuildCommandKeyPath((fits + "c").c_str(), path, sizeof path));
    EXPECT_STREQ(path, "");
}

TEST(BrowserCommandLineTest, IsTheBareFileNameASpaceAndTheUrl)
{
    char line[kCommandLineSize];
    ASSERT_TRUE(BuildBrowserCommandLine("C:\\Program Files\\Web\\viewer.exe", "http://h/x?a=b&c=d", line, sizeof line));
    EXPECT_STREQ(line, "viewer.exe http://h/x?a=b&c=d");
}

TEST(BrowserCommandLineTest, GivesNothingRatherThanAShortenedLine)
{
    const std::string url(kCommandLineSize - 1 - std::string("viewer.exe ").size(), 'u');
    char line[kCommandLineSize];
    ASSERT_TRUE(BuildBrowserCommandLine("C:\\viewer.exe", url.c_str(), line, sizeof line));
    EXPECT_FALSE(BuildBrowserCommandLine("C:\\viewer.exe", (url + "u").c_str(), line, sizeof line));
    EXPECT_STREQ(line, "");
}

}
