#include "ChildProcess.h"
#include "DesktopUser.h"
#include "XvfbServer.h"

#include "DiscBuilder.h"

#include <FL/Fl_PNG_Image.H>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Last: its macros (None, Bool) would break GoogleTest's names.
#include <X11/Xlib.h>

namespace docshelf::fltk {
namespace {

using docshelf::testing::ChildProcess;
using docshelf::testing::DesktopUser;
using docshelf::testing::XvfbServer;
using foundation::Value;

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

// "a click outside the list" -> "a-click-outside-the-list", for file names.
std::string caseNameOf(const char* name) {
    std::string out;
    for (const char* c = name; *c; ++c)
        out += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '-';
    return out;
}

// The description field of the window description, in the window's pixels from
// its top left: 24..496 across, 172..256 down (84 high, its bottom 84 above the
// window's bottom edge).
constexpr int fieldLeft = 24;
constexpr int fieldRight = 496;
constexpr int fieldTop = 172;
constexpr int fieldBottom = 256;

struct Frame {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The first mapped top-level window of the display: there is no window manager,
// so it is the browser's own.
std::optional<Frame> browserWindow(const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (!display)
        return std::nullopt;
    std::optional<Frame> frame;
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !frame; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable && a.width > 100)
                frame = Frame{a.x, a.y, a.width, a.height};
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return frame;
}

// Whether the screenshot's pixel is dark enough to be text.
struct Screen {
    explicit Screen(const std::string& path) : image(path.c_str()) {}
    bool dark(int x, int y) const {
        if (x < 0 || y < 0 || x >= image.w() || y >= image.h() || image.d() < 3)
            return false;
        int line = image.ld() ? image.ld() : image.w() * image.d();
        const auto* p = reinterpret_cast<const unsigned char*>(image.data()[0]) + y * line + x * image.d();
        return p[0] + p[1] + p[2] < 3 * 100;
    }
    Fl_PNG_Image image;
};

// What the text in a band of the window looks like: the columns with ink, how
// many runs of inked rows it makes (its lines), and how many different column
// patterns its glyphs make within the first line.
struct TextBand {
    int leftmost = -1;
    int rightmost = -1;
    int lines = 0;
    std::size_t distinctColumns = 0;
};

TextBand textIn(const Screen& screen, Frame window, int top, int bottom) {
    TextBand band;
    bool inLine = false;
    int firstLineTop = -1;
    int firstLineBottom = -1;
    for (int y = top; y < bottom; ++y) {
        bool inked = false;
        for (int x = 0; x < window.w; ++x) {
            if (!screen.dark(window.x + x, window.y + y))
                continue;
            inked = true;
            if (band.leftmost < 0 || x < band.leftmost)
                band.leftmost = x;
            band.rightmost = std::max(band.rightmost, x);
        }
        if (inked && !inLine) {
            ++band.lines;
            if (firstLineTop < 0)
                firstLineTop = y;
        }
        if (!inked && inLine && firstLineBottom < 0)
            firstLineBottom = y;
        inLine = inked;
    }
    if (firstLineTop >= 0 && firstLineBottom < 0)
        firstLineBottom = bottom;
    // Empty boxes in place of glyphs make only a few kinds of columns (a box's
    // side, its top and bottom); real glyphs make many.
    std::set<std::uint64_t> patterns;
    for (int x = 0; firstLineTop >= 0 && x < window.w; ++x) {
        std::uint64_t pattern = 0;
        for (int y = firstLineTop; y < firstLineBottom && y < firstLineTop + 64; ++y)
            pattern = pattern << 1 | (screen.dark(window.x + x, window.y + y) ? 1 : 0);
        if (pattern)
            patterns.insert(pattern);
    }
    band.distinctColumns = patterns.size();
    return band;
}

// What a disc holds for one run: its models, each with its manuals in the
// languages given, and the language the user reads.
struct DiscLanguage {
    const char* folder;
    const char* display;
    const char* code;
};
struct DiscWindow {
    std::vector<std::string> models;
    std::vector<DiscLanguage> languages;
    std::string userLanguage;
};

// Three models whose names FLTK would read as markup, in English and German, in
// a Japanese window.
DiscWindow japaneseWindow() {
    return {{"Alpha & Beta", "Gamma @ Home/2", "Zeta \\ Omega"},
            {{"English", "English", "en"}, {"German", "Deutsch", "de"}},
            "ja"};
}

// Models named in Devanagari and Thai, in English and Hebrew, in a Hebrew window:
// every title of the lists needs shaping.
DiscWindow hebrewWindow() {
    return {{"\u0939\u093f\u0928\u094d\u0926\u0940-200", "\u0e44\u0e17\u0e22-100 \u0e23\u0e38\u0e48\u0e19"},
            {{"English", "English", "en"}, {"Hebrew", "\u05e2\u05d1\u05e8\u05d9\u05ea", "he"}},
            "he"};
}

// The models of the window on a disc, the built browser on it, and an opener
// that records what it is given.
class BrowserOnDisc {
public:
    static constexpr const char* japaneseDescription =
        "\u3053\u306e\u30e2\u30c7\u30eb\u306e\u30e6\u30fc\u30b6\u30fc\u30ac\u30a4\u30c9\u306f"
        "\u3053\u306e\u30c7\u30a3\u30b9\u30af\u306b\u53ce\u9332\u3055\u308c\u3066\u3044\u307e\u3059\u3002"
        "\u8aad\u307f\u305f\u3044\u8a00\u8a9e\u3092\u9078\u3093\u3067\u304b\u3089\u3001"
        "\u4e0b\u306e\u30dc\u30bf\u30f3\u3092\u62bc\u3057\u3066\u304f\u3060\u3055\u3044\u3002";

    // A Hebrew description of one line: "The manual is on the disc."
    static constexpr const char* hebrewDescription =
        "\u05d4\u05de\u05d3\u05e8\u05d9\u05da \u05e0\u05de\u05e6\u05d0 \u05e2\u05dc "
        "\u05d4\u05ea\u05e7\u05dc\u05d9\u05d8\u05d5\u05e8.";

    explicit BrowserOnDisc(DiscWindow window) : window_(std::move(window)) {
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
        std::vector<Value> members;
        for (const auto& language : window_.languages)
            members.push_back(docshelf::testing::DiscBuilder::member(language.folder, language.display, language.code));
        disc_.writeDocumentationPlist(Value::dictionary({{"FolderInfoArray", Value::array(members)}}));
        std::vector<Value::Entry> contained;
        std::vector<Value::Entry> ids;
        for (std::size_t i = 0; i < models().size(); ++i) {
            std::string documents = "Docs/model" + std::to_string(i);
            for (const auto& language : window_.languages)
                disc_.writeLanguageFolder(documents, language.folder, {"top.pdf"});
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
        // The Japanese window: its description is long enough to wrap.
        disc_.writeFile("Message.bundle/Contents/Resources/ja.lproj/Localizable.strings",
                        std::string("\"UG_BTN_UG\" = \"\u30e6\u30fc\u30b6\u30fc\u30ac\u30a4\u30c9\";\n") +
                            "\"UG_TXT_LINKCD_UG_SUG\" = \"" + japaneseDescription +
                            "\";\n"
                            "\"APP_MENU_ABOUT\" = \"Docshelf \u306b\u3064\u3044\u3066\";\n");
        disc_.writeFile(
            "Message.bundle/Contents/Resources/he.lproj/Localizable.strings",
            std::string("\"TXT_MODEL\" = \"\u05d3\u05d2\u05dd\";\n\"UG_TXT_LANGUAGE\" = \"\u05e9\u05e4\u05d4\";\n") +
                "\"UG_TXT_LINKCD_UG_SUG\" = \"" + hebrewDescription + "\";\n\"KPS_CGI_Language\" = \"he\";\n");
        disc_.writeFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/../opened\"\n");
        fs::permissions(disc_.path("bin/xdg-open"), fs::perms::owner_all);
        fs::create_directories(artifacts);
    }

    std::unique_ptr<ChildProcess> start() const {
        const char* path = std::getenv("PATH");
        return std::make_unique<ChildProcess>(
            disc_.path("Docshelf.app/Contents/MacOS/Docshelf"),
            std::vector<std::string>{"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=" + window_.userLanguage,
                                     "LANG=C.UTF-8", "LC_ALL",
                                     "DOCSHELF_MESSAGE_BUNDLE=" + disc_.path("Message.bundle"),
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
    const std::vector<std::string>& models() const { return window_.models; }

private:
    DiscWindow window_;
    docshelf::testing::DiscBuilder disc_;
};

class DocshelfUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::installed() || !DesktopUser::installed())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
    }
    // Starts the browser on a disc with that window and waits for its window.
    void start(DiscWindow window) {
        disc_ = std::make_unique<BrowserOnDisc>(std::move(window));
        user_ = std::make_unique<DesktopUser>(XvfbServer::shared().display());
        browser_ = disc_->start();
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

    std::unique_ptr<BrowserOnDisc> disc_;
    std::unique_ptr<DesktopUser> user_;
    std::unique_ptr<ChildProcess> browser_;
    std::string window_;
};

// The one test of the real program on the screen: it proves that clicks, keys and
// the right button reach the window model and that its menus and Japanese texts
// show; what each input does is the model's, tested headless.
TEST_F(DocshelfUseTest, APersonWorksTheJapaneseWindowWithMouseKeyboardAndApplicationMenu) {
    ASSERT_NO_FATAL_FAILURE(start(japaneseWindow()));
    screenshot("japanese-window");
    auto frame = browserWindow(XvfbServer::shared().display());
    ASSERT_TRUE(frame) << "no window on the screen";
    TextBand description = textIn(Screen(artifacts + "/japanese-window.png"), *frame, fieldTop, fieldBottom);
    EXPECT_GE(description.lines, 2) << "the description is not wrapped";
    EXPECT_GE(description.leftmost, fieldLeft);
    EXPECT_LT(description.rightmost, fieldRight) << "the description runs past its field";
    EXPECT_GE(description.distinctColumns, 20u) << "the glyphs look like empty boxes";

    // The mouse: the model list opens with "Alpha & Beta" over its pop-up and
    // "Zeta \ Omega" two rows down; English is chosen automatically and Deutsch
    // lies one row down.
    user_->click(window_, modelPopUp.x, modelPopUp.y);
    screenshot("model-list-open");
    user_->click(window_, modelPopUp.x, modelPopUp.y + 2 * rowHeight);
    user_->click(window_, languagePopUp.x, languagePopUp.y);
    user_->click(window_, languagePopUp.x, languagePopUp.y + rowHeight);
    ASSERT_TRUE(running()) << "choosing with the mouse ended the browser";
    user_->click(window_, documentationButton.x, documentationButton.y);
    EXPECT_EQ(disc_->opened(), disc_->documentOf(2, "German"));

    // The keyboard: Tab to a pop-up, Space opens it, typing picks, Return chooses;
    // Return then presses the documentation button.
    user_->keys({"Tab", "space"});
    user_->type("gam");
    user_->keys({"Return", "Tab", "space"});
    user_->type("eng");
    user_->keys({"Return", "Return"});
    EXPECT_EQ(disc_->opened(), disc_->documentOf(2, "German") + disc_->documentOf(1, "English"));

    // The right button: the application menu, whose first item opens the About panel.
    user_->click(window_, background.x, background.y, 3);
    screenshot("application-menu");
    user_->click(window_, background.x + 10, background.y + rowHeight / 2 + 5);
    auto windows = user_->waitForWindows("Docshelf", 2, 10);
    ASSERT_EQ(windows.size(), 2u) << "no About panel";
    user_->moveTo(windows.back(), 140, 100);
    user_->keys({"Escape"});
    EXPECT_EQ(user_->waitForWindows("Docshelf", 1, 10).size(), 1u) << "Escape left the About panel open";

    user_->moveTo(window_, background.x, background.y);
    user_->keys({"ctrl+q"});
    EXPECT_EQ(browser_->waitFor(std::chrono::seconds(10)), 0) << "Ctrl+Q did not end the browser";
}

// Every title of these lists is shaped (Devanagari, Thai, Hebrew): each list closes
// by every route and the browser lives on; the Hebrew window reads from the right;
// keys go to the About panel in front; a signal quits as Quit does.
TEST_F(DocshelfUseTest, ListsOfShapedTitlesCloseByEveryRouteInAHebrewWindow) {
    ASSERT_NO_FATAL_FAILURE(start(hebrewWindow()));
    screenshot("hebrew-window");
    auto frame = browserWindow(XvfbServer::shared().display());
    ASSERT_TRUE(frame) << "no window on the screen";
    TextBand description = textIn(Screen(artifacts + "/hebrew-window.png"), *frame, fieldTop, fieldBottom);
    EXPECT_GT(description.rightmost, fieldRight - 8) << "the Hebrew description does not end at its field's right";
    EXPECT_GT(description.leftmost, fieldLeft + 100) << "the Hebrew description starts at its field's left";

    // The model list opens with the Devanagari model over its pop-up, the Thai one below.
    struct Route {
        const char* name;
        std::vector<std::string> keys;
        Spot click;
    };
    const Route routes[] = {
        {"Escape", {"Escape"}, {}},
        {"a click on the Thai item", {}, {modelPopUp.x, modelPopUp.y + rowHeight}},
        {"a click outside the list", {}, background},
    };
    for (const Route& route : routes) {
        user_->click(window_, modelPopUp.x, modelPopUp.y);
        screenshot(std::string("shaped-list-") + caseNameOf(route.name));
        if (!route.keys.empty())
            user_->keys(route.keys);
        else
            user_->click(window_, route.click.x, route.click.y);
        ASSERT_TRUE(running()) << "the model list closed by " << route.name << " ended the browser";
    }
    // Hebrew was chosen for the Hebrew reader; English lies a row above it.
    user_->click(window_, languagePopUp.x, languagePopUp.y);
    user_->click(window_, languagePopUp.x, languagePopUp.y - rowHeight);
    ASSERT_TRUE(running()) << "choosing another language ended the browser";
    user_->click(window_, documentationButton.x, documentationButton.y);
    EXPECT_EQ(disc_->opened(), disc_->documentOf(1, "English")) << "the Thai model's English manual";

    // The About panel is key: Return closes it and presses nothing behind it,
    // though the pointer rests on the main window.
    user_->click(window_, background.x, background.y, 3);
    user_->click(window_, background.x + 10, background.y + rowHeight / 2 + 5);
    ASSERT_EQ(user_->waitForWindows("Docshelf", 2, 10).size(), 2u) << "no About panel";
    user_->moveTo(window_, background.x, background.y);
    user_->keys({"Return"});
    EXPECT_EQ(user_->waitForWindows("Docshelf", 1, 10).size(), 1u) << "Return left the About panel open";
    EXPECT_EQ(disc_->opened(), disc_->documentOf(1, "English")) << "Return pressed the User Guide button";

    browser_->sendSignal(SIGTERM);
    EXPECT_EQ(browser_->waitFor(std::chrono::seconds(10)), 0) << "SIGTERM did not quit as Quit does";
}

}
}
