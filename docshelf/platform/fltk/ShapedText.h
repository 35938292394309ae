#pragma once

#include <FL/Enumerations.H>

#include <string_view>

namespace docshelf::fltk {

// One line of text measured and drawn the same way, in any script and of any
// length. Text in scripts that need it (Arabic, Hebrew, the Indic scripts, Thai
// and others) is put in display order by the Unicode bidirectional algorithm
// (fribidi) and shaped (HarfBuzz), so that Arabic reads right to left with its
// letters joined, and is measured from the same shaping; other text goes to
// FLTK as it is. Characters that the base font lacks come from the fonts that
// FontFallback picks.
//
// Widths are added up in double precision from pieces short enough for the X
// server's 16-bit metrics, and only the pieces that reach into the clip box are
// drawn, so a text tens of thousands of points wide is measured right and
// draws no coordinate that X would wrap.
//
//   width("ab", …) == width("a", …) + width("b", …) for Latin text
//   "שלום" is drawn with ם leftmost; "سلام" with its letters in their joined forms
class ShapedText {
public:
    struct Clip {
        int x = 0;
        int w = 0;
    };

    // Needs the display to be open.
    static double width(std::string_view line, Fl_Font base, Fl_Fontsize size);
    // Draws the line with its left end at x and its baseline at y, in fl_color,
    // only where it reaches into [clip.x, clip.x + clip.w).
    static void draw(std::string_view line, Fl_Font base, Fl_Fontsize size, double x, int y, Clip clip);
    // Whether the line holds characters that need ordering or shaping.
    static bool needsShaping(std::string_view line);
    // Whether the text is a right-to-left paragraph: its first letter of a
    // strong direction is Hebrew, Arabic or another right-to-left script.
    //   "שלום, Docshelf" → true; "Docshelf: שלום" → false; "123" → false
    static bool isRightToLeft(std::string_view text);
};

}
