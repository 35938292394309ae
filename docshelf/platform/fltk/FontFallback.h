#pragma once

#include <FL/Enumerations.H>

#include <string_view>
#include <vector>

namespace docshelf::fltk {

// A piece of text and the font that has all of its characters.
struct FontRun {
    std::string_view text;
    Fl_Font font = FL_HELVETICA;
};

// Picks fonts for the characters that a font lacks. FLTK on X draws a text in one
// Xft font and shows an empty box for every character that font has no glyph for;
// here each such character goes to the first font that fontconfig offers for it,
// preferring the user's language (Japanese kanji in a Japanese font). On a Mac the
// system finds glyphs itself and the text stays in one run.
//
//   runs("言語: English", FL_HELVETICA, 13) → "言語" in Noto Sans CJK JP,
//                                            ": English" in FL_HELVETICA
//   runs("Model", FL_HELVETICA, 13)        → "Model" in FL_HELVETICA
//
// Needs the display to be open. Fonts found are registered with FLTK once, after
// FL_FREE_FONT, and kept for the process.
class FontFallback {
public:
    static std::vector<FontRun> runs(std::string_view text, Fl_Font base, Fl_Fontsize size);
};

}
