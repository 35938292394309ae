#include "CaseName.h"
#include "OnScreenTest.h"
#include "XvfbServer.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FltkGraphicsContext.h"
#include "platform/fltk/FltkWindow.h"
#include "platform/fltk/FontFallback.h"
#include "platform/fltk/WindowPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Last: X11's macros (None, Bool) would break GoogleTest's names.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

namespace docshelf::fltk {
namespace {

using docshelf::testing::XvfbServer;

// Where ink lies in a picture: the rows and columns that hold a dark pixel.
struct Ink {
    int rows = 0;
    int columns = 0;
    int left = -1;
    int right = -1;
    int highestColumn = -1; // where the ink reaches highest
    int gaps = 0;           // inkless columns between left and right
    int split = -1;         // between two letters: in the widest gap, else halfway
};

// The window's pixels once it is on the screen and has drawn: its white
// background shows in its corner.
Ink inkIn(FltkWindow& window) {
    int w = window.w();
    int h = window.h();
    uchar* pixels = nullptr;
    for (int attempt = 0; attempt < 50; ++attempt) {
        Fl::wait(0.05);
        window.redraw();
        Fl::flush();
        window.make_current();
        delete[] pixels;
        pixels = fl_read_image(nullptr, 0, 0, w, h);
        if (pixels && pixels[0] == 255 && pixels[1] == 255 && pixels[2] == 255)
            break;
    }
    Ink ink;
    if (!pixels)
        return ink;
    std::vector<bool> columns(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        bool row = false;
        for (int x = 0; x < w; ++x) {
            const uchar* p = pixels + 3 * (y * w + x);
            if (p[0] + p[1] + p[2] < 3 * 100) {
                row = true;
                if (ink.highestColumn < 0)
                    ink.highestColumn = x;
                columns[static_cast<std::size_t>(x)] = true;
            }
        }
        ink.rows += row;
    }
    for (int x = 0; x < w; ++x) {
        if (!columns[static_cast<std::size_t>(x)])
            continue;
        ++ink.columns;
        if (ink.left < 0)
            ink.left = x;
        ink.right = x + 1;
    }
    ink.gaps = ink.right - ink.left - ink.columns;
    ink.split = (ink.left + ink.right) / 2;
    for (int x = ink.left, widest = 0; x >= 0 && x < ink.right;) {
        int end = x;
        while (end < ink.right && !columns[static_cast<std::size_t>(end)])
            ++end;
        if (end - x > widest) {
            widest = end - x;
            ink.split = (x + end) / 2;
        }
        x = end + 1;
    }
    delete[] pixels;
    return ink;
}

class TextRenderingTest : public testing::OnScreenTest {
protected:
    // A window that shows one plain text, left-aligned in a field at (20, 20).
    FltkWindow& show(const std::string& text, float fontSize) {
        window = appkit::Window::initWithContentRect({{100, 100}, {400, 120}});
        field = appkit::TextField::initWithFrame({{20, 20}, {360, 80}});
        field->setBezeled(false);
        field->setDrawsBackground(false);
        field->setAlignment(appkit::TextAlignment::Left);
        field->setFontSize(fontSize);
        field->setStringValue(text);
        window->contentView()->addSubview(field);
        appkit::Application::shared().addWindow(window);
        window->makeKeyAndOrderFront(nullptr);
        backend->synchronize(appkit::Application::shared());
        return *backend->windowFor(*window);
    }

    std::shared_ptr<appkit::Window> window;
    std::shared_ptr<appkit::TextField> field;
};

struct GlyphCase {
    const char* description;
    const char* text;
    // Which way the character's one stroke runs.
    bool horizontal;
};

void PrintTo(const GlyphCase& c, std::ostream* out) {
    *out << c.description;
}

class GlyphShapeTest : public TextRenderingTest, public ::testing::WithParamInterface<GlyphCase> {};

// A missing glyph shows as a box, as tall as it is wide; the real glyph of these
// characters is a single stroke.
TEST_P(GlyphShapeTest, AKanjiOfOneStrokeDrawsAsThatStrokeAndNotAsABox) {
    const auto& c = GetParam();
    Ink ink = inkIn(show(c.text, 40));
    int across = c.horizontal ? ink.columns : ink.rows;
    int thick = c.horizontal ? ink.rows : ink.columns;
    EXPECT_GE(across, 20) << c.description << ": nothing drawn";
    EXPECT_LE(thick, 8) << c.description << ": drawn as a box, not a stroke";
}

INSTANTIATE_TEST_SUITE_P(Strokes, GlyphShapeTest,
                         ::testing::Values(GlyphCase{"one (U+4E00), a horizontal stroke", "一", true},
                                           GlyphCase{"line (U+4E28), a vertical stroke", "丨", false}),
                         [](const auto& testCase) { return docshelf::testing::caseName(testCase.param.description); });

TEST_F(TextRenderingTest, AFittedJapaneseTextTakesOnScreenTheWidthItWasMeasuredAt) {
    FltkWindow& shown = show("言語を選んで Docshelf", 13);
    field->sizeToFit();
    backend->synchronize(appkit::Application::shared());
    float measured = field->frame().size.width;
    Ink ink = inkIn(shown);
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 25) << "the first glyph's side bearing is small";
    EXPECT_NEAR(ink.right - 20, measured, 3) << "measured " << measured << ", drawn to " << ink.right;
}
struct ScriptCase {
    const char* description;
    const char* text;      // in logical order
    bool tallestOnTheLeft; // where the letter that rises highest shows
    bool joined;           // one stroke from end to end
};

void PrintTo(const ScriptCase& c, std::ostream* out) {
    *out << c.description;
}

class RightToLeftTest : public TextRenderingTest, public ::testing::WithParamInterface<ScriptCase> {};

// Drawn in logical order, the first letter would show on the left, and Arabic
// letters in their separate forms with a gap between them.
TEST_P(RightToLeftTest, ReadsRightToLeftWithArabicLettersJoined) {
    const auto& c = GetParam();
    Ink ink = inkIn(show(c.text, 40));
    ASSERT_GT(ink.columns, 10) << c.description << ": nothing drawn";
    bool onTheLeft = ink.highestColumn < ink.split;
    EXPECT_EQ(onTheLeft, c.tallestOnTheLeft) << c.description << ": highest ink at column " << ink.highestColumn
                                             << " of " << ink.left << " to " << ink.right;
    if (c.joined) {
        EXPECT_EQ(ink.gaps, 0) << c.description << ": letters drawn apart";
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, RightToLeftTest,
                         ::testing::Values(
                             // Lamed rises above the other letters; it is the first, so it shows on the right.
                             ScriptCase{"Hebrew lamed vav", "\xD7\x9C\xD7\x95", false, false},
                             // Beh in its initial form joins the tall alef, which shows on the left.
                             ScriptCase{"Arabic beh alef", "\xD8\xA8\xD8\xA7", true, true}),
                         [](const auto& testCase) { return docshelf::testing::caseName(testCase.param.description); });

struct AlignmentCase {
    const char* description;
    const char* text;
    appkit::TextAlignment alignment;
    bool wraps;
    bool atTheRight; // the text ends at the box's right edge; else it starts at its left
};

void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.description;
}

class NaturalAlignmentTest : public TextRenderingTest, public ::testing::WithParamInterface<AlignmentCase> {};

// A 400 point box at x 20: where the text lands, as the window draws it and render
// judges it.
TEST_P(NaturalAlignmentTest, NaturalTextSitsOnItsParagraphsOwnSide) {
    const auto& c = GetParam();
    appkit::Rect box{{20, 0}, {400, 60}};
    appkit::Rect ink = WindowPicture::textExtent(c.text, box, {13}, c.alignment, c.wraps);
    ASSERT_GT(ink.size.width, 10) << c.description << ": nothing placed";
    ASSERT_LT(ink.size.width, 300) << c.description << ": the text fills the box";
    if (c.atTheRight) {
        EXPECT_NEAR(ink.origin.x + ink.size.width, 420, 1) << c.description;
    } else {
        EXPECT_NEAR(ink.origin.x, 20, 1) << c.description;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, NaturalAlignmentTest,
    ::testing::Values(
        // "The manual is on the disc."
        AlignmentCase{"Hebrew natural", "\u05d4\u05de\u05d3\u05e8\u05d9\u05da \u05e0\u05de\u05e6\u05d0.",
                      appkit::TextAlignment::Natural, true, true},
        AlignmentCase{"Arabic natural on one line",
                      "\u062f\u0644\u064a\u0644 \u0627\u0644\u0645\u0633\u062a\u062e\u062f\u0645",
                      appkit::TextAlignment::Natural, false, true},
        AlignmentCase{"English natural", "The manual is on the disc.", appkit::TextAlignment::Natural, true, false},
        AlignmentCase{"Hebrew after an English word is English", "Docshelf \u05d1\u05e2\u05d1\u05e8\u05d9\u05ea",
                      appkit::TextAlignment::Natural, false, false},
        AlignmentCase{"Hebrew after digits is Hebrew", "2026 \u05d1\u05e2\u05d1\u05e8\u05d9\u05ea",
                      appkit::TextAlignment::Natural, false, true},
        AlignmentCase{"Hebrew aligned left stays left", "\u05d1\u05e2\u05d1\u05e8\u05d9\u05ea",
                      appkit::TextAlignment::Left, false, false}),
    [](const auto& alignment) { return docshelf::testing::caseName(alignment.param.description); });

// X measures text in 16-bit units; a name 9,363 characters long is 65,541 points
// wide at 13 points and must not come out as a few points.
TEST_F(TextRenderingTest, AVeryLongNameIsMeasuredAtItsFullWidth) {
    std::string name(9363, 'W');
    float one = FltkGraphicsContext::textWidth("W", FL_HELVETICA, 13);
    float all = FltkGraphicsContext::textWidth(name, FL_HELVETICA, 13);
    EXPECT_GT(all, 65536.0f);
    EXPECT_NEAR(all, 9363 * one, 1.0f);
    appkit::Rect extent =
        WindowPicture::textExtent(name, {{0, 0}, {300, 20}}, {13}, appkit::TextAlignment::Left, false);
    EXPECT_NEAR(extent.size.width, all, 1.0f) << "render sees it does not fit";
}

}
}
