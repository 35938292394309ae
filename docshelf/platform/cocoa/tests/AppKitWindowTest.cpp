#include "ChildProcess.h"
#include "DesktopUser.h"
#include "XvfbServer.h"

#include "DiscBuilder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
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
// of the model pop-up and of the language pop-up. GNUstep opens a pop-up's list
// with the selected item over the pop-up, one item every 26 pixels.
constexpr int popUpX = 318;
constexpr int modelPopUpY = 94;
constexpr int languagePopUpY = 136;
constexpr int itemHeight = 26;

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

// Three models: Alpha and Gamma with their manuals in English and German, Beta
// in English alone (so its language shows as static text); an opener that
// records what it is given; the browser built with its AppKit backend.
class NativeBrowserOnDisc {
public:
    NativeBrowserOnDisc() {
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
        disc_.writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary(contained)}}));
        disc_.writeModelInfo(Value::dictionary({{"Model", Value::dictionary(ids)}}));
        disc_.writeFile("Message.bundle/Contents/Resources/en.lproj/Localizable.strings",
                        "\"UG_BTN_UG\" = \"User Guide\";\n\"UG_TXT_LANGUAGE\" = \"Language\";\n"
                        "\"UG_TXT_LINKCD_UG_SUG\" = \"On the disc.\";\n\"KPS_CGI_Language\" = \"en\";\n");
        disc_.writeFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/../opened\"\n");
        fs::permissions(disc_.path("bin/xdg-open"), fs::perms::owner_all);
    }

    std::unique_ptr<ChildProcess> start() const {
        const char* path = std::getenv("PATH");
        return std::make_unique<ChildProcess>(
            disc_.path("Docshelf.app/Contents/MacOS/Docshelf"),
            std::vector<std::string>{"DISPLAY=" + XvfbServer::shared().display(), "DOCSHELF_BACKEND=appkit",
                                     "DOCSHELF_APPKIT_CONTROLS=" + disc_.path("controls"), "LANGUAGE=en",
                                     "LANG=C.UTF-8", "LC_ALL",
                                     "DOCSHELF_MESSAGE_BUNDLE=" + disc_.path("Message.bundle"),
                                     "PATH=" + disc_.path("bin") + ":" + (path ? path : "/usr/bin:/bin")});
    }

    // The native controls once the control on that line shows the title; what
    // they were last when it did not within ten seconds.
    std::vector<Control> controlsOnceShowing(std::size_t line, const std::string& title) const {
        std::vector<Control> controls;
        for (int i = 0; i < 100; ++i) {
            std::ifstream in(disc_.path("controls"));
            std::stringstream text;
            text << in.rdbuf();
            controls = parseControls(text.str());
            if (controls.size() > line && controls[line].nativeTitle == title)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return controls;
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
    docshelf::testing::DiscBuilder disc_;
};

class AppKitWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::installed() || !DesktopUser::installed())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
        user_ = std::make_unique<DesktopUser>(XvfbServer::shared().display());
        browser_ = disc_.start();
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

    NativeBrowserOnDisc disc_;
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
    auto atStart = disc_.controlsOnceShowing(modelPopUp, "Alpha");
    screenshot("appkit-start");
    choose(modelPopUpY, 1);
    auto afterSwitch = disc_.controlsOnceShowing(modelPopUp, "Beta");
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
    EXPECT_EQ(disc_.controlsOnceShowing(languagePopUp, "Deutsch").at(languagePopUp).modelTitle, "Deutsch");
    screenshot("appkit-choice");
    // Return is the key equivalent of the default button, the documentation button.
    user_->keys({"Return"});
    EXPECT_EQ(disc_.opened(), disc_.manual("Gamma", "German"));
}

}
}
