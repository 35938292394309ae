#include "platform/foundation/PropertyListReader.h"

#include "DiscBuilder.h"
#include "PropertyListForms.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace docshelf {
namespace {

using foundation::Value;
using nlohmann::ordered_json;
using testing::DiscBuilder;
using testing::runProcess;

testing::ProcessResult inspect(const std::vector<std::string>& arguments) {
    return runProcess(INSPECTOR_PATH, arguments);
}

class Inspector : public ::testing::Test {
protected:
    void SetUp() override {
        disc.writeChain();
        disc.writeDocumentationPlist(DiscBuilder::fiveLanguages());
        disc.writeModelInfo(
            Value::dictionary({{"Model", Value::dictionary({{"b-2", Value::dictionary({{"KPSID", "B2"}})}})}}));
        disc.writeLanguageFolder("Docs", "German", {"top.pdf", "MacOS_X_readme.rtf"});
        disc.writeCDInfo(Value::dictionary(
            {{"ContainedModel",
              Value::dictionary(
                  {{"b-2", Value::dictionary({})},
                   {"A-1", Value::dictionary(
                               {{"Documentation",
                                 Value::dictionary({{"URL", "P?"}, {"Language", Value::array({"English"})}})}})}})},
             {"Documentation", Value::dictionary({{"Path", disc.path("Docs")}})}}));
    }

    DiscBuilder disc;
};

TEST_F(Inspector, CatalogueListsEveryModelInOrder) {
    auto result = inspect({"catalogue", "--app", disc.appPath()});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    ASSERT_TRUE(result.out.ends_with("}\n"));
    auto json = ordered_json::parse(result.out);
    EXPECT_EQ(json.begin().key(), "cd information");
    EXPECT_EQ(json["cd information"]["contained models"], ordered_json({"A-1", "b-2"}));
    ASSERT_EQ(json["models"].size(), 2u);
    EXPECT_EQ(json["models"][0]["Documentation list"][0]["KPS docuemntation URL"], "P?MDL=&LNG=en&SRC=DOC");
    // Where each model's guide opens in each language the application knows.
    EXPECT_EQ(json["matrix"]["languages"], ordered_json({"English", "Deutsch", "Français", "日本語", "Español"}));
    EXPECT_EQ(json["matrix"]["models"]["A-1"]["English"], "online");
    EXPECT_EQ(json["matrix"]["models"]["b-2"]["Deutsch"], "disc");
    EXPECT_EQ(json["matrix"]["models"]["b-2"]["English"], "neither");
    auto& german = json["models"][1]["Documentation list"][0];
    EXPECT_EQ(german["documentation path"], disc.path("Docs") + "/German/top.pdf");
    std::vector<std::string> keys;
    for (auto it = german.begin(); it != german.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys,
              (std::vector<std::string>{"documentation display name", "documentation path", "documentation readme path",
                                        "KPS docuemntation language code", "KPS docuemntation URL"}));
}

TEST_F(Inspector, CatalogueOfOneModelWhetherListedOrNot) {
    auto listed = ordered_json::parse(inspect({"catalogue", "--app", disc.appPath(), "--model", "b-2"}).out);
    EXPECT_EQ(listed["KPS model ID"], "B2");
    auto unlisted = ordered_json::parse(inspect({"catalogue", "--app", disc.appPath(), "--model", "Z 9"}).out);
    EXPECT_EQ(unlisted["name"], "Z 9");
    EXPECT_EQ(unlisted["Documentation list"].size(), 1u) << "the disc-wide settings serve any name";
}

TEST_F(Inspector, LookupGivesNullWhereAbsent) {
    auto found = ordered_json::parse(
        inspect({"lookup", "--app", disc.appPath(), "--model", "b-2", "--language", "Deutsch"}).out);
    EXPECT_EQ(found, ordered_json::parse(R"({"documentation path": ")" + disc.path("Docs") + R"(/German/top.pdf",
        "documentation readme path": ")" +
                                         disc.path("Docs") + R"(/German/MacOS_X_readme.rtf",
        "KPS docuemntation URL": ""})"));
    auto missing = ordered_json::parse(
        inspect({"lookup", "--app", disc.appPath(), "--model", "b-2", "--language", "deutsch"}).out);
    EXPECT_EQ(missing, ordered_json::parse(R"({"documentation path": null, "documentation readme path": null,
        "KPS docuemntation URL": null})"));
}

TEST_F(Inspector, BrokenDiscStillGivesAReport) {
    disc.writeFile("MacResources/CDInfo.plist", "\x00\x01garbage");
    auto result = inspect({"catalogue", "--app", disc.appPath()});
    ASSERT_EQ(result.exitStatus, 0);
    EXPECT_EQ(ordered_json::parse(result.out),
              ordered_json::parse(R"({"cd information": {}, "models": [], "matrix": {"languages": ["English",
                  "Deutsch", "Français", "日本語", "Español"], "models": {}}})"));
}

struct UsageCase {
    std::vector<std::string> arguments;
};

class InspectorUsage : public ::testing::TestWithParam<std::vector<std::string>> {};

// Two lines, what is wrong and how to get help, never the whole usage.
TEST_P(InspectorUsage, WrongLineSaysHowToGetHelpAndExits2) {
    auto result = inspect(GetParam());
    EXPECT_EQ(result.exitStatus, 2) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(result.err.starts_with("docshelf-inspect: ")) << result.err;
    EXPECT_TRUE(result.err.ends_with(" --help' for more information.\n")) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Lines, InspectorUsage,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"catalogue"},
                                           std::vector<std::string>{"lookup", "--app", "/tmp"},
                                           std::vector<std::string>{"bogus"}));

TEST(InspectorErrors, MissingBundleIsAnError) {
    auto result = inspect({"catalogue", "--app", "/nonexistent/Docshelf.app"});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("no application bundle"), std::string::npos);
}

TEST(InspectorErrors, HelpGoesToStandardOutput) {
    auto result = inspect({"--help"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.out.find("usage:"), std::string::npos);
}

TEST(SampleDisc, CatalogueOfTheStagedDisc) {
    auto result = inspect({"catalogue", "--app", SAMPLE_APP_PATH});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    auto json = ordered_json::parse(result.out);
    EXPECT_EQ(json["cd information"]["contained models"], ordered_json({"QX-500", "QX-750 Duo", "RT-20"}));
    for (const auto& model : json["models"]) {
        SCOPED_TRACE(model.dump());
        ASSERT_TRUE(model.contains("Documentation list"));
        EXPECT_GE(model["Documentation list"].size(), 2u);
    }
    auto& online = json["models"][2]["Documentation list"];
    for (const auto& entry : online)
        EXPECT_NE(entry["KPS docuemntation URL"].get<std::string>().find("MDL=RT20&LNG="), std::string::npos);
    auto& qx500 = json["models"][0]["Documentation list"];
    std::string firstPath = qx500[0]["documentation path"];
    EXPECT_TRUE(firstPath.ends_with("/English/top.pdf")) << firstPath;
    EXPECT_EQ(firstPath.find("/Volumes/"), std::string::npos) << "staged paths point at the staged disc";
}

std::string sampleMessageBundle() {
    std::string app = SAMPLE_APP_PATH;
    return app.substr(0, app.rfind('/')) + "/MacResources/CDCommonMessage.bundle";
}

ordered_json sampleWindow(std::vector<std::string> steps, std::vector<std::string> environment = {"LANGUAGE=en"}) {
    std::vector<std::string> arguments{"window", "--app", SAMPLE_APP_PATH, "--message-bundle", sampleMessageBundle()};
    for (auto& step : steps) {
        arguments.push_back("--do");
        arguments.push_back(step);
    }
    auto result = runProcess(INSPECTOR_PATH, arguments, environment);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return ordered_json::parse(result.out.empty() ? "{}" : result.out);
}

TEST(SampleDiscWindow, StartUpStateHasEveryPart) {
    auto json = sampleWindow({});
    ASSERT_EQ(json["states"].size(), 1u);
    auto& state = json["states"][0];
    std::vector<std::string> parts;
    for (auto it = state.begin(); it != state.end(); ++it)
        parts.push_back(it.key());
    EXPECT_EQ(parts, (std::vector<std::string>{"published", "window", "modelPopUp", "languagePopUp", "frames",
                                               "applicationMenu", "commands", "terminated"}));
    EXPECT_EQ(state["published"].size(), 12u);
    EXPECT_EQ(state["published"]["readMeButtonHidden"], false);
    EXPECT_EQ(state["window"], ordered_json::parse(R"({"title": "Docshelf", "key": true})"));
    EXPECT_EQ(state["modelPopUp"]["selected"], "QX-500");
    EXPECT_EQ(state["languagePopUp"]["selected"], "English");
    // About, Hide, Hide Others, Show All and Quit, with the two separators titled "".
    EXPECT_EQ(state["applicationMenu"].size(), 7u);
    EXPECT_EQ(state["frames"]["languagePUButton"].size(), 4u);
}

TEST(SampleDiscWindow, StepsRecordTheirCommandsInTheMacForm) {
    auto json = sampleWindow({"model:RT-20", "language:Deutsch", "press:documentation", "press:readme", "press:close"});
    auto& states = json["states"];
    ASSERT_EQ(states.size(), 6u);
    EXPECT_EQ(states[1]["modelPopUp"]["selected"], "RT-20");
    EXPECT_EQ(states[2]["languagePopUp"]["selected"], "Deutsch");
    EXPECT_EQ(states[3]["commands"],
              ordered_json({"open \"http://support.example.com/manuals/redirect?MDL=RT20&LNG=de&SRC=DOC\""}));
    EXPECT_EQ(states[4]["commands"], ordered_json::array()) << "an online entry has no read-me";
    EXPECT_EQ(states[4]["terminated"], false);
    EXPECT_EQ(states[5]["terminated"], true);
}

TEST(SampleDiscWindow, DiscDocumentAndClosingTheWindow) {
    auto json = sampleWindow({"language:Fran\xC3\xA7"
                              "ais",
                              "press:documentation", "press:readme", "close-window"});
    auto& states = json["states"];
    ASSERT_EQ(states.size(), 5u);
    std::string disc = std::string(SAMPLE_APP_PATH).substr(0, std::string(SAMPLE_APP_PATH).rfind('/'));
    EXPECT_EQ(states[2]["commands"], ordered_json({"open \"" + disc + "/Documentation/Manuals/French/top.html\""}));
    EXPECT_EQ(states[3]["commands"],
              ordered_json({"open \"" + disc + "/Documentation/Manuals/French/MacOS_X_readme.rtf\""}));
    EXPECT_EQ(states[4]["terminated"], true);
}

TEST(SampleDiscWindow, PreferredLanguageLocalizesTheWindow) {
    auto json = sampleWindow({}, {"LANGUAGE=de"});
    auto& state = json["states"][0];
    EXPECT_EQ(state["published"]["modelLabelTitle"], "Modell: ");
    EXPECT_EQ(state["languagePopUp"]["selected"], "Deutsch") << "the automatic choice follows KPS_CGI_Language";
}

}
}

namespace docshelf {
namespace {

// The repository's disc as its author holds it, its lists naming
// /Volumes/ZORVANE, copied with the built application to a folder of another name.
class DraftDisc {
public:
    DraftDisc() {
        namespace fs = std::filesystem;
        fs::copy(SAMPLE_DISC_SOURCE, folder / "draft", fs::copy_options::recursive);
        fs::copy(BUILT_APP_PATH, folder / "draft/Docshelf.app", fs::copy_options::recursive);
    }
    std::string path(const std::string& relative = "") const {
        return folder / (relative.empty() ? "draft" : "draft/" + relative);
    }
    testing::TemporaryDirectory folder;
};

struct VolumeCase {
    std::string name;
    std::vector<std::string> arguments; // DISC and APP stand for the copy's folder and bundle
    std::string shown;                  // in standard output when the lists were read where the disc lies
};

std::ostream& operator<<(std::ostream& out, const VolumeCase& c) {
    return out << c.name;
}

class VolumeMapping : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeMapping, ReadsTheListsWhereTheDiscLies) {
    const VolumeCase& c = GetParam();
    DraftDisc disc;
    std::vector<std::string> arguments;
    for (const auto& argument : c.arguments)
        arguments.push_back(argument == "DISC"                          ? disc.path()
                            : argument == "APP"                         ? disc.path("Docshelf.app")
                            : argument.starts_with("/Volumes/ZORVANE=") ? "/Volumes/ZORVANE=" + disc.path()
                                                                        : argument);
    auto result = inspect(arguments);
    EXPECT_EQ(result.exitStatus, 0) << c.name << "\n" << result.out << result.err;
    EXPECT_NE(result.out.find(c.shown), std::string::npos) << c.name << "\n" << result.out;
    EXPECT_NE(result.err.find("note: /Volumes/ZORVANE is read from " + disc.path()), std::string::npos)
        << c.name << "\n"
        << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, VolumeMapping,
    ::testing::Values(VolumeCase{"catalogue", {"catalogue", "DISC"}, "\"QX-750 Duo\""},
                      VolumeCase{"lookup",
                                 {"lookup", "--app", "APP", "--model", "RT-20", "--language", "Deutsch"},
                                 "MDL=RT20&LNG=de"},
                      // The window records what the Mac runs: the path as the lists write it.
                      VolumeCase{"window",
                                 {"window", "DISC", "--do", "press:documentation"},
                                 "open \\\"/Volumes/ZORVANE/Documentation/Manuals/English/top.pdf\\\""},
                      VolumeCase{"check", {"check", "--app", "APP", "--volume", "/Volumes/ZORVANE=", "--json"}, "[]"}),
    [](const auto& testCase) { return testCase.param.name; });

// The repository's folder holds no bundle: the one built beside the inspector stands in.
TEST(DiscFolder, TheRepositorysFolderChecksCleanWithTheBuiltBundle) {
    auto result = inspect({"check", SAMPLE_DISC_SOURCE});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_NE(result.err.find("using the one that came with the inspector"), std::string::npos) << result.err;
    // A warning says so too, where a disc build reads the findings.
    EXPECT_NE(result.out.find("[app-bundle-missing]"), std::string::npos) << result.out;
}

TEST(DiscFolder, AppThatIsNoBundleIsRefused) {
    DraftDisc disc;
    auto result = inspect({"check", disc.path(), "--app", disc.path("MacResources")});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("is not an application bundle"), std::string::npos) << result.err;
}

// Two copies of the sample disc, the new one changed as a season's disc changes;
// the diff names exactly the changes its users would notice.
struct DiffCase {
    std::string name;
    std::function<void(const std::filesystem::path& disc)> change;
    std::vector<std::string> expected; // "kind where", in the order printed
};

std::ostream& operator<<(std::ostream& out, const DiffCase& c) {
    return out << c.name;
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

void replaceIn(const std::filesystem::path& file, const std::string& from, const std::string& to) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << file << " has no " << from;
    text.replace(at, from.size(), to);
    writeText(file, text);
}

class DiscDiffing : public ::testing::TestWithParam<DiffCase> {};

TEST_P(DiscDiffing, NamesWhatTheUsersSeeDifferently) {
    const DiffCase& c = GetParam();
    DraftDisc before;
    DraftDisc after;
    c.change(after.path());
    auto result = inspect({"diff", before.path(), after.path(), "--format=json"});
    EXPECT_EQ(result.exitStatus, c.expected.empty() ? 0 : 1) << c.name << "\n" << result.out << result.err;
    std::vector<std::string> seen;
    for (const auto& change : ordered_json::parse(result.out))
        seen.push_back(change["kind"].get<std::string>() + " " + change["where"].get<std::string>());
    EXPECT_EQ(seen, c.expected) << c.name << "\n" << result.out;
}

// An image reads as the folder it was pressed from: no difference.
TEST(DiscDiffingImages, AnImageReadsAsTheFolderItWasPressedFrom) {
    if (!std::filesystem::exists("/usr/bin/xorriso"))
        GTEST_SKIP() << "xorriso is not installed";
    DraftDisc folder;
    std::string image = folder.folder / "draft.iso";
    auto pressed = testing::runProcess("/usr/bin/xorriso", {"-as", "mkisofs", "-R", "-o", image, folder.path()});
    ASSERT_EQ(pressed.exitStatus, 0) << pressed.err;
    auto result = inspect({"diff", folder.path(), image});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DiscDiffing,
    ::testing::Values(
        DiffCase{"SameDisc", [](const auto&) {}, {}},
        DiffCase{"ModelRemovedAndAnotherAdded",
                 [](const auto& disc) {
                     replaceIn(disc / "MacResources/CDInfo.plist", "<key>RT-20</key>", "<key>RT-30</key>");
                 },
                 {"model-removed RT-20", "model-added RT-30"}},
        DiffCase{"GermanFolderGone",
                 [](const auto& disc) { std::filesystem::remove_all(disc / "Documentation/Manuals/German"); },
                 {"language-removed QX-500 / Deutsch"}},
        DiffCase{"ManualRewritten",
                 [](const auto& disc) { writeText(disc / "Documentation/Manuals/English/top.pdf", "%PDF-1.4 new"); },
                 {"document-content-changed QX-500 / English"}},
        DiffCase{"CaptionReworded",
                 [](const auto& disc) {
                     replaceIn(
                         disc / "MacResources/CDCommonMessage.bundle/Contents/Resources/de.lproj/Localizable.strings",
                         "\"Sprache\"", "\"Sprache:\"");
                 },
                 {"text-changed de.lproj / Localizable UG_TXT_LANGUAGE"}},
        DiffCase{"LauncherSettingsChanged",
                 [](const auto& disc) { writeText(disc / "Windows/inst.ini", "[Setup]\r\nExeprog=other.exe\r\n"); },
                 {"launcher-changed inst.ini"}}),
    [](const auto& testCase) { return testCase.param.name; });

// Every list of the disc saved in another form a Mac reads: the catalogue of
// the XML disc, and its check but for one note per list that names the form.
class ListFormDisc : public ::testing::TestWithParam<testing::ListForm> {};

TEST_P(ListFormDisc, GivesTheCatalogueAndTheCheckOfTheXmlDisc) {
    const char* name = testing::listFormName(GetParam());
    DraftDisc xml;
    DraftDisc other;
    const std::vector<std::string> lists{
        "Docshelf.app/Contents/Info.plist", "Docshelf.app/Contents/Resources/Documentation.plist",
        "MacResources/CommonResource.plist", "MacResources/CDInfo.plist", "MacResources/ModelInfo.plist"};
    for (const std::string& list : lists) {
        auto read = foundation::PropertyListReader::readFile(other.path(list));
        ASSERT_EQ(read.error, "") << name << ": " << list;
        std::ofstream(other.path(list), std::ios::binary | std::ios::trunc)
            << testing::writeInForm(read.root, GetParam());
    }
    // Paths of the copy read as the same paths of the XML copy.
    auto alike = [&](std::string text) {
        for (auto at = text.find(other.path()); at != std::string::npos;
             at = text.find(other.path(), at + xml.path().size()))
            text.replace(at, other.path().size(), xml.path());
        return text;
    };
    auto catalogue = inspect({"catalogue", other.path()});
    auto expected = inspect({"catalogue", xml.path()});
    EXPECT_EQ(catalogue.exitStatus, 0) << name << "\n" << catalogue.err;
    EXPECT_EQ(alike(catalogue.out), expected.out) << name;
    EXPECT_NE(expected.out.find("\"QX-750 Duo\""), std::string::npos) << name << ": the sample disc's models";

    auto check = inspect({"check", other.path()});
    auto clean = inspect({"check", xml.path()});
    EXPECT_EQ(check.exitStatus, 0) << name << "\n" << check.out << check.err;
    std::istringstream lines(alike(check.out));
    std::string findings;
    std::size_t notes = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.ends_with("[plist-form]"))
            ++notes;
        else
            findings += line + "\n";
    EXPECT_EQ(findings, clean.out) << name;
    EXPECT_EQ(notes, GetParam() == testing::ListForm::Xml ? 0u : lists.size()) << name << "\n" << check.out;
}

INSTANTIATE_TEST_SUITE_P(Forms, ListFormDisc, ::testing::ValuesIn(testing::allListForms()),
                         [](const auto& testCase) { return std::string(testing::listFormName(testCase.param)); });

}
}
