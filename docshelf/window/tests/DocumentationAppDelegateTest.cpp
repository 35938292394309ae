#include "CaseName.h"
#include "ScopedLanguage.h"
#include "WindowDisc.h"
#include "window/session/WindowSession.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/HeadlessBackend.h"
#include "platform/appkit/NibLoader.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/Window.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileAccessLog.h"
#include "platform/foundation/ShellRunner.h"
#include "window/Locations.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace docshelf::testing {
namespace {

using foundation::Value;
using nlohmann::ordered_json;

ordered_json frame(float x, float y, float width, float height) {
    return ordered_json::array({x, y, width, height});
}

ordered_json strings(std::vector<std::string> texts) {
    return ordered_json(texts);
}

// The headless backend measures 7 points per code point plus 4 of padding.
float measured(std::size_t codePoints) {
    return 7.0f * static_cast<float>(codePoints) + 4.0f;
}

const WindowDisc::Folders englishPdf = {{"English", {"top.pdf", "MacOS_X_readme.rtf"}}};
const WindowDisc::Folders threeLanguages = {{"English", {"top.pdf"}}, {"German", {"top.pdf"}}, {"French", {"top.pdf"}}};

class WindowTest : public ::testing::Test {
protected:
    ScopedLanguage language{std::map<std::string, std::string>{{"LANGUAGE", "en"}}};
    WindowDisc disc;
};

// --- The model row ----------------------------------------------------------

struct ModelListCase {
    std::string description;
    std::vector<std::string> models; // added in this order
    bool emptyContainedModel = false;
    std::vector<std::string> items;
    ordered_json selected;
    bool popUpHidden;
    ordered_json staticTitle;
    bool staticHidden;
};

void PrintTo(const ModelListCase& c, std::ostream* os) {
    *os << c.description;
}

class ModelListTest : public WindowTest, public ::testing::WithParamInterface<ModelListCase> {};

TEST_P(ModelListTest, FillsThePopUpOrShowsTheStaticText) {
    const auto& c = GetParam();
    for (const auto& model : c.models)
        disc.addDiscModel(model, englishPdf);
    if (c.emptyContainedModel)
        disc.setContainedModels(Value::dictionary({}));
    disc.start();
    auto state = disc.state();

    EXPECT_EQ(state["modelPopUp"]["items"], strings(c.items)) << c.description;
    EXPECT_EQ(state["modelPopUp"]["selected"], c.selected) << c.description;
    EXPECT_EQ(state["modelPopUp"]["hidden"], c.popUpHidden) << c.description;
    EXPECT_EQ(state["published"]["supportModelStaticTitle"], c.staticTitle) << c.description;
    EXPECT_EQ(state["published"]["supportModelStaticTxtHidden"], c.staticHidden) << c.description;
    if (c.models.size() >= 2) {
        EXPECT_EQ(state["frames"]["supportModelStaticTitleTxtField"], frame(168, 172, 300, 20)) << c.description;
        EXPECT_EQ(state["frames"]["modelLabelTitleTxtField"], frame(24, 172, 140, 20)) << c.description;
    }
    if (c.models.empty()) {
        EXPECT_EQ(state["published"]["languageStaticDescriptionTxt"], "On the web") << c.description;
        EXPECT_EQ(state["published"]["readMeButtonHidden"], true) << c.description;
        EXPECT_EQ(state["languagePopUp"]["items"], ordered_json::array()) << c.description;
        EXPECT_EQ(state["published"]["languageStaticTitle"], "") << c.description;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModelListTest,
    ::testing::Values(ModelListCase{"one model", {"QX-500"}, false, {"QX-500"}, "QX-500", true, "QX-500", false},
                      ModelListCase{"several models sorted ignoring case",
                                    {"RT-20", "qx-500", "QX-750 Duo"},
                                    false,
                                    {"qx-500", "QX-750 Duo", "RT-20"},
                                    "qx-500",
                                    false,
                                    "",
                                    true},
                      ModelListCase{"no model list", {}, false, {}, nullptr, true, nullptr, false},
                      ModelListCase{
                          "empty ContainedModel like a missing list", {}, true, {}, nullptr, true, nullptr, false}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

// --- The right-anchored fit ---------------------------------------------------

struct FitCase {
    std::string description;
    std::string text; // the model name, or the one language's display name
    std::size_t codePoints;
    int startingWidth = 300;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.description;
}

// Both rows start with the static text at x 168, 300 wide, and the label at x 24.
ordered_json fittedField(const FitCase& c, float y) {
    float width = measured(c.codePoints);
    float d = width - static_cast<float>(c.startingWidth);
    return frame(168 - d, y, width, 20);
}

ordered_json movedLabel(const FitCase& c, float y) {
    float d = measured(c.codePoints) - static_cast<float>(c.startingWidth);
    return frame(24 - d, y, 140, 20);
}

const auto fitCases = ::testing::Values(
    FitCase{"shrinks and moves right", "QX-500", 6}, FitCase{"grows and moves left", std::string(50, 'W'), 50},
    FitCase{"counts code points not bytes",
            "\xC3\x9C"
            "bersicht",
            9},
    FitCase{"unchanged moves nothing", "QX-500", 6, 46}, FitCase{"empty text shrinks to the padding", "", 0});

class ModelRowFitTest : public WindowTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(ModelRowFitTest, KeepsTheRightEdgeAndMovesTheLabel) {
    const auto& c = GetParam();
    if (c.text.empty())
        disc.setContainedModels(std::nullopt);
    else
        disc.addDiscModel(c.text, englishPdf, "model");
    if (c.startingWidth != 300)
        disc.setStartingWidth("supportModelStaticTitleTxtField", c.startingWidth);
    disc.start();
    auto frames = disc.state()["frames"];

    EXPECT_EQ(frames["supportModelStaticTitleTxtField"], fittedField(c, 172)) << c.description;
    EXPECT_EQ(frames["modelLabelTitleTxtField"], movedLabel(c, 172)) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Fit, ModelRowFitTest, fitCases,
                         [](const auto& testCase) { return caseName(testCase.param.description); });

class LanguageRowFitTest : public WindowTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(LanguageRowFitTest, KeepsTheRightEdgeAndMovesTheLabel) {
    const auto& c = GetParam();
    if (c.text.empty()) {
        disc.addDiscModel("QX-500", {});
    } else {
        disc.setDocumentationPlist(Value::dictionary(
            {{"FolderInfoArray", Value::array({DiscBuilder::member("Only", c.text.c_str(), "en")})}}));
        disc.addDiscModel("QX-500", {{"Only", {"top.pdf"}}});
    }
    if (c.startingWidth != 300)
        disc.setStartingWidth("languageStaticTitleTxtField", c.startingWidth);
    disc.start();
    auto state = disc.state();

    EXPECT_EQ(state["published"]["languageStaticTitle"], c.text) << c.description;
    EXPECT_EQ(state["published"]["languageStaticTxtHidden"], false) << c.description;
    EXPECT_EQ(state["languagePopUp"]["hidden"], true) << c.description;
    EXPECT_EQ(state["frames"]["languageStaticTitleTxtField"], fittedField(c, 130)) << c.description;
    EXPECT_EQ(state["frames"]["languageLabelTitleTxtField"], movedLabel(c, 130)) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Fit, LanguageRowFitTest, fitCases,
                         [](const auto& testCase) { return caseName(testCase.param.description); });

// --- The language row across models --------------------------------------------

TEST_F(WindowTest, SeveralLanguagesShowThePopUpInListOrderAndMoveNothing) {
    disc.addDiscModel("QX-500", {{"French", {"top.pdf"}}, {"English", {"top.pdf"}}, {"German", {"top.pdf"}}});
    disc.start();
    auto state = disc.state();

    EXPECT_EQ(state["languagePopUp"]["items"], strings({"English", "Deutsch",
                                                        "Fran\xC3\xA7"
                                                        "ais"}));
    EXPECT_EQ(state["languagePopUp"]["hidden"], false);
    EXPECT_EQ(state["published"]["languageStaticTitle"], "");
    EXPECT_EQ(state["published"]["languageStaticTxtHidden"], true);
    EXPECT_EQ(state["frames"]["languageStaticTitleTxtField"], frame(168, 130, 300, 20));
    EXPECT_EQ(state["frames"]["languageLabelTitleTxtField"], frame(24, 130, 140, 20));
}

TEST_F(WindowTest, SwitchingFromOneLanguageToSeveralGivesTheSlotBackAndKeepsTheFirstLanguage) {
    auto messages = WindowDisc::standardMessages();
    messages["KPS_CGI_Language"] = "de"; // would pick Deutsch if the automatic choice ran
    disc.setMessages(messages);
    disc.addDiscModel("A-single", englishPdf);
    disc.addDiscModel("B-several", threeLanguages);
    disc.start();

    float shift = 300 - measured(7); // "English"
    auto single = disc.state();
    ASSERT_EQ(single["languagePopUp"]["hidden"], true);
    EXPECT_EQ(single["frames"]["languageStaticTitleTxtField"], frame(168 + shift, 130, measured(7), 20));
    EXPECT_EQ(single["frames"]["languageLabelTitleTxtField"], frame(24 + shift, 130, 140, 20));

    auto several = disc.after("model:B-several");
    EXPECT_EQ(several["languagePopUp"]["hidden"], false);
    EXPECT_EQ(several["languagePopUp"]["selected"], "English");
    EXPECT_EQ(several["modelPopUp"]["selected"], "B-several");
    EXPECT_EQ(several["published"]["languageStaticTxtHidden"], true);
    EXPECT_EQ(several["frames"]["languageStaticTitleTxtField"], frame(168, 130, 300, 20));
    EXPECT_EQ(several["frames"]["languageLabelTitleTxtField"], frame(24, 130, 140, 20));

    auto back = disc.after("model:A-single");
    EXPECT_EQ(back["languagePopUp"]["hidden"], true);
    EXPECT_EQ(back["published"]["languageStaticTitle"], "English");
    EXPECT_EQ(back["frames"]["languageStaticTitleTxtField"], single["frames"]["languageStaticTitleTxtField"]);
    EXPECT_EQ(back["frames"]["languageLabelTitleTxtField"], single["frames"]["languageLabelTitleTxtField"]);
}

TEST_F(WindowTest, SwitchingBetweenSingleLanguageModelsRefitsFromTheSlot) {
    disc.setDocumentationPlist(
        Value::dictionary({{"FolderInfoArray", Value::array({
                                                   DiscBuilder::member("English", "English", "en"),
                                                   DiscBuilder::member("Long", "A much longer name", "lo"),
                                               })}}));
    disc.addDiscModel("A", englishPdf);
    disc.addDiscModel("B", {{"Long", {"top.pdf"}}});
    disc.start();

    auto state = disc.after("model:B");
    float shift = 300 - measured(18);
    EXPECT_EQ(state["published"]["languageStaticTitle"], "A much longer name");
    EXPECT_EQ(state["frames"]["languageStaticTitleTxtField"], frame(168 + shift, 130, measured(18), 20));
    EXPECT_EQ(state["frames"]["languageLabelTitleTxtField"], frame(24 + shift, 130, 140, 20));
}

TEST_F(WindowTest, TheSelectedLanguageCarriesOverAndOtherwiseTheAutomaticChoicePicks) {
    auto messages = WindowDisc::standardMessages();
    messages["KPS_CGI_Language"] = "fr";
    disc.setMessages(messages);
    disc.addDiscModel("A", threeLanguages);
    disc.addDiscModel("B", {{"English", {"top.pdf"}}, {"German", {"top.pdf"}}});
    disc.addDiscModel("C", {{"English", {"top.pdf"}}, {"French", {"top.pdf"}}});
    disc.addDiscModel("D", {{"English", {"top.pdf"}}, {"Spanish", {"top.pdf"}}});
    disc.start();

    EXPECT_EQ(disc.state()["languagePopUp"]["selected"], "Fran\xC3\xA7"
                                                         "ais")
        << "automatic choice at start-up";
    EXPECT_EQ(disc.after("language:Deutsch")["languagePopUp"]["selected"], "Deutsch");
    EXPECT_EQ(disc.after("model:B")["languagePopUp"]["selected"], "Deutsch") << "B offers Deutsch too";
    EXPECT_EQ(disc.after("model:C")["languagePopUp"]["selected"], "Fran\xC3\xA7"
                                                                  "ais")
        << "C lacks Deutsch";
    EXPECT_EQ(disc.after("model:D")["languagePopUp"]["selected"], "English") << "D has neither: first stays";
}

struct AutomaticChoiceCase {
    std::string description;
    std::optional<std::string> code; // KPS_CGI_Language; no message bundle when absent
    std::string selected;
};

void PrintTo(const AutomaticChoiceCase& c, std::ostream* os) {
    *os << c.description;
}

class AutomaticChoiceTest : public WindowTest, public ::testing::WithParamInterface<AutomaticChoiceCase> {};

TEST_P(AutomaticChoiceTest, PicksTheFirstEntryWithTheCode) {
    const auto& c = GetParam();
    if (c.code) {
        auto messages = WindowDisc::standardMessages();
        messages["KPS_CGI_Language"] = *c.code;
        disc.setMessages(messages);
    } else {
        disc.removeMessageBundle();
    }
    disc.setDocumentationPlist(
        Value::dictionary({{"FolderInfoArray", Value::array({
                                                   DiscBuilder::member("German", "Deutsch", "de"),
                                                   DiscBuilder::member("English", "English", "en"),
                                                   DiscBuilder::member("British", "British English", "en"),
                                                   DiscBuilder::member("Unnamed", "", "xx"),
                                               })}}));
    disc.addDiscModel(
        "QX-500",
        {{"German", {"top.pdf"}}, {"English", {"top.pdf"}}, {"British", {"top.pdf"}}, {"Unnamed", {"top.pdf"}}});
    disc.start();

    EXPECT_EQ(disc.state()["languagePopUp"]["selected"], c.selected) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AutomaticChoiceTest,
    ::testing::Values(AutomaticChoiceCase{"code of the message bundle", "de", "Deutsch"},
                      AutomaticChoiceCase{"first of two entries sharing a code", "en", "English"},
                      AutomaticChoiceCase{"en without the message bundle", std::nullopt, "English"},
                      AutomaticChoiceCase{"no entry with the code keeps the first", "ja", "Deutsch"},
                      AutomaticChoiceCase{"empty display name keeps the first", "xx", "Deutsch"}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

// The automatic choice has happened by the time the window is made key: a backend
// that notes the language pop-up's selection when the window changes sees it.
class KeyOrderBackend : public appkit::HeadlessBackend {
public:
    void windowDidChange(appkit::Window& window) override {
        if (window.isKeyWindow() && !keyedWith && languagePopUp)
            keyedWith = languagePopUp->titleOfSelectedItem().text();
    }
    std::shared_ptr<appkit::PopUpButton> languagePopUp;
    std::optional<std::string> keyedWith;
};

TEST_F(WindowTest, TheAutomaticChoiceRunsBeforeTheWindowIsMadeKey) {
    auto messages = WindowDisc::standardMessages();
    messages["KPS_CGI_Language"] = "de";
    disc.setMessages(messages);
    disc.addDiscModel("QX-500", threeLanguages);
    disc.write();

    auto options = disc.options();
    foundation::Bundle::setMainBundlePath(options.app);
    Locations locations = Locations::macDefaults();
    locations.messageBundle = *options.messageBundle;
    Locations::setOverride(locations);
    auto backend = std::make_shared<KeyOrderBackend>();
    appkit::Application::reset(backend);
    auto loaded = appkit::NibLoader::loadMainWindowDescription();
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    backend->languagePopUp = loaded.objectAs<appkit::PopUpButton>("languagePUButton");
    ASSERT_EQ(backend->languagePopUp->titleOfSelectedItem().text(), "English") << "before launching finishes";

    appkit::Application::shared().finishLaunching();
    EXPECT_EQ(backend->keyedWith, std::optional<std::string>("Deutsch"));

    appkit::Application::reset();
    Locations::setOverride(std::nullopt);
}

// --- The description and the read-me button follow the choice -------------------

struct ChoiceCase {
    std::string description;
    std::vector<std::string> steps; // window steps, or "remove:PATH" for a file under the disc
    std::string text;
    bool readMeHidden;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.description;
}

class DocumentationChoiceTest : public WindowTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(DocumentationChoiceTest, DescriptionAndReadMeButtonFollowTheModelAndLanguageShown) {
    const auto& c = GetParam();
    auto messages = WindowDisc::standardMessages();
    messages["KPS_CGI_Language"] = "de";
    disc.setMessages(messages);
    disc.addDiscModel("A-disc",
                      {{"English", {"top.pdf", "MacOS_X_readme.rtf"}}, {"German", {"top.pdf"}}, {"French", {}}});
    disc.addDiscModel("B-web", {{"English", {}}});
    disc.addOnlineModel("C-online", "http://support.example/doc?", {"English", "German"});
    disc.start();
    auto state = disc.state();
    for (const auto& step : c.steps) {
        if (step.starts_with("remove:"))
            std::filesystem::remove(disc.path(step.substr(7)));
        else
            state = disc.after(step);
    }

    EXPECT_EQ(state["published"]["languageStaticDescriptionTxt"], c.text) << c.description;
    EXPECT_EQ(state["published"]["readMeButtonHidden"], c.readMeHidden) << c.description;
    EXPECT_EQ(state["published"]["readMeButtonTitle"], "Read Me") << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, DocumentationChoiceTest,
    ::testing::Values(
        ChoiceCase{"the language chosen automatically at launch", {}, "On the disc", true},
        ChoiceCase{"a language with its read-me", {"language:English"}, "On the disc", false},
        ChoiceCase{"a language folder without documents",
                   {"language:Fran\xC3\xA7"
                    "ais"},
                   "On the web",
                   true},
        ChoiceCase{"a model documented online only", {"language:English", "model:C-online"}, "On the web", true},
        ChoiceCase{"a model whose folder holds nothing", {"model:B-web"}, "On the web", true},
        ChoiceCase{
            "back to the first model", {"language:English", "model:C-online", "model:A-disc"}, "On the disc", false},
        ChoiceCase{"a read-me removed after start-up",
                   {"language:English", "remove:Docs/A-disc/English/MacOS_X_readme.rtf", "language:Deutsch",
                    "language:English"},
                   "On the disc",
                   true}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

// A model switch is one question: it reads each list of the chain once, and
// the next switch reads them afresh.
TEST_F(WindowTest, ModelSwitchReadsEachListOnce) {
    disc.addDiscModel("A-disc", {{"English", {"top.pdf", "MacOS_X_readme.rtf"}}, {"German", {"top.pdf"}}});
    disc.addOnlineModel("C-online", "http://support.example/doc?", {"English", "German"});
    disc.start();
    for (const char* step : {"model:C-online", "model:A-disc"}) {
        std::vector<foundation::FileAccessLog::Entry> log;
        foundation::FileAccessLog::install(&log);
        disc.after(step);
        foundation::FileAccessLog::install(nullptr);
        for (const char* list :
             {"MacResources/CommonResource.plist", "MacResources/CDInfo.plist", "MacResources/ModelInfo.plist"}) {
            auto reads = std::count_if(log.begin(), log.end(), [&](const auto& e) {
                return e.access == foundation::FileAccessLog::Access::Read && e.path == disc.path(list);
            });
            EXPECT_EQ(reads, 1) << step << ": " << list;
        }
    }
}

struct StartUpDocumentCase {
    std::string description;
    WindowDisc::Folders folders;
    std::string text;
    bool readMeHidden;
};

void PrintTo(const StartUpDocumentCase& c, std::ostream* os) {
    *os << c.description;
}

class StartUpDocumentTest : public WindowTest, public ::testing::WithParamInterface<StartUpDocumentCase> {};

TEST_P(StartUpDocumentTest, DescriptionAndReadMeFollowTheFirstModel) {
    const auto& c = GetParam();
    disc.addDiscModel("A", c.folders);
    disc.addDiscModel("B", englishPdf);
    disc.start();
    auto published = disc.state()["published"];

    EXPECT_EQ(published["languageStaticDescriptionTxt"], c.text) << c.description;
    EXPECT_EQ(published["readMeButtonHidden"], c.readMeHidden) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    FirstModel, StartUpDocumentTest,
    ::testing::Values(StartUpDocumentCase{"pdf with read-me", englishPdf, "On the disc", false},
                      StartUpDocumentCase{"html without read-me", {{"English", {"top.html"}}}, "On the disc", true},
                      StartUpDocumentCase{"read-me alone", {{"English", {"MacOS_X_readme.rtf"}}}, "On the web", false},
                      StartUpDocumentCase{"empty folder", {{"English", {}}}, "On the web", true}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

// --- Opening documents --------------------------------------------------------------

struct CommandCase {
    std::string description;
    std::string directory; // the documentation directory's name under Docs
    std::string escaped;   // the same name as it appears between the quotes
    std::vector<std::string> files;
    bool reader;
    std::string step;
    std::string file; // opened file in the English folder; "" for none
    bool withReader;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.description;
}

class CommandTest : public WindowTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, RunsTheOpenCommand) {
    const auto& c = GetParam();
    disc.addDiscModel("QX-500", {{"English", c.files}}, c.directory);
    if (c.reader)
        disc.installReader();
    disc.start();
    disc.state();

    std::vector<std::string> expected;
    if (!c.file.empty()) {
        std::string target = disc.path("Docs/") + c.escaped + "/English/" + c.file;
        expected.push_back("open \"" + target + "\"" + (c.withReader ? " -a \"" + disc.readerPath() + "\"" : ""));
    }
    EXPECT_EQ(disc.after(c.step)["commands"], strings(expected)) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTest,
    ::testing::Values(
        CommandCase{"pdf with the reader", "QX", "QX", {"top.pdf"}, true, "press:documentation", "top.pdf", true},
        CommandCase{"pdf without the reader", "QX", "QX", {"top.pdf"}, false, "press:documentation", "top.pdf", false},
        CommandCase{
            "html never uses the reader", "QX", "QX", {"top.html"}, true, "press:documentation", "top.html", false},
        CommandCase{"read-me",
                    "QX",
                    "QX",
                    {"top.pdf", "MacOS_X_readme.rtf"},
                    true,
                    "press:readme",
                    "MacOS_X_readme.rtf",
                    false},
        CommandCase{"empty read-me path runs nothing", "QX", "QX", {"top.pdf"}, true, "press:readme", "", false},
        CommandCase{"empty address runs nothing", "QX", "QX", {}, true, "press:documentation", "", false},
        CommandCase{"spaces stay one argument",
                    "QX 500 Docs",
                    "QX 500 Docs",
                    {"top.pdf"},
                    true,
                    "press:documentation",
                    "top.pdf",
                    true},
        CommandCase{"double quote escaped",
                    "say \"hi\"",
                    "say \\\"hi\\\"",
                    {"top.pdf"},
                    true,
                    "press:documentation",
                    "top.pdf",
                    true},
        CommandCase{
            "dollar escaped", "$HOME x", "\\$HOME x", {"top.html"}, false, "press:documentation", "top.html", false},
        CommandCase{
            "backquote escaped", "`id`", "\\`id\\`", {"top.pdf"}, false, "press:documentation", "top.pdf", false},
        CommandCase{"backslash escaped",
                    "back\\slash",
                    "back\\\\slash",
                    {"MacOS_X_readme.rtf"},
                    false,
                    "press:readme",
                    "MacOS_X_readme.rtf",
                    false}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

TEST_F(WindowTest, TheOnlineBranchOpensTheAddressInQuotes) {
    disc.addOnlineModel("QX-500", "http://support.example/doc?", {"English", "German"});
    disc.start();

    EXPECT_EQ(disc.state()["languagePopUp"]["items"], strings({"English", "Deutsch"}));
    EXPECT_EQ(disc.after("language:Deutsch")["commands"], ordered_json::array());
    EXPECT_EQ(disc.after("press:documentation")["commands"],
              strings({"open \"http://support.example/doc?MDL=ID-QX-500&LNG=de&SRC=DOC\""}));
    EXPECT_EQ(disc.after("press:readme")["commands"], ordered_json::array());
}

// --- Texts and menus ------------------------------------------------------------------

TEST_F(WindowTest, CaptionsComeFromTheMessageBundleAndTheTitleFromInfoPlist) {
    disc.setInfoPlistStrings({{"CFBundleDisplayName", "Docshelf Handbook"}});
    disc.addDiscModel("QX-500", englishPdf);
    disc.start();
    auto state = disc.state();

    EXPECT_EQ(state["window"]["title"], "Docshelf Handbook");
    EXPECT_EQ(state["published"]["documentationTitle"], "Docshelf Handbook");
    EXPECT_EQ(state["published"]["rightButtonTitle"], "Close");
    EXPECT_EQ(state["published"]["modelLabelTitle"], "Printer: ");
    EXPECT_EQ(state["published"]["languageLabelTitle"], "Language: ");
    EXPECT_EQ(state["published"]["docButtonTitle"], "User Guide");
    EXPECT_EQ(state["published"]["readMeButtonTitle"], "Read Me");
}

TEST_F(WindowTest, WithoutTheMessageBundleTheWindowShowsTheKeys) {
    disc.removeMessageBundle();
    disc.addDiscModel("QX-500", englishPdf);
    disc.start();
    auto state = disc.state();

    EXPECT_EQ(state["window"]["title"], "CFBundleDisplayName");
    EXPECT_EQ(state["published"]["rightButtonTitle"], "BTN_CLOSE");
    EXPECT_EQ(state["published"]["modelLabelTitle"], "Model: ");
    EXPECT_EQ(state["published"]["languageLabelTitle"], "UG_TXT_LANGUAGE: ");
    EXPECT_EQ(state["published"]["languageStaticDescriptionTxt"], "UG_TXT_LINKCD_UG_SUG");
    EXPECT_EQ(state["published"]["docButtonTitle"], "UG_BTN_UG");
    EXPECT_EQ(state["published"]["readMeButtonTitle"], "UG_BTN_README");
    auto menu = state["applicationMenu"];
    for (const char* key :
         {"APP_MENU_ABOUT", "APP_MENU_HIDE", "APP_MENU_HIDEOHTERS", "APP_MENU_SHOWALL", "APP_MENU_QUIT"})
        EXPECT_NE(std::find(menu.begin(), menu.end(), key), menu.end()) << key << " in " << menu.dump();
}

struct MenuCase {
    std::string description;
    std::string menuTitle; // "" keeps the real description's "Documentation"
    std::map<std::string, std::string> infoStrings;
    bool retitled;
};

void PrintTo(const MenuCase& c, std::ostream* os) {
    *os << c.description;
}

class MenuTest : public WindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuTest, RetitlesTheApplicationMenuWhenItIsFound) {
    const auto& c = GetParam();
    if (!c.menuTitle.empty())
        disc.setApplicationMenuTitle(c.menuTitle);
    disc.setInfoPlistStrings(c.infoStrings);
    disc.addDiscModel("QX-500", englishPdf);
    disc.start();
    auto menu = disc.state()["applicationMenu"];

    std::vector<std::string> english = {"About", "Hide", "Hide Others", "Show All", "Quit"};
    std::vector<std::string> localized = {"About Docshelf", "Hide Docshelf", "Hide the Others", "Show Everything",
                                          "Quit Docshelf"};
    for (std::size_t i = 0; i < english.size(); ++i) {
        const auto& present = c.retitled ? localized[i] : english[i];
        const auto& gone = c.retitled ? english[i] : localized[i];
        EXPECT_NE(std::find(menu.begin(), menu.end(), present), menu.end()) << c.description << ": " << present;
        EXPECT_EQ(std::find(menu.begin(), menu.end(), gone), menu.end()) << c.description << ": " << gone;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Menus, MenuTest,
    ::testing::Values(MenuCase{"real description", "", {}, true},
                      MenuCase{"application menu titled otherwise", "Docs", {}, false},
                      MenuCase{"found under its InfoPlist title", "Docs", {{"Documentation", "Docs"}}, true},
                      MenuCase{"InfoPlist title not in the menu", "", {{"Documentation", "Handbuch"}}, false}),
    [](const auto& testCase) { return caseName(testCase.param.description); });

// --- Ending --------------------------------------------------------------------------------

class EndingTest : public WindowTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(EndingTest, EndsTheApplication) {
    disc.addDiscModel("QX-500", englishPdf);
    disc.start();
    auto start = disc.state();
    EXPECT_EQ(start["terminated"], false);
    EXPECT_EQ(start["window"]["key"], true);

    auto after = disc.after(GetParam());
    EXPECT_EQ(after["terminated"], true) << GetParam();
    EXPECT_EQ(after["commands"], ordered_json::array()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Ending, EndingTest, ::testing::Values("close-window", "press:close"),
                         [](const auto& testCase) { return caseName(testCase.param); });

}
}
