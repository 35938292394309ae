#include "FakeVendpostSystem.h"
#include "SuppliesHost.h"
#include "SuppliesLauncher.h"
#include "SuppliesText.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using vendpost::LocaleItem;
using vendpost::SuppliesLauncher;

namespace {

const std::string kUrlPrefix = std::string("http://") + vendpost::kSuppliesHost + "/genuine/redirect/index.aspx?";
const std::string kCommandKey = "ZvPage\\shell\\open\\command";

std::string UrlFor(const std::string& model, const std::string& country = "USA", const std::string& language = "ENU")
{
    return kUrlPrefix + "model=" + model + "&country=" + country + "&gengo=" + language;
}

// The ".html" type of class ZvPage opens with the given command.
void RegisterBrowser(FakeVendpostSystem& fake, const std::string& command)
{
    fake.registry[".html"] = FakeVendpostSystem::Terminated("ZvPage");
    fake.registry[kCommandKey] = FakeVendpostSystem::Terminated(command);
}

TEST(SuppliesLauncherTest, StartsTheBrowserWithTheSuppliesPageAndLetsGoOfIt)
{
    FakeVendpostSystem fake;
    RegisterBrowser(fake, "\"C:\\Program Files\\Web\\viewer.exe\" -url %1");
    fake.existingFiles = {"C:\\Program Files\\Web\\viewer.exe"};

    SuppliesLauncher(fake.system()).Run();

    ASSERT_EQ(fake.processes.size(), 1u);
    EXPECT_EQ(fake.processes[0].application, "C:\\Program Files\\Web\\viewer.exe");
    EXPECT_EQ(fake.processes[0].commandLine, "viewer.exe " + kUrlPrefix + "model=QX-500&country=USA&gengo=ENU");
    EXPECT_EQ(fake.closedHandles, (std::vector<std::string>{"process", "thread"}));
    EXPECT_EQ(fake.openedKeys, (std::vector<std::string>{".html", kCommandKey}));
    EXPECT_EQ(fake.closedKeys, (std::vector<std::string>{kCommandKey, ".html"}));
}

struct RegistryCase {
    const char* name;
    std::optional<std::string> htmlValue;     // stored bytes; nullopt: no ".html" key
    std::optional<std::string> commandValue;  // stored bytes; nullopt: no command key
    std::set<std::string> existingFiles;
    std::optional<std::string> application;  // nullopt: no browser is started
    std::vector<std::string> closedKeys;
};

// Failure messages name the case, never dump its bytes.
void PrintTo(const RegistryCase& c, std::ostream* out)
{
    *out << c.name;
}

class BrowserLookupTest : public testing::TestWithParam<RegistryCase> {};

TEST_P(BrowserLookupTest, StartsOnlyAnExistingExecutableAndClosesWhatItOpened)
{
    const RegistryCase& c = GetParam();
    FakeVendpostSystem fake;
    if (c.htmlValue)
        fake.registry[".html"] = *c.htmlValue;
    std::string className = c.htmlValue ? std::string(c.htmlValue->c_str()) : "";
    std::string commandKey = className + "\\shell\\open\\command";
    if (c.commandValue)
        fake.registry[commandKey] = *c.commandValue;
    fake.existingFiles = c.existingFiles;

    SuppliesLauncher(fake.system()).Run();

    if (c.application) {
        ASSERT_EQ(fake.processes.size(), 1u) << c.name;
        EXPECT_EQ(fake.processes[0].application, *c.application) << c.name;
        std::string fileName = vendpost::FileNamePart(c.application->c_str());
        EXPECT_EQ(fake.processes[0].commandLine, fileName + " " + UrlFor("QX-500")) << c.name;
    } else {
        EXPECT_TRUE(fake.processes.empty()) << c.name;
    }
    std::vector<std::string> expectedClosed;
    for (const std::string& key : c.closedKeys)
        expectedClosed.push_back(key == "command" ? commandKey : key);
    EXPECT_EQ(fake.closedKeys, expectedClosed) << c.name;
}

const std::string kViewer = "C:\\Web\\viewer.exe";
std::string T(const std::string& text)
{
    return FakeVendpostSystem::Terminated(text);
}
// A quoted viewer path followed by blanks up to the given length.
std::string PaddedCommand(std::size_t length)
{
    std::string command = "\"" + kViewer + "\" ";
    return command + std::string(length - command.size(), ' ');
}

INSTANTIATE_TEST_SUITE_P(
    Registry, BrowserLookupTest,
    testing::Values(
        RegistryCase{
            "QuotedPath", T("ZvPage"), T("\"C:\\Web\\viewer.exe\" -url %1"), {kViewer}, kViewer, {"command", ".html"}},
        RegistryCase{"UnquotedUpperCase",
                     T("ZvPage"),
                     T("C:\\WEB\\VIEWER.EXE %1"),
                     {"C:\\WEB\\VIEWER.EXE"},
                     "C:\\WEB\\VIEWER.EXE",
                     {"command", ".html"}},
        RegistryCase{"SecondExecutableInArguments",
                     T("ZvPage"),
                     T("\"C:\\Web\\run.exe\" C:\\Web\\viewer.exe %1"),
                     {"C:\\Web\\run.exe", kViewer},
                     std::nullopt,
                     {"command", ".html"}},
        RegistryCase{"DotInFirstFourBytesTakesEverything",
                     T("ZvPage"),
                     T("a.exe %1"),
                     {"a.exe %1"},
                     "a.exe %1",
                     {"command", ".html"}},
        RegistryCase{"BrowserMissingOnDisc",
                     T("ZvPage"),
                     T("\"C:\\Web\\viewer.exe\" %1"),
                     {},
                     std::nullopt,
                     {"command", ".html"}},
        RegistryCase{"TrimmedToNothing", T("ZvPage"), T("\""), {""}, std::nullopt, {"command", ".html"}},
        RegistryCase{"NoHtmlKey", std::nullopt, std::nullopt, {kViewer}, std::nullopt, {}},
        RegistryCase{"NoCommandKey", T("ZvPage"), std::nullopt, {kViewer}, std::nullopt, {".html"}},
        RegistryCase{"ClassNameWithoutTerminator",
                     "ZvPage",
                     T("\"C:\\Web\\viewer.exe\" %1"),
                     {kViewer},
                     kViewer,
                     {"command", ".html"}},
        RegistryCase{
            "CommandWithoutTerminator", T("ZvPage"), "C:\\Web\\viewer.exe", {kViewer}, kViewer, {"command", ".html"}},
        RegistryCase{"ClassNameOf259IsReadButItsKeyPathDoesNotFit",
                     T(std::string(259, 'c')),
                     std::nullopt,
                     {kViewer},
                     std::nullopt,
                     {".html"}},
        RegistryCase{"ClassNameOf240Fits",
                     T(std::string(240, 'c')),
                     T("\"C:\\Web\\viewer.exe\" %1"),
                     {kViewer},
                     kViewer,
                     {"command", ".html"}},
        RegistryCase{
            "ClassNameOf260IsUnreadable", T(std::string(260, 'c')), std::nullopt, {kViewer}, std::nullopt, {".html"}},
        RegistryCase{
            "CommandOf259IsRead", T("ZvPage"), T(PaddedCommand(259)), {kViewer}, kViewer, {"command", ".html"}},
        RegistryCase{"CommandOf260IsUnreadable",
                     T("ZvPage"),
                     T(PaddedCommand(260)),
                     {kViewer},
                     std::nullopt,
                     {"command", ".html"}},
        RegistryCase{"CommandOf260WithoutTerminatorIsUnreadable",
                     T("ZvPage"),
                     PaddedCommand(260),
                     {kViewer},
                     std::nullopt,
                     {"command", ".html"}},
        RegistryCase{"CommandOf259WithoutTerminatorIsRead",
                     T("ZvPage"),
                     PaddedCommand(259),
                     {kViewer},
                     kViewer,
                     {"command", ".html"}}),
    [](const testing::TestParamInfo<RegistryCase>& testCase) { return testCase.param.name; });

TEST(SuppliesLauncherTest, ClosesBothKeysWhenTheCommandCannotBeRead)
{
    FakeVendpostSystem fake;
    fake.registry[".html"] = T("ZvPage");
    fake.unreadableKeys = {kCommandKey};
    fake.existingFiles = {kViewer};
    SuppliesLauncher(fake.system()).Run();
    EXPECT_TRUE(fake.processes.empty());
    EXPECT_EQ(fake.closedKeys, (std::vector<std::string>{kCommandKey, ".html"}));
}

TEST(SuppliesLauncherTest, ClosesNoHandleWhenTheProcessDoesNotStart)
{
    FakeVendpostSystem fake;
    RegisterBrowser(fake, kViewer);
    fake.existingFiles = {kViewer};
    fake.processStarts = false;
    SuppliesLauncher(fake.system()).Run();
    EXPECT_EQ(fake.processes.size(), 1u);
    EXPECT_TRUE(fake.closedHandles.empty());
}

TEST(SuppliesLauncherTest, DoesNotCheckAnEmptyBrowserPath)
{
    FakeVendpostSystem fake;
    RegisterBrowser(fake, "");
    SuppliesLauncher(fake.system()).Run();
    EXPECT_TRUE(fake.existenceChecks.empty());
    EXPECT_TRUE(fake.processes.empty());
}

struct PageCase {
    const char* name;
    std::string modulePath;
    std::optional<unsigned long> moduleResult;
    FakeVendpostSystem::LocaleAnswer country;
    FakeVendpostSystem::LocaleAnswer language;
    std::string url;
};

void PrintTo(const PageCase& c, std::ostream* out)
{
    *out << c.name;
}

class SuppliesPageTest : public testing::TestWithParam<PageCase> {};

TEST_P(SuppliesPageTest, OpensThePageOfTheModelCountryAndLanguage)
{
    const PageCase& c = GetParam();
    FakeVendpostSystem fake;
    RegisterBrowser(fake, kViewer);
    fake.existingFiles = {kViewer};
    fake.modulePath = c.modulePath;
    if (c.moduleResult) {
        fake.moduleResultOverridden = true;
        fake.moduleResult = *c.moduleResult;
    }
    fake.locale[LocaleItem::AbbreviatedCountryName] = c.country;
    fake.locale[LocaleItem::AbbreviatedLanguageName] = c.language;

    SuppliesLauncher(fake.system()).Run();

    ASSERT_EQ(fake.processes.size(), 1u) << c.name;
    EXPECT_EQ(fake.processes[0].commandLine, "viewer.exe " + c.url) << c.name;
}

const FakeVendpostSystem::LocaleAnswer kUsa{"USA", 4};
const FakeVendpostSystem::LocaleAnswer kEnu{"ENU", 4};
const std::string kLongPath = "C:\\Disc\\" + std::string(vendpost::kModulePathSize, 'd') + "\\vps_QX-500.exe";

INSTANTIATE_TEST_SUITE_P(
    Inputs, SuppliesPageTest,
    testing::Values(
        PageCase{"UnitedStates", "C:\\Disc\\vps_QX-500.exe", std::nullopt, kUsa, kEnu, UrlFor("QX-500")},
        PageCase{
            "Germany", "C:\\Disc\\vps_RT-20.exe", std::nullopt, {"DEU", 4}, {"DEU", 4}, UrlFor("RT-20", "DEU", "DEU")},
        PageCase{"NoPrefixStillOpensThePage", "C:\\Disc\\supplies.exe", std::nullopt, kUsa, kEnu, UrlFor("")},
        PageCase{"FailedCountryIsEmpty",
                 "C:\\Disc\\vps_QX-500.exe",
                 std::nullopt,
                 {"XYZ", 0},
                 kEnu,
                 UrlFor("QX-500", "", "ENU")},
        PageCase{"FailedLanguageIsEmpty",
                 "C:\\Disc\\vps_QX-500.exe",
                 std::nullopt,
                 kUsa,
                 {std::string(vendpost::kLocaleTextSize, 'L'), 0},
                 UrlFor("QX-500", "USA", "")},
        PageCase{"ModulePathUnavailable", "C:\\Disc\\vps_QX-500.exe", 0ul, kUsa, kEnu, UrlFor("")},
        PageCase{"ModulePathCutToTheBuffer", kLongPath, std::nullopt, kUsa, kEnu, UrlFor("")}),
    [](const testing::TestParamInfo<PageCase>& testCase) { return testCase.param.name; });

TEST(SuppliesLauncherTest, StartsNoBrowserWhoseCommandLineWouldNotFit)
{
    // The longest model and locale texts make a URL that, with this long a
    // browser file name, exceeds the command line's 511 characters.
    const std::string browser = "C:\\" + std::string(240, 'b') + ".exe";
    FakeVendpostSystem fake;
    RegisterBrowser(fake, browser);
    fake.existingFiles = {browser};
    fake.modulePath = "C:\\vps_" + std::string(vendpost::kModelNameSize - 1, 'M') + ".exe";
    fake.locale[LocaleItem::AbbreviatedCountryName] = {std::string(vendpost::kLocaleTextSize - 1, 'C'), 48};
    fake.locale[LocaleItem::AbbreviatedLanguageName] = {std::string(vendpost::kLocaleTextSize - 1, 'L'), 48};
    SuppliesLauncher(fake.system()).Run();
    EXPECT_TRUE(fake.processes.empty());

    // The same with a short browser name fits.
    FakeVendpostSystem shortName;
    RegisterBrowser(shortName, kViewer);
    shortName.existingFiles = {kViewer};
    shortName.modulePath = fake.modulePath;
    shortName.locale = fake.locale;
    SuppliesLauncher(shortName.system()).Run();
    ASSERT_EQ(shortName.processes.size(), 1u);
    EXPECT_EQ(shortName.processes[0].commandLine.size(), std::string("viewer.exe ").size() + kUrlPrefix.size() + 127
                                                             + 47 + 47 + std::string("model=&country=&gengo=").size());
}

}
