#include "CaseName.h"
#include "OnScreenTest.h"
#include "XvfbServer.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FltkWindow.h"
#include "platform/fltk/FontFallback.h"

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
                         [](const auto& info) { return docshelf::testing::caseName(info.param.description); });

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
// What FLTK draws in one font (a menu's items) takes a font with every character.
TEST_F(TextRenderingTest, AMenuTitleInJapaneseGetsOneFontThatHasAllItsCharacters) {
    EXPECT_EQ(FontFallback::singleFont("English", FL_HELVETICA, 13), FL_HELVETICA);
    Fl_Font japanese = FontFallback::singleFont("日本語", FL_HELVETICA, 13);
    EXPECT_NE(japanese, FL_HELVETICA);
    EXPECT_EQ(FontFallback::singleFont("Docshelf について", FL_HELVETICA, 13), japanese) << "Latin letters too";
}

}
}
