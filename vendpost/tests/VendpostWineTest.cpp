#include "RecorderOutput.h"
#include "SuppliesHost.h"
#include "TemporaryDirectory.h"
#include "WineSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>

using docshelf::testing::RecorderOutput;
using docshelf::testing::TemporaryDirectory;
using docshelf::testing::WineSession;
namespace fs = std::filesystem;

namespace {

std::string UrlFor(const std::string& model, const std::string& country = "USA", const std::string& language = "ENU")
{
    return std::string("http://") + vendpost::kSuppliesHost + "/genuine/redirect/index.aspx?model=" + model
           + "&country=" + country + "&gengo=" + language;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Real copies of Vendpost and of the recorder as a browser, in a fresh folder,
// run under Wine with ".html" pointing at the browser.
class VendpostWineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(wine.ready()); }

    fs::path install(const fs::path& program, const std::string& relative) const
    {
        fs::path target = folder.path() / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(program, target, fs::copy_options::overwrite_existing);
        return target;
    }

    ::testing::AssertionResult registerBrowser(const std::string& command,
                                               const std::string& className = "ZvTestPage") const
    {
        if (wine.setDefaultValue("HKCR\\.html", className)
            && wine.setDefaultValue("HKCR\\" + className + "\\shell\\open\\command", command))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "wine reg add failed, see " << DOCSHELF_WINE_LOG;
    }

    // The usual browser: "<folder>\Web Files\viewer.exe" -url %1
    fs::path registerViewer() const
    {
        fs::path viewer = install(recorderProgram, "Web Files/viewer.exe");
        EXPECT_TRUE(registerBrowser("\"" + WineSession::windowsPath(viewer) + "\" -url %1"));
        return viewer;
    }

    int run(const fs::path& program, const std::string& lang = "en_US.UTF-8") const
    {
        auto [name, value] = recorder.environment();
        return wine.run(program, {{name, value}, {"LANG", lang}}, folder.path());
    }

    TemporaryDirectory folder;
    WineSession wine;
    const fs::path vendpostProgram = wine.architecture().programs() / "Vendpost.exe";
    const fs::path recorderProgram = wine.architecture().recorder();
    RecorderOutput recorder{folder.path() / "recording.txt"};
};

struct NameCase {
    const char* name;
    std::string fileName;
    std::string model;
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << c.name;
}

class VendpostFileNameTest : public VendpostWineTest, public testing::WithParamInterface<NameCase> {};

TEST_P(VendpostFileNameTest, OpensThePageOfTheModelInItsFileName)
{
    const NameCase& c = GetParam();
    fs::path viewer = registerViewer();
    fs::path vendpost = install(vendpostProgram, c.fileName);

    ASSERT_EQ(run(vendpost), 0) << c.name;

    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << c.name << ": no browser started";
    EXPECT_EQ(Lower(recording->modulePath), Lower(WineSession::windowsPath(viewer))) << c.name;
    EXPECT_EQ(recording->commandLine, "viewer.exe " + UrlFor(c.model)) << c.name;
}

const std::string kLongestModel(127, 'M');

INSTANTIATE_TEST_SUITE_P(Copies, VendpostFileNameTest,
                         testing::Values(NameCase{"Plain", "vps_QX-500.exe", "QX-500"},
                                         NameCase{"MixedCase", "VpS_QX-500.EXE", "QX-500"},
                                         NameCase{"DotInModel", "vps_QX.500.exe", "QX"},
                                         NameCase{"BlankInModel", "vps_QX-750 Duo.exe", "QX-750%20Duo"},
                                         NameCase{"BlankInModelName", "vps_LX-100 Plus.exe", "LX-100%20Plus"},
                                         NameCase{"QueryBytesInModel", "vps_A&B+C#1%2.exe", "A%26B%2BC%231%252"},
                                         NameCase{"Dash", "vps-QX.exe", ""}, NameCase{"NoUnderscore", "vpsQX.exe", ""},
                                         NameCase{"OtherName", "supplies.exe", ""},
                                         NameCase{"PrefixOnly", "vps_.exe", ""},
                                         NameCase{"DottedFolder", "disc.v2/vps_RT-20.exe", "RT-20"},
                                         NameCase{"LongestModel", "vps_" + kLongestModel + ".exe", kLongestModel},
                                         NameCase{"ModelTooLong", "vps_" + kLongestModel + "N.exe", ""}),
                         [](const testing::TestParamInfo<NameCase>& testCase) { return testCase.param.name; });

struct LocaleCase {
    const char* name;
    const char* lang;
    const char* country;
    const char* language;
};

void PrintTo(const LocaleCase& c, std::ostream* out)
{
    *out << c.name;
}

class VendpostLocaleTest : public VendpostWineTest, public testing::WithParamInterface<LocaleCase> {};

TEST_P(VendpostLocaleTest, TakesCountryAndLanguageFromTheUserLocale)
{
    const LocaleCase& c = GetParam();
    registerViewer();
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe"), c.lang), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << c.name << ": no browser started";
    EXPECT_EQ(recording->commandLine, "viewer.exe " + UrlFor("QX-500", c.country, c.language)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Locales, VendpostLocaleTest,
                         testing::Values(LocaleCase{"UnitedStates", "en_US.UTF-8", "USA", "ENU"},
                                         LocaleCase{"Germany", "de_DE.UTF-8", "DEU", "DEU"}),
                         [](const testing::TestParamInfo<LocaleCase>& testCase) { return testCase.param.name; });

TEST_F(VendpostWineTest, BuildsTheUnitedStatesPathAndQuery)
{
    registerViewer();
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording);
    const std::string query = "/genuine/redirect/index.aspx?model=QX-500&country=USA&gengo=ENU";
    ASSERT_GE(recording->commandLine.size(), query.size());
    EXPECT_EQ(recording->commandLine.substr(recording->commandLine.size() - query.size()), query);
}

TEST_F(VendpostWineTest, StartsAnUnquotedUpperCaseBrowser)
{
    fs::path viewer = install(recorderProgram, "web/viewer.exe");
    ASSERT_TRUE(registerBrowser(WineSession::windowsPath(folder.path()) + "\\WEB\\VIEWER.EXE %1"));
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "no browser started";
    EXPECT_EQ(Lower(recording->modulePath), Lower(WineSession::windowsPath(viewer)));
    EXPECT_EQ(recording->commandLine, "VIEWER.EXE " + UrlFor("QX-500"));
}

TEST_F(VendpostWineTest, StartsABrowserWhoseCommandIs259Characters)
{
    fs::path viewer = install(recorderProgram, "Web Files/viewer.exe");
    std::string command = "\"" + WineSession::windowsPath(viewer) + "\" -url ";
    ASSERT_LT(command.size(), 259u);
    command += std::string(259 - command.size(), 'x');
    ASSERT_TRUE(registerBrowser(command));
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "no browser started";
    EXPECT_EQ(recording->commandLine, "viewer.exe " + UrlFor("QX-500"));
}

TEST_F(VendpostWineTest, StartsABrowserOfAClassNameOf240Characters)
{
    fs::path viewer = install(recorderProgram, "Web Files/viewer.exe");
    ASSERT_TRUE(registerBrowser("\"" + WineSession::windowsPath(viewer) + "\" %1", std::string(240, 'c')));
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "no browser started";
    EXPECT_EQ(recording->commandLine, "viewer.exe " + UrlFor("QX-500"));
}

struct NoBrowserCase {
    const char* name;
    // The open command, with {dir} standing for the test folder's Windows path.
    std::string command;
    std::string className;
};

void PrintTo(const NoBrowserCase& c, std::ostream* out)
{
    *out << c.name;
}

class VendpostNoBrowserTest : public VendpostWineTest, public testing::WithParamInterface<NoBrowserCase> {};

TEST_P(VendpostNoBrowserTest, StartsNothing)
{
    const NoBrowserCase& c = GetParam();
    install(recorderProgram, "run.exe");
    install(recorderProgram, "viewer.exe");
    install(recorderProgram, "Web Files/viewer.exe");
    std::string command = c.command;
    const std::string dir = WineSession::windowsPath(folder.path());
    for (auto at = command.find("{dir}"); at != std::string::npos; at = command.find("{dir}"))
        command.replace(at, 5, dir);
    ASSERT_TRUE(registerBrowser(command, c.className)) << c.name;

    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0) << c.name;
    EXPECT_TRUE(recorder.absent()) << c.name << ": a browser was started";
}

INSTANTIATE_TEST_SUITE_P(Commands, VendpostNoBrowserTest,
                         testing::Values(NoBrowserCase{"SecondExecutableInArguments",
                                                       "\"{dir}\\run.exe\" {dir}\\viewer.exe %1", "ZvTestPage"},
                                         NoBrowserCase{"DotInFirstFourBytes", "a.exe %1", "ZvTestPage"},
                                         NoBrowserCase{"NoExecutable", "\"{dir}\\Web Files\\viewer.com\" %1",
                                                       "ZvTestPage"},
                                         NoBrowserCase{"ClassNameTooLongForItsKeyPath",
                                                       "\"{dir}\\Web Files\\viewer.exe\" %1", std::string(241, 'c')}),
                         [](const testing::TestParamInfo<NoBrowserCase>& testCase) { return testCase.param.name; });

TEST_F(VendpostWineTest, StartsNoBrowserWhoseCommandIs260Characters)
{
    fs::path viewer = install(recorderProgram, "Web Files/viewer.exe");
    std::string command = "\"" + WineSession::windowsPath(viewer) + "\" -url ";
    command += std::string(260 - command.size(), 'x');
    ASSERT_TRUE(registerBrowser(command));
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    EXPECT_TRUE(recorder.absent()) << "a browser was started";
}

TEST_F(VendpostWineTest, StartsNoBrowserWhenHtmlHasNoDefaultValue)
{
    registerViewer();
    ASSERT_TRUE(wine.deleteDefaultValue("HKCR\\.html")) << "wine reg delete failed, see " << DOCSHELF_WINE_LOG;
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    EXPECT_TRUE(recorder.absent()) << "a browser was started";
}

TEST_F(VendpostWineTest, SampleDiscCopyOpensThePageOfItsModel)
{
    fs::path viewer = registerViewer();
    fs::path copy = install(wine.architecture().discWindows() / "vps_QX-750 Duo.exe", "Windows/vps_QX-750 Duo.exe");
    ASSERT_EQ(run(copy), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "no browser started";
    EXPECT_EQ(recording->commandLine, "viewer.exe " + UrlFor("QX-750%20Duo"));
}

TEST_F(VendpostWineTest, TakesTheWholeCommandAsPathWhenItsDotIsInTheFirstFourBytes)
{
    // The command "a.exe %1" stays whole, so a file of exactly that name in the
    // current folder is what starts.
    install(recorderProgram, "a.exe %1");
    ASSERT_TRUE(registerBrowser("a.exe %1"));
    ASSERT_EQ(run(install(vendpostProgram, "vps_QX-500.exe")), 0);
    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "no browser started";
    EXPECT_EQ(recording->commandLine, "a.exe %1 " + UrlFor("QX-500"));
}

}
