#include "ChildProcess.h"
#include "XvfbServer.h"

#include <FL/Fl_PNG_Image.H>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <thread>

namespace docshelf::fltk {
namespace {

using docshelf::testing::ChildProcess;
using docshelf::testing::XvfbServer;

const std::string disc = DOCSHELF_SAMPLE_DISC;
const std::string program = disc + "/Docshelf.app/Contents/MacOS/Docshelf";
const std::string messageBundle = disc + "/MacResources/CDCommonMessage.bundle";
const std::string background = disc + "/Docshelf.app/Contents/Resources/Background.png";
const std::string screenshotPath = DOCSHELF_SCREENSHOT;

using Colours = std::set<std::uint32_t>;

// The colours of a picture's pixels, every step-th one in each direction.
Colours coloursOf(const Fl_PNG_Image& image, int step) {
    Colours colours;
    if (image.w() <= 0 || image.h() <= 0 || image.d() < 3)
        return colours;
    const auto* pixels = reinterpret_cast<const unsigned char*>(image.data()[0]);
    int line = image.ld() ? image.ld() : image.w() * image.d();
    for (int y = 0; y < image.h(); y += step)
        for (int x = 0; x < image.w(); x += step) {
            const unsigned char* p = pixels + y * line + x * image.d();
            colours.insert(std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
        }
    return colours;
}

bool takeScreenshot(const std::string& display, const std::string& path) {
    std::string command = "xwd -root -silent -display " + display + " | convert xwd:- png:" + path;
    return testing::runBounded(command, std::chrono::seconds(20)) == 0;
}

// How many of the picture's colours the screenshot shows, as a share.
double shareShown(const Colours& picture, const Colours& screen) {
    if (picture.empty())
        return 0;
    std::size_t shown = 0;
    for (auto colour : picture)
        shown += screen.count(colour);
    return double(shown) / double(picture.size());
}

TEST(DocshelfWindowTest, TheBrowserShowsItsWindowWithTheBackgroundPicture) {
    if (!XvfbServer::installed())
        GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
    Fl_PNG_Image picture(background.c_str());
    Colours pictureColours = coloursOf(picture, 8);
    ASSERT_GT(pictureColours.size(), 10u) << background;

    ChildProcess browser(program,
                         {"DISPLAY=" + XvfbServer::shared().display(), "DOCSHELF_MESSAGE_BUNDLE=" + messageBundle});
    ASSERT_TRUE(browser.started());

    // The window takes a moment to come up; look until it does, for a bounded time.
    Colours screen;
    double share = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        ASSERT_FALSE(browser.waitFor(std::chrono::milliseconds(0))) << "the browser ended early";
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (!takeScreenshot(XvfbServer::shared().display(), screenshotPath))
            continue;
        screen = coloursOf(Fl_PNG_Image(screenshotPath.c_str()), 1);
        share = shareShown(pictureColours, screen);
        if (screen.size() > 50 && share > 0.5)
            break;
    }
    EXPECT_GT(screen.size(), 50u) << "the screen is nearly blank: " << screenshotPath;
    EXPECT_GT(share, 0.5) << "the background picture is missing: " << screenshotPath;

    // The close box closes the last window, and the browser ends as its delegate asks.
    EXPECT_EQ(XvfbServer::shared().closeTopLevelWindows(), 1);
    EXPECT_EQ(browser.waitFor(std::chrono::seconds(10)), 0) << "the close box did not end the browser";
}

struct HeadlessCase {
    const char* name;
    std::string display; // a bare "DISPLAY" removes it
};

void PrintTo(const HeadlessCase& c, std::ostream* out) {
    *out << c.name;
}

class DocshelfHeadlessTest : public ::testing::TestWithParam<HeadlessCase> {};

TEST_P(DocshelfHeadlessTest, WithoutADisplayTheBrowserSetsUpAndEnds) {
    ChildProcess browser(program, {GetParam().display, "DOCSHELF_MESSAGE_BUNDLE=" + messageBundle});
    ASSERT_TRUE(browser.started()) << GetParam().name;
    EXPECT_EQ(browser.waitFor(std::chrono::seconds(20)), 0) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Displays, DocshelfHeadlessTest,
                         ::testing::Values(HeadlessCase{"no_display", "DISPLAY"},
                                           HeadlessCase{"empty_display", "DISPLAY="},
                                           HeadlessCase{"unreachable_display", "DISPLAY=:987"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}
}
