#include "ChildProcess.h"
#include "XvfbServer.h"

#include <FL/Fl_PNG_Image.H>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Last: its macros (None, Bool) would break GoogleTest's names.
#include <X11/Xlib.h>

namespace docshelf::fltk {
namespace {

using testing::ChildProcess;
using docshelf::testing::XvfbServer;

const std::string disc = DOCSHELF_SAMPLE_DISC;
const std::string program = disc + "/Docshelf.app/Contents/MacOS/Docshelf";
const std::string messageBundle = disc + "/MacResources/CDCommonMessage.bundle";
const std::string screenshotPath = std::string(DOCSHELF_TEST_ARTIFACTS) + "/docshelf-ja.png";

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

bool takeScreenshot(const std::string& display, const std::string& path) {
    std::string command = "xwd -root -silent -display " + display + " | convert xwd:- png:" + path;
    return testing::runBounded(command, std::chrono::seconds(20)) == 0;
}

TEST(JapaneseWindowTest, TheJapaneseDescriptionDrawsInRealGlyphsAndWrapsInsideItsField) {
    if (!XvfbServer::installed())
        GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
    std::filesystem::create_directories(std::filesystem::path(screenshotPath).parent_path());
    const std::string& display = XvfbServer::shared().display();
    ChildProcess browser(program, {"DISPLAY=" + display, "DOCSHELF_MESSAGE_BUNDLE=" + messageBundle,
                                   "LANGUAGE=ja", "LANG=C.UTF-8"});
    ASSERT_TRUE(browser.started());

    TextBand description;
    std::optional<Frame> window;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        ASSERT_FALSE(browser.waitFor(std::chrono::milliseconds(0))) << "the browser ended early";
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        window = browserWindow(display);
        if (!window || !takeScreenshot(display, screenshotPath))
            continue;
        // The band of the description's rows, across the whole window.
        description = textIn(Screen(screenshotPath), *window, fieldTop, fieldBottom);
        if (description.lines > 0)
            break;
    }
    ASSERT_TRUE(window) << "no window on the screen";
    EXPECT_GE(description.lines, 2) << "the description is not wrapped: " << screenshotPath;
    EXPECT_GE(description.leftmost, fieldLeft) << screenshotPath;
    EXPECT_LT(description.rightmost, fieldRight) << "the description runs past its field: " << screenshotPath;
    EXPECT_GE(description.distinctColumns, 20u) << "the glyphs look like empty boxes: " << screenshotPath;

    EXPECT_EQ(XvfbServer::shared().closeTopLevelWindows(), 1);
    EXPECT_EQ(browser.waitFor(std::chrono::seconds(10)), 0);
}

}
}
