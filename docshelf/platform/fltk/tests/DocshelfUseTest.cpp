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

namespace docshelf::fltk {
namespace {

using foundation::Value;
using testing::ChildProcess;
using testing::DesktopUser;
using docshelf::testing::XvfbServer;

namespace fs = std::filesystem;

const std::string builtApp = DOCSHELF_APP_DIR;
const std::string artifacts = DOCSHELF_TEST_ARTIFACTS;

// Where a person clicks in the 520 x 340 window, from its top left: the middle
// of the model pop-up, the language pop-up, the documentation button, and a
// bare spot of the background. A pop-up's list opens with its selected item
// over the pop-up and one item every 20 pixels.
struct Spot {
    int x;
    int y;
};
constexpr Spot modelPopUp{318, 94};
constexpr Spot languagePopUp{318, 136};
constexpr Spot documentationButton{316, 308};
constexpr Spot background{505, 150};
constexpr int rowHeight = 20;

// Three models whose names FLTK would read as markup, each with its manuals in
// English and German on the disc; the built browser on it; an opener that
// records what it is given.
class BrowserOnDisc {
public:
    static const std::vector<std::string>& models() {
        static const std::vector<std::string> names{"Alpha & Beta", "Gamma @ Home/2", "Zeta \\ Omega"};
        return names;
    }

    BrowserOnDisc() {
        fs::copy(builtApp + "/Contents/MacOS", disc_.path("Docshelf.app/Contents/MacOS"),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(builtApp + "/Contents/Resources", disc_.path("Docshelf.app/Contents/Resources"),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        // The chain of property lists first: it writes a bare Info.plist of its own.
        disc_.writeChain();
        disc_.writeInfoPlist(
            Value::dictionary({{"CFBundleExecutable", "Docshelf"},
                               {"CFBundleName", "Docshelf"},
                               {"CFBundleIconFile", "Docshelf.png"},
                               {"CFBundleShortVersionString", "1.0"},
                               {"NSMainNibFile", "MainMenu"},
                               {"CommonResourcePath", disc_.path("MacResources/CommonResource.plist")}}));
        disc_.writeDocumentationPlist(docshelf::testing::DiscBuilder::fiveLanguages());
        std::vector<Value::Entry> contained;
        std::vector<Value::Entry> ids;
        for (std::size_t i = 0; i < models().size(); ++i) {
            std::string documents = "Docs/model" + std::to_string(i);
            for (const char* folder : {"English", "German"})
                disc_.writeLanguageFolder(documents, folder, {"top.pdf"});
            contained.emplace_back(
                models()[i],
                Value::dictionary({{"Documentation", Value::dictionary({{"Path", disc_.path(documents)}})}}));
            ids.emplace_back(models()[i], Value::dictionary({{"KPSID", "ID" + std::to_string(i)}}));
        }
        disc_.writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary(contained)}}));
        disc_.writeModelInfo(Value::dictionary({{"Model", Value::dictionary(ids)}}));
        disc_.writeFile("Message.bundle/Contents/Resources/en.lproj/Localizable.strings",
                        "\"UG_BTN_UG\" = \"User Guide\";\n\"BTN_CLOSE\" = \"Close\";\n"
                        "\"UG_TXT_LANGUAGE\" = \"Language\";\n\"UG_TXT_LINKCD_UG_SUG\" = \"On the disc.\";\n"
                        "\"APP_MENU_ABOUT\" = \"About Docshelf\";\n\"APP_MENU_QUIT\" = \"Quit Docshelf\";\n"
                        "\"KPS_CGI_Language\" = \"en\";\n");
        disc_.writeFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/../opened\"\n");
        fs::permissions(disc_.path("bin/xdg-open"), fs::perms::owner_all);
        fs::create_directories(artifacts);
    }

    std::unique_ptr<ChildProcess> start() const {
        const char* path = std::getenv("PATH");
        return std::make_unique<ChildProcess>(
            disc_.path("Docshelf.app/Contents/MacOS/Docshelf"),
            std::vector<std::string>{"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en", "LANG=C.UTF-8",
                                     "LC_ALL", "DOCSHELF_MESSAGE_BUNDLE=" + disc_.path("Message.bundle"),
                                     "PATH=" + disc_.path("bin") + ":" + (path ? path : "/usr/bin:/bin")});
    }

    // What the opener was given, one line a call; waits a little for a first one.
    std::string opened() const {
        for (int i = 0; i < 50 && !fs::exists(disc_.path("opened")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(disc_.path("opened"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string documentOf(std::size_t model, const char* folder) const {
        return disc_.path("Docs/model" + std::to_string(model)) + "/" + folder + "/top.pdf\n";
    }

private:
    docshelf::testing::DiscBuilder disc_;
};

class DocshelfUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::installed() || !DesktopUser::installed())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
        user_ = std::make_unique<DesktopUser>(XvfbServer::shared().display());
        browser_ = disc_.start();
        ASSERT_TRUE(browser_->started());
        auto windows = user_->waitForWindows("Docshelf", 1, 20);
        ASSERT_EQ(windows.size(), 1u) << "no window of class Docshelf on " << XvfbServer::shared().display()
                                      << (running() ? "" : ", the browser ended with ")
                                      << browser_->waitFor(std::chrono::milliseconds(0)).value_or(-2);
        window_ = windows.front();
        // Keys go to the window under the pointer: there is no window manager.
        user_->moveTo(window_, background.x, background.y);
    }
    void TearDown() override {
        if (browser_)
            browser_->terminate();
        // The next test's window must not meet this one's.
        if (user_)
            user_->waitForWindows("Docshelf", 0, 10);
    }

    bool running() { return !browser_->waitFor(std::chrono::milliseconds(0)); }
    void screenshot(const std::string& name) {
        EXPECT_TRUE(user_->screenshot(artifacts + "/" + name + ".png")) << name;
    }

    BrowserOnDisc disc_;
    std::unique_ptr<DesktopUser> user_;
    std::unique_ptr<ChildProcess> browser_;
    std::string window_;
};

TEST_F(DocshelfUseTest, WithTheMouseAPersonChoosesAModelAndALanguageAndOpensTheirManual) {
    // The list opens over the pop-up with "Alpha & Beta" over it; "Zeta \ Omega" lies two rows down.
    user_->click(window_, modelPopUp.x, modelPopUp.y);
    ASSERT_TRUE(running()) << "opening the model pop-up ended the browser";
    screenshot("model-list-open");
    user_->click(window_, modelPopUp.x, modelPopUp.y + 2 * rowHeight);
    ASSERT_TRUE(running()) << "choosing a model ended the browser";
    // English is chosen automatically; Deutsch is one row down.
    user_->click(window_, languagePopUp.x, languagePopUp.y);
    user_->click(window_, languagePopUp.x, languagePopUp.y + rowHeight);
    ASSERT_TRUE(running()) << "choosing a language ended the browser";
    screenshot("mouse-choice");
    user_->click(window_, documentationButton.x, documentationButton.y);
    EXPECT_EQ(disc_.opened(), disc_.documentOf(2, "German"));

    // Escape is no way to close a Mac window; the close box and Ctrl+W are.
    user_->keys({"Escape"});
    EXPECT_TRUE(running()) << "Escape closed the window";
    user_->keys({"ctrl+w"});
    EXPECT_EQ(browser_->waitFor(std::chrono::seconds(10)), 0) << "Ctrl+W did not end the browser";
}

TEST_F(DocshelfUseTest, WithTheKeyboardAloneAPersonChoosesAModelAndALanguageAndOpensTheirManual) {
    // Tab to the model pop-up, Space opens it, typing picks "Gamma @ Home/2", Return chooses.
    user_->keys({"Tab", "space"});
    user_->type("gam");
    user_->keys({"Return"});
    user_->keys({"Tab", "space"});
    user_->type("deu");
    screenshot("keyboard-language-list");
    user_->keys({"Return"});
    ASSERT_TRUE(running()) << "choosing by keyboard ended the browser";
    screenshot("keyboard-choice");
    user_->keys({"Escape"});
    EXPECT_TRUE(running()) << "Escape closed the window";
    // Return presses the default button, the documentation button.
    user_->keys({"Return"});
    EXPECT_EQ(disc_.opened(), disc_.documentOf(1, "German"));
    user_->keys({"ctrl+q"});
    EXPECT_EQ(browser_->waitFor(std::chrono::seconds(10)), 0) << "Ctrl+Q did not end the browser";
}

TEST_F(DocshelfUseTest, ARightClickShowsTheApplicationMenuWhoseAboutItemOpensTheAboutPanel) {
    user_->click(window_, background.x, background.y, 3);
    screenshot("application-menu");
    ASSERT_TRUE(running());
    // About is the menu's first item, just below the pointer.
    user_->click(window_, background.x + 10, background.y + rowHeight / 2 + 5);
    auto windows = user_->waitForWindows("Docshelf", 2, 10);
    ASSERT_EQ(windows.size(), 2u) << "no About panel";
    screenshot("about-panel");
    user_->moveTo(windows.back(), 140, 100);
    user_->keys({"Escape"});
    EXPECT_EQ(user_->waitForWindows("Docshelf", 1, 10).size(), 1u) << "Escape left the About panel open";
    EXPECT_TRUE(running());
}

}
}
