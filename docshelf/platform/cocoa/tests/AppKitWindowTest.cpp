#include "ChildProcess.h"
#include "DesktopUser.h"
#include "XvfbServer.h"

#include "DiscBuilder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace docshelf::cocoa {
namespace {

using docshelf::testing::ChildProcess;
using docshelf::testing::DesktopUser;
using docshelf::testing::XvfbServer;
using foundation::Value;

namespace fs = std::filesystem;

const std::string builtApp = DOCSHELF_APP_DIR;
const std::string artifacts = DOCSHELF_TEST_ARTIFACTS;

// Where a person clicks in the 520 x 340 window, from its top left: the middle
// of the model pop-up and of the language pop-up. A pop-up's list opens with
// the selected item over the pop-up, one item every 20 pixels.
constexpr int popUpX = 318;
constexpr int modelPopUpY = 94;
constexpr int languagePopUpY = 136;
constexpr int itemHeight = 20;
// The middle of the close button, and the description's box (left, top, width, height).
constexpr std::pair<int, int> closeButtonMiddle{452, 308};
constexpr int descriptionBox[] = {24, 160, 472, 84};

// One line of the backend's description of its native controls.
struct Control {
    std::string nativeClass, label, nativeTitle, nativeHidden, modelTitle, modelHidden, nativeFrame, modelFrame;
};

std::vector<Control> parseControls(const std::string& text) {
    std::vector<Control> controls;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            fields.push_back(cell);
        if (fields.size() == 8)
            controls.push_back(
                {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]});
    }
    return controls;
}

// Japanese texts for the window; the description long enough to need three lines.
constexpr const char* japaneseMessages =
    "\"UG_BTN_UG\" = \"\u30e6\u30fc\u30b6\u30fc\u30ac\u30a4\u30c9\";\n"
    "\"UG_TXT_LANGUAGE\" = \"\u8a00\u8a9e\";\n\"TXT_MODEL\" = \"\u6a5f\u7a2e\";\n"
    "\"BTN_CLOSE\" = \"\u9589\u3058\u308b\";\n\"KPS_CGI_Language\" = \"ja\";\n"
    "\"UG_TXT_LINKCD_UG_SUG\" = \"\u3053\u306e\u6a5f\u7a2e\u306e\u30e6\u30fc\u30b6\u30fc\u30ac\u30a4\u30c9\u306f"
    "\u3053\u306e\u30c7\u30a3\u30b9\u30af\u306b\u53ce\u9332\u3055\u308c\u3066\u3044\u307e\u3059\u3002"
    "\u8aad\u307f\u305f\u3044\u8a00\u8a9e\u3092\u9078\u3093\u3067\u304b\u3089\u3001\u4e0b\u306e\u30dc\u30bf\u30f3"
    "\u3092\u62bc\u3057\u3066\u304f\u3060\u3055\u3044\u3002\u6a5f\u7a2e\u3068\u8a00\u8a9e\u306f\u3044\u3064\u3067\u3082"
    "\u5909\u3048\u3089\u308c\u307e\u3059\u3002\";\n";

// Three models: Alpha and Gamma with their manuals in English and German, Beta
// in English alone (so its language shows as static text), and as many more
// models without manuals as asked (Zulu 0001 on); an opener that records what
// it is given; the browser built with its AppKit backend, in English or Japanese.
class NativeBrowserOnDisc {
public:
    explicit NativeBrowserOnDisc(std::size_t moreModels = 0, std::string language = "en")
        : language_(std::move(language)) {
        for (const char* part : {"MacOS", "Resources"})
            fs::copy(builtApp + "/Contents/" + part, disc_.path(std::string("Docshelf.app/Contents/") + part),
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        disc_.writeChain();
        disc_.writeInfoPlist(
            Value::dictionary({{"CFBundleExecutable", "Docshelf"},
                               {"CFBundleName", "Docshelf"},
                               {"NSMainNibFile", "MainMenu"},
                               {"CommonResourcePath", disc_.path("MacResources/CommonResource.plist")}}));
        disc_.writeDocumentationPlist(docshelf::testing::DiscBuilder::fiveLanguages());
        std::vector<Value::Entry> contained;
        std::vector<Value::Entry> ids;
        const std::vector<std::pair<const char*, std::vector<const char*>>> models{
            {"Alpha", {"English", "German"}}, {"Beta", {"English"}}, {"Gamma", {"English", "German"}}};
        for (const auto& [model, folders] : models) {
            std::string documents = std::string("Docs/") + model;
            for (const char* folder : folders)
                disc_.writeLanguageFolder(documents, folder, {"top.pdf"});
            contained.emplace_back(
                model, Value::dictionary({{"Documentation", Value::dictionary({{"Path", disc_.path(documents)}})}}));
            ids.emplace_back(model, Value::dictionary({{"KPSID", std::string("ID-") + model}}));
        }
        for (std::size_t i = 1; i <= moreModels; ++i) {
            std::string model = "Zulu " +
                                std::string(i < 10     ? "000"
                                            : i < 100  ? "00"
                                            : i < 1000 ? "0"
                                                       : "") +
                                std::to_string(i);
            contained.emplace_back(
                model, Value::dictionary({{"Documentation", Value::dictionary({{"Path", disc_.path("Docs/none")}})}}));
            ids.emplace_back(model, Value::dictionary({{"KPSID", "ID-" + model}}));
        }
        disc_.writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary(contained)}}));
        disc_.writeModelInfo(Value::dictionary({{"Model", Value::dictionary(ids)}}));
        disc_.writeFile("Message.bundle/Contents/Resources/en.lproj/Localizable.strings",
                        "\"UG_BTN_UG\" = \"User Guide\";\n\"UG_TXT_LANGUAGE\" = \"Language\";\n"
                        "\"UG_TXT_LINKCD_UG_SUG\" = \"On the disc.\";\n\"KPS_CGI_Language\" = \"en\";\n");
        disc_.writeFile("Message.bundle/Contents/Resources/ja.lproj/Localizable.strings", japaneseMessages);
        disc_.writeFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/../opened\"\n");
        fs::permissions(disc_.path("bin/xdg-open"), fs::perms::owner_all);
    }

    std::unique_ptr<ChildProcess> start() const {
        const char* path = std::getenv("PATH");
        return std::make_unique<ChildProcess>(
            disc_.path("Docshelf.app/Contents/MacOS/Docshelf"),
            std::vector<std::string>{"DISPLAY=" + XvfbServer::shared().display(), "DOCSHELF_BACKEND=appkit",
                                     "DOCSHELF_APPKIT_CONTROLS=" + disc_.path("controls"), "LANGUAGE=" + language_,
                                     "LANG=C.UTF-8", "LC_ALL",
                                     "DOCSHELF_MESSAGE_BUNDLE=" + disc_.path("Message.bundle"),
                                     "PATH=" + disc_.path("bin") + ":" + (path ? path : "/usr/bin:/bin")});
    }

    // The native controls once they pass the check; what they were last when
    // they did not within ten seconds.
    std::vector<Control> controlsOnce(const std::function<bool(const std::vector<Control>&)>& check) const {
        std::vector<Control> controls;
        for (int i = 0; i < 100; ++i) {
            std::ifstream in(disc_.path("controls"));
            std::stringstream text;
            text << in.rdbuf();
            controls = parseControls(text.str());
            if (check(controls))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return controls;
    }
    // Once the control on that line shows the title.
    std::vector<Control> controlsOnceShowing(std::size_t line, const std::string& title) const {
        return controlsOnce([&](const std::vector<Control>& controls) {
            return controls.size() > line && controls[line].nativeTitle == title;
        });
    }

    // Whether the About panel is on the screen, once it is as expected; what it
    // was last when it did not become so within ten seconds.
    bool aboutPanelShownOnce(bool expected) const {
        bool shown = !expected;
        for (int i = 0; i < 100 && shown != expected; ++i) {
            if (i > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::ifstream in(disc_.path("controls"));
            shown = false;
            for (std::string line; std::getline(in, line);)
                shown = shown || (line.starts_with("NSWindow\tAbout") && line.ends_with("\tshown"));
        }
        return shown;
    }

    // What the opener was given, one line a call; waits a little for a first one.
    std::string opened() const {
        for (int i = 0; i < 100 && !fs::exists(disc_.path("opened")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(disc_.path("opened"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string manual(const char* model, const char* folder) const {
        return disc_.path(std::string("Docs/") + model) + "/" + folder + "/top.pdf\n";
    }

private:
    std::string language_;
    docshelf::testing::DiscBuilder disc_;
};

// The text in a band of a screenshot of the window: how many runs of inked rows
// (lines) it makes, and how many different column patterns the first line's
// glyphs make. "?" in place of glyphs makes few; Japanese glyphs make many.
struct TextBand {
    int lines = 0;
    std::size_t distinctColumns = 0;
};

// Read back with ImageMagick, a tool we did not write, as 8-bit grey.
TextBand textIn(const std::string& png, int x, int y, int width, int height) {
    std::string raw = png + ".gray";
    std::ostringstream command;
    command << "convert " << png << " -crop " << width << "x" << height << "+" << x << "+" << y
            << " +repage -colorspace gray -depth 8 gray:" << raw;
    TextBand band;
    if (testing::runBounded(command.str(), std::chrono::seconds(20)) != 0)
        return band;
    std::ifstream in(raw, std::ios::binary);
    std::string pixels((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (pixels.size() != static_cast<std::size_t>(width * height))
        return band;
    auto dark = [&](int column, int row) {
        return static_cast<unsigned char>(pixels[static_cast<std::size_t>(row * width + column)]) < 100;
    };
    int firstTop = -1, firstBottom = -1;
    bool inLine = false;
    for (int row = 0; row < height; ++row) {
        bool inked = false;
        for (int column = 0; column < width && !inked; ++column)
            inked = dark(column, row);
        if (inked && !inLine && ++band.lines == 1)
            firstTop = row;
        if (!inked && inLine && firstBottom < 0)
            firstBottom = row;
        inLine = inked;
    }
    std::set<std::uint64_t> patterns;
    for (int column = 0; firstTop >= 0 && column < width; ++column) {
        std::uint64_t pattern = 0;
        for (int row = firstTop; row < (firstBottom < 0 ? height : firstBottom) && row < firstTop + 64; ++row)
            pattern = pattern << 1 | (dark(column, row) ? 1 : 0);
        if (pattern)
            patterns.insert(pattern);
    }
    band.distinctColumns = patterns.size();
    return band;
}

class AppKitWindowTest : public ::testing::Test {
protected:
    virtual std::size_t moreModels() const { return 0; }
    virtual std::string language() const { return "en"; }

    void SetUp() override {
        if (!XvfbServer::installed() || !DesktopUser::installed())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
        user_ = std::make_unique<DesktopUser>(XvfbServer::shared().display());
        disc_ = std::make_unique<NativeBrowserOnDisc>(moreModels(), language());
        browser_ = disc_->start();
        ASSERT_TRUE(browser_->started());
        // GNUstep maps its application icon and menu as windows of the same class.
        window_ = user_->waitForWindowSized("GNUstep", 520, 340, 30);
        ASSERT_FALSE(window_.empty()) << "no 520 x 340 GNUstep window on " << XvfbServer::shared().display()
                                      << (running() ? "" : ", the browser ended");
        fs::create_directories(artifacts);
    }
    void TearDown() override {
        if (browser_)
            browser_->terminate();
        // The next test's windows must not meet this one's.
        if (user_)
            user_->waitForWindows("GNUstep", 0, 10);
    }

    bool running() { return !browser_->waitFor(std::chrono::milliseconds(0)); }
    void screenshot(const std::string& name) {
        EXPECT_TRUE(user_->screenshot(artifacts + "/" + name + ".png")) << name;
    }
    // Presses on a pop-up, which opens its list, and lets go on the item so many
    // rows below the selected one. (Under Xvfb, without a window manager, GNUstep
    // opens a list on a plain click only until the first choice.)
    void choose(int popUpY, int rowsDown) {
        user_->drag(window_, popUpX, popUpY, popUpX, popUpY + rowsDown * itemHeight);
    }

    // The window alone, as the person sees it, or the whole screen ("root").
    // (import, since xwd leaves GNUstep's panels out of the root's picture.)
    std::string windowShot(const std::string& name, const std::string& window = "") {
        std::string path = artifacts + "/" + name + ".png";
        EXPECT_EQ(testing::runBounded("import -display " + XvfbServer::shared().display() + " -window " +
                                          (window.empty() ? window_ : window) + " " + path,
                                      std::chrono::seconds(20)),
                  0)
            << name;
        return path;
    }
    // Presses and releases with no time between, as a quick hand or a tablet does.
    void quickClick(std::pair<int, int> at) {
        EXPECT_EQ(testing::runBounded("DISPLAY=" + XvfbServer::shared().display() + " xdotool mousemove --window " +
                                          window_ + " " + std::to_string(at.first) + " " + std::to_string(at.second) +
                                          " mousedown 1 mouseup 1",
                                      std::chrono::seconds(20)),
                  0);
    }

    std::unique_ptr<NativeBrowserOnDisc> disc_;
    std::unique_ptr<DesktopUser> user_;
    std::unique_ptr<ChildProcess> browser_;
    std::string window_;
};

// The controls by their line in the description, in the window description's order.
enum Line : std::size_t {
    modelPopUp = 2,
    modelText = 3,
    languageLabel = 4,
    languagePopUp = 5,
    languageText = 6,
    readMeButton = 8,
    documentationButton = 9,
    closeButton = 10,
    // Below the window's controls while a list is open.
    openList = 11,
};

struct ControlCase {
    const char* name;
    bool afterSwitchToBeta;
    Line line;
    const char* nativeClass;
    const char* title;
    const char* hidden;
};

const ControlCase controlCases[] = {
    {"at start the model pop-up shows the first model", false, modelPopUp, "NSPopUpButton", "Alpha", "shown"},
    {"at start the static model text is hidden", false, modelText, "NSTextField", "", "hidden"},
    {"at start the language label is shown", false, languageLabel, "NSTextField", "Language: ", "shown"},
    {"at start the language pop-up offers English", false, languagePopUp, "NSPopUpButton", "English", "shown"},
    {"at start the static language text is hidden", false, languageText, "NSTextField", "", "hidden"},
    {"without a read-me file its button is hidden", false, readMeButton, "NSButton", "UG_BTN_README", "hidden"},
    {"the documentation button has its caption", false, documentationButton, "NSButton", "User Guide", "shown"},
    {"Beta chosen in the model pop-up", true, modelPopUp, "NSPopUpButton", "Beta", "shown"},
    {"Beta's one language hides the language pop-up", true, languagePopUp, "NSPopUpButton", "English", "hidden"},
    {"and shows it as static text", true, languageText, "NSTextField", "English", "shown"},
};

TEST_F(AppKitWindowTest, NativeControlsShowWhatTheModelPublishesAtStartAndAfterAModelSwitch) {
    auto atStart = disc_->controlsOnceShowing(modelPopUp, "Alpha");
    screenshot("appkit-start");
    choose(modelPopUpY, 1);
    auto afterSwitch = disc_->controlsOnceShowing(modelPopUp, "Beta");
    screenshot("appkit-beta");
    ASSERT_TRUE(running()) << "choosing a model ended the browser";

    for (const auto& row : controlCases) {
        const auto& controls = row.afterSwitchToBeta ? afterSwitch : atStart;
        ASSERT_GT(controls.size(), std::size_t{row.line}) << row.name;
        const Control& control = controls[row.line];
        EXPECT_EQ(control.nativeClass, row.nativeClass) << row.name;
        EXPECT_EQ(control.nativeTitle, row.title) << row.name;
        EXPECT_EQ(control.nativeHidden, row.hidden) << row.name;
    }
    // Every control, both times: the native one shows the model's title, hidden
    // state and frame, and a pop-up or button has a name for a screen reader.
    for (const auto* controls : {&atStart, &afterSwitch}) {
        for (std::size_t i = 0; i < controls->size(); ++i) {
            const Control& control = (*controls)[i];
            std::string where = (controls == &atStart ? "at start, line " : "after the switch, line ") +
                                std::to_string(i) + " (" + control.nativeClass + ")";
            EXPECT_EQ(control.nativeTitle, control.modelTitle) << where;
            EXPECT_EQ(control.nativeHidden, control.modelHidden) << where;
            EXPECT_EQ(control.nativeFrame, control.modelFrame) << where;
            if (control.nativeClass != "NSTextField") {
                EXPECT_FALSE(control.label.empty()) << where;
            }
        }
    }

    // A logout's SIGTERM ends the run as Quit does (GNUstep would catch and drop it).
    browser_->terminate();
    EXPECT_EQ(browser_->waitFor(std::chrono::milliseconds(0)), 0) << "SIGTERM did not end the browser";
}

TEST_F(AppKitWindowTest, WithTheNativePopUpsAndReturnAPersonOpensTheChosenManual) {
    // Gamma lies two rows below Alpha; its English is chosen automatically, Deutsch is one row down.
    choose(modelPopUpY, 2);
    choose(languagePopUpY, 1);
    ASSERT_TRUE(running()) << "choosing with the mouse ended the browser";
    EXPECT_EQ(disc_->controlsOnceShowing(languagePopUp, "Deutsch").at(languagePopUp).modelTitle, "Deutsch");
    screenshot("appkit-choice");
    // Return is the key equivalent of the default button, the documentation button.
    user_->keys({"Return"});
    EXPECT_EQ(disc_->opened(), disc_->manual("Gamma", "German"));
}

TEST_F(AppKitWindowTest, AQuickClickOnCloseEndsTheBrowser) {
    auto controls = disc_->controlsOnceShowing(modelPopUp, "Alpha");
    ASSERT_GT(controls.size(), std::size_t{closeButton}) << "no close button described";
    quickClick(closeButtonMiddle);
    EXPECT_EQ(browser_->waitFor(std::chrono::seconds(10)), 0) << "a click with no time between press and release";
}

TEST_F(AppKitWindowTest, SigtermWhileAListIsOpenQuitsAsQuitDoes) {
    disc_->controlsOnceShowing(modelPopUp, "Alpha");
    user_->click(window_, popUpX, modelPopUpY);
    auto controls = disc_->controlsOnceShowing(openList, "Alpha");
    ASSERT_GT(controls.size(), std::size_t{openList}) << "the click opened no list";
    EXPECT_EQ(controls[openList].nativeClass, "DSMenuList");
    browser_->terminate();
    EXPECT_EQ(browser_->waitFor(std::chrono::milliseconds(0)), 0) << "SIGTERM with the model list open";
}

class JapaneseAppKitWindowTest : public AppKitWindowTest {
protected:
    std::string language() const override { return "ja"; }
};

TEST_F(JapaneseAppKitWindowTest, JapaneseIsDrawnInItsGlyphsAndBothListsWorkByKeyboard) {
    auto controls = disc_->controlsOnceShowing(documentationButton, "\u30e6\u30fc\u30b6\u30fc\u30ac\u30a4\u30c9");
    ASSERT_GT(controls.size(), std::size_t{documentationButton}) << "the Japanese window did not show";
    std::string shot = windowShot("appkit-japanese");
    const auto [x, y, width, height] = descriptionBox;
    TextBand band = textIn(shot, x, y, width, height);
    EXPECT_GE(band.distinctColumns, 20u) << "the description's glyphs look like question marks";
    EXPECT_GE(band.lines, 2) << "the description does not wrap, " << band.lines << " line(s)";

    // The model pop-up has the focus first: Space opens its list, End goes to
    // Gamma, Return chooses it; Tab goes on to the language pop-up, whose Down
    // opens its list on English, Down goes to Deutsch, Return chooses it.
    user_->keys({"space", "End", "Return"});
    EXPECT_EQ(disc_->controlsOnceShowing(modelPopUp, "Gamma").at(modelPopUp).modelTitle, "Gamma") << "keyboard, model";
    user_->keys({"Tab", "Down", "Down", "Return"});
    EXPECT_EQ(disc_->controlsOnceShowing(languagePopUp, "Deutsch").at(languagePopUp).modelTitle, "Deutsch")
        << "keyboard, language";
    // After the first choice a plain click opens a list and leaves it open; a
    // click on the row above the selected one chooses it.
    user_->click(window_, popUpX, modelPopUpY);
    EXPECT_EQ(disc_->controlsOnceShowing(openList, "Gamma").size(), std::size_t{openList + 1}) << "plain click";
    windowShot("appkit-japanese-list");
    user_->click(window_, popUpX, modelPopUpY - itemHeight);
    EXPECT_EQ(disc_->controlsOnceShowing(modelPopUp, "Beta").at(modelPopUp).modelTitle, "Beta") << "click on an item";
    ASSERT_TRUE(running());
    user_->keys({"Return"});
    EXPECT_EQ(disc_->opened(), disc_->manual("Beta", "English")) << "Return after the choices";
}

class LongListAppKitWindowTest : public AppKitWindowTest {
protected:
    std::size_t moreModels() const override { return 2997; }
};

TEST_F(LongListAppKitWindowTest, AListOf3000ModelsOpensScrollsAndReachesItsEndsByKeyboard) {
    disc_->controlsOnceShowing(modelPopUp, "Alpha");
    user_->click(window_, popUpX, modelPopUpY);
    auto opened = disc_->controlsOnceShowing(openList, "Alpha");
    ASSERT_GT(opened.size(), std::size_t{openList}) << "the long list did not open";
    EXPECT_EQ(opened[openList].modelTitle, "Alpha") << "the list opens on the selected model";
    screenshot("appkit-long-list");
    user_->keys({"End"});
    auto atEnd = disc_->controlsOnceShowing(openList, "Zulu 2997");
    ASSERT_GT(atEnd.size(), std::size_t{openList}) << "End closed the list";
    EXPECT_NE(atEnd[openList].modelTitle, "Alpha") << "End did not scroll the last model into view";
    screenshot("appkit-long-list-end");
    user_->keys({"Page_Up", "End", "Return"});
    EXPECT_EQ(disc_->controlsOnceShowing(modelPopUp, "Zulu 2997").at(modelPopUp).nativeTitle, "Zulu 2997")
        << "End and Return";
    // Reopened on the last model; typing goes to the first model that begins so.
    user_->click(window_, popUpX, modelPopUpY);
    EXPECT_EQ(disc_->controlsOnceShowing(openList, "Zulu 2997").at(openList).nativeTitle, "Zulu 2997")
        << "the list reopens on the chosen model";
    user_->keys({"z", "u", "l", "u", "space", "1", "5", "Return"});
    EXPECT_EQ(disc_->controlsOnceShowing(modelPopUp, "Zulu 1500").at(modelPopUp).nativeTitle, "Zulu 1500")
        << "type-ahead";
    user_->click(window_, popUpX, modelPopUpY);
    user_->keys({"Home", "Escape"});
    auto closed = disc_->controlsOnce(
        [](const std::vector<Control>& controls) { return controls.size() == std::size_t{openList}; });
    EXPECT_EQ(closed.size(), std::size_t{openList}) << "Escape left the list open";
    EXPECT_EQ(closed.at(modelPopUp).nativeTitle, "Zulu 1500") << "Escape chose";
}

TEST_F(AppKitWindowTest, TheAboutPanelShowsAndClosesWithoutAWindowManager) {
    disc_->controlsOnceShowing(modelPopUp, "Alpha");
    // A right click on the background opens the application menu at the
    // pointer; its first item, About, lies one row below.
    for (const char* key : {"Escape", "Return", "ctrl+w"}) {
        user_->click(window_, 60, 250, 3);
        user_->click(window_, 90, 265);
        EXPECT_TRUE(disc_->aboutPanelShownOnce(true)) << key << ": About did not open";
        windowShot(std::string("appkit-about-") + key, "root");
        user_->keys({key});
        EXPECT_FALSE(disc_->aboutPanelShownOnce(false)) << key << " did not close the About panel";
        ASSERT_TRUE(running()) << key << " ended the browser";
    }
    EXPECT_EQ(disc_->controlsOnceShowing(modelPopUp, "Alpha").at(modelPopUp).nativeHidden, "shown")
        << "the main window's controls after About";
}

}
}
