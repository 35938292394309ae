#pragma once

#import <AppKit/AppKit.h>

#include <string>
#include <string_view>

namespace docshelf::cocoa {

// The font that draws a text in its own glyphs. AppKit on a Mac substitutes a
// font for every character the system font lacks, so there it is the system
// font. GNUstep substitutes none: a character the font lacks is drawn as "?",
// so there the text gets the installed font that fontconfig offers for the
// characters the system font lacks, preferring the user's language (kanji from
// a Japanese font for a Japanese user).
class NativeFonts {
public:
    static NSFont* fontFor(std::string_view text, float size, bool bold);
    // The PostScript name of the font chosen for characters the system font lacks;
    // empty when the system font has them all (always on a Mac).
    static std::string substituteFor(std::string_view text, bool bold);
    // The PostScript name of a font for the user's language when the default
    // sans-serif font lacks some of its characters; empty otherwise (always on
    // a Mac). For GNUstep's menu window, which takes one font from its defaults
    // before any text is known.
    static std::string forUserLanguage();
};

}
