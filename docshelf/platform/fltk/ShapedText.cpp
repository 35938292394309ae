#include "ShapedText.h"

#include "FontFallback.h"

#include <FL/fl_draw.H>

#include <cmath>
#include <utility>
#include <vector>

namespace docshelf::fltk {

namespace {

// What FLTK measures or draws at once: the X server's text metrics are 16-bit,
// so a piece must stay well under 32,767 pixels wide even at large sizes.
constexpr std::size_t codePointsPerPiece = 32;

// The byte where each piece of at most codePointsPerPiece code points ends.
template <class Visit>
void forEachPiece(std::string_view text, Visit visit) {
    std::size_t start = 0;
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        bool continuation = (static_cast<unsigned char>(text[at]) & 0xc0) == 0x80;
        if (!continuation && count == codePointsPerPiece) {
            visit(text.substr(start, at - start));
            start = at;
            count = 0;
        }
        if (!continuation)
            ++count;
    }
    if (start < text.size())
        visit(text.substr(start));
}

double pieceWidth(std::string_view piece) {
    return fl_width(piece.data(), static_cast<int>(piece.size()));
}

bool reaches(double x, double width, ShapedText::Clip clip) {
    return x + width > clip.x && x < static_cast<double>(clip.x) + clip.w;
}

double plainWidth(std::string_view line, Fl_Font base, Fl_Fontsize size) {
    double width = 0;
    for (const auto& run : FontFallback::runs(line, base, size)) {
        fl_font(run.font, size);
        forEachPiece(run.text, [&](std::string_view piece) { width += pieceWidth(piece); });
    }
    return width;
}

void drawPlain(std::string_view line, Fl_Font base, Fl_Fontsize size, double x, int y, ShapedText::Clip clip) {
    for (const auto& run : FontFallback::runs(line, base, size)) {
        fl_font(run.font, size);
        forEachPiece(run.text, [&](std::string_view piece) {
            double width = pieceWidth(piece);
            if (reaches(x, width, clip))
                fl_draw(piece.data(), static_cast<int>(piece.size()), static_cast<int>(std::lround(x)), y);
            x += width;
        });
    }
}

// The code point that starts at text[at] and its length; a malformed byte stands for itself.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char first = byte(at);
    std::size_t length = first < 0x80           ? 1
                         : (first >> 5) == 0x6  ? 2
                         : (first >> 4) == 0xe  ? 3
                         : (first >> 3) == 0x1e ? 4
                                                : 0;
    if (length <= 1 || at + length > text.size())
        return {first, 1};
    char32_t c = first & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80)
            return {first, 1};
        c = c << 6 | (byte(at + i) & 0x3f);
    }
    return {c, length};
}

// Right-to-left scripts, scripts whose letters change shape or order (Indic,
// Thai and their neighbours) and the bidirectional controls.
bool needsShapingChar(char32_t c) {
    return (c >= 0x0590 && c <= 0x0FFF) || (c >= 0x1000 && c <= 0x109F) || (c >= 0x1780 && c <= 0x17FF) ||
           (c >= 0x200E && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
           (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
           (c >= 0x1E800 && c <= 0x1EFFF);
}

}

bool ShapedText::needsShaping(std::string_view line) {
    for (std::size_t at = 0; at < line.size();) {
        auto [c, length] = decode(line, at);
        if (needsShapingChar(c))
            return true;
        at += length;
    }
    return false;
}

}

#ifdef __APPLE__

// The system's text engine orders and shapes every text FLTK draws there.
namespace docshelf::fltk {

double ShapedText::width(std::string_view line, Fl_Font base, Fl_Fontsize size) {
    return plainWidth(line, base, size);
}

void ShapedText::draw(std::string_view line, Fl_Font base, Fl_Fontsize size, double x, int y, Clip clip) {
    drawPlain(line, base, size, x, y, clip);
}

bool ShapedText::isRightToLeft(std::string_view) {
    // FLTK draws only the tools' pictures there, which follow the left-to-right layout.
    return false;
}

}

#else

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xft/Xft.h>
#include <fribidi.h>
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <numeric>

// The Xft font that fl_font chose last (see FontFallback).
extern FL_EXPORT void* fl_xftfont;

namespace docshelf::fltk {

namespace {

struct Glyph {
    Fl_Font font;
    unsigned index; // in the font
    double x;       // from the line's left end
    double y;       // from the baseline, down
};

struct Shaped {
    std::vector<Glyph> glyphs; // left to right
    double width = 0;
};

// A stretch of the line in one font and at one embedding level.
struct Item {
    std::size_t start;
    std::size_t end;
    FriBidiLevel level;
    Fl_Font font;
};

// Items in display order: from the highest level down to the lowest odd one,
// every sequence at that level or above turns round (rule L2).
std::vector<std::size_t> displayOrder(const std::vector<Item>& items) {
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    FriBidiLevel highest = 0;
    FriBidiLevel lowestOdd = FRIBIDI_BIDI_MAX_EXPLICIT_LEVEL + 2;
    for (const auto& item : items) {
        highest = std::max(highest, item.level);
        if (item.level % 2)
            lowestOdd = std::min(lowestOdd, item.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        for (std::size_t i = 0; i < order.size();) {
            if (items[order[i]].level < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < order.size() && items[order[j]].level >= level)
                ++j;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                         order.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
    }
    return order;
}

Shaped shape(std::string_view line, Fl_Font base, Fl_Fontsize size) {
    std::vector<FriBidiChar> text;
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < line.size();) {
        auto [c, length] = decode(line, at);
        text.push_back(c);
        starts.push_back(at);
        at += length;
    }
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    Shaped shaped;
    if (n == 0)
        return shaped;

    // The font of each character, from the runs FontFallback cut.
    std::vector<Fl_Font> fonts(text.size(), base);
    auto runs = FontFallback::runs(line, base, size);
    for (std::size_t i = 0, r = 0; i < text.size() && !runs.empty(); ++i) {
        while (r + 1 < runs.size() && starts[i] >= static_cast<std::size_t>(runs[r + 1].text.data() - line.data()))
            ++r;
        fonts[i] = runs[r].font;
    }

    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size(), 0);
    fribidi_get_bidi_types(text.data(), n, types.data());
    fribidi_get_bracket_types(text.data(), n, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()))
        std::fill(levels.begin(), levels.end(), 0);

    std::vector<Item> items;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (items.empty() || items.back().level != levels[i] || items.back().font != fonts[i])
            items.push_back({i, i, levels[i], fonts[i]});
        items.back().end = i + 1;
    }

    hb_buffer_t* buffer = hb_buffer_create();
    double pen = 0;
    for (std::size_t index : displayOrder(items)) {
        const Item& item = items[index];
        hb_buffer_clear_contents(buffer);
        // The whole line as context, so that letters join across a change of font.
        hb_buffer_add_utf32(buffer, text.data(), n, static_cast<unsigned>(item.start),
                            static_cast<int>(item.end - item.start));
        hb_buffer_set_direction(buffer, item.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_guess_segment_properties(buffer);
        fl_font(item.font, size);
        auto* xft = static_cast<XftFont*>(fl_xftfont);
        FT_Face face = xft ? XftLockFace(xft) : nullptr;
        if (!face)
            continue;
        hb_font_t* font = hb_ft_font_create(face, nullptr);
        hb_shape(font, buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
        // HarfBuzz gives a right-to-left item's glyphs already left to right.
        for (unsigned i = 0; i < count; ++i) {
            shaped.glyphs.push_back(
                {item.font, info[i].codepoint, pen + position[i].x_offset / 64.0, -position[i].y_offset / 64.0});
            pen += position[i].x_advance / 64.0;
        }
        hb_font_destroy(font);
        XftUnlockFace(xft);
    }
    hb_buffer_destroy(buffer);
    shaped.width = pen;
    return shaped;
}

// An Xft drawable on what FLTK draws into now (a window, its back buffer or an
// off-screen picture), made for one line and freed with it. A drawable kept from
// one line to the next outlived the windows it was made on: a list's window
// goes when the list closes, the X server frees the window's picture with it,
// and moving the kept drawable to the next window then freed that picture a
// second time, which ended the program (RenderBadPicture).
class LineDraw {
public:
    LineDraw() : draw_(XftDrawCreate(fl_display, fl_window, fl_visual->visual, fl_colormap)) {}
    ~LineDraw() {
        if (draw_)
            XftDrawDestroy(draw_);
    }
    LineDraw(const LineDraw&) = delete;
    LineDraw& operator=(const LineDraw&) = delete;
    XftDraw* get() const { return draw_; }

private:
    XftDraw* draw_;
};

void drawShaped(const Shaped& shaped, Fl_Fontsize size, double x, int y, ShapedText::Clip clip) {
    Region region = fl_clip_region();
    if (region && XEmptyRegion(region))
        return;
    if (!fl_window)
        return;
    LineDraw line;
    XftDraw* draw = line.get();
    if (!draw)
        return;
    XftDrawSetClip(draw, region);
    Fl_Color current = fl_color();
    uchar r = 0, g = 0, b = 0;
    Fl::get_color(current, r, g, b);
    XftColor color{};
    color.pixel = fl_xpixel(current);
    color.color = {static_cast<unsigned short>(r * 0x101), static_cast<unsigned short>(g * 0x101),
                   static_cast<unsigned short>(b * 0x101), 0xffff};

    // A glyph is drawn when its origin lies within a few ems of the clip box.
    double margin = 4.0 * size + 16;
    std::vector<XftGlyphSpec> specs;
    Fl_Font batchFont = -1;
    auto flush = [&] {
        if (specs.empty())
            return;
        fl_font(batchFont, size);
        if (auto* xft = static_cast<XftFont*>(fl_xftfont))
            XftDrawGlyphSpec(draw, &color, xft, specs.data(), static_cast<int>(specs.size()));
        specs.clear();
    };
    for (const Glyph& glyph : shaped.glyphs) {
        double gx = x + glyph.x;
        if (gx < clip.x - margin || gx > clip.x + clip.w + margin)
            continue;
        if (glyph.font != batchFont)
            flush();
        batchFont = glyph.font;
        specs.push_back(
            {glyph.index, static_cast<short>(std::lround(gx)), static_cast<short>(y + std::lround(glyph.y))});
    }
    flush();
}

}

double ShapedText::width(std::string_view line, Fl_Font base, Fl_Fontsize size) {
    if (!needsShaping(line))
        return plainWidth(line, base, size);
    Fl_Font previous = fl_font();
    Fl_Fontsize previousSize = fl_size();
    double width = shape(line, base, size).width;
    if (previousSize > 0)
        fl_font(previous, previousSize);
    return width;
}

bool ShapedText::isRightToLeft(std::string_view text) {
    if (!needsShaping(text))
        return false;
    for (std::size_t at = 0; at < text.size();) {
        auto [c, length] = decode(text, at);
        FriBidiCharType type = fribidi_get_bidi_type(c);
        if (FRIBIDI_IS_LETTER(type) && FRIBIDI_IS_STRONG(type))
            return FRIBIDI_IS_RTL(type);
        at += length;
    }
    return false;
}

void ShapedText::draw(std::string_view line, Fl_Font base, Fl_Fontsize size, double x, int y, Clip clip) {
    if (!needsShaping(line)) {
        drawPlain(line, base, size, x, y, clip);
        return;
    }
    drawShaped(shape(line, base, size), size, x, y, clip);
}

}

#endif
