#include "FontFallback.h"

#ifdef __APPLE__

namespace docshelf::fltk {

std::vector<FontRun> FontFallback::runs(std::string_view text, Fl_Font base, Fl_Fontsize) {
    if (text.empty())
        return {};
    return {{text, base}};
}

}

#else

#include "platform/foundation/PreferredLanguages.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xft/Xft.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

// The Xft font that fl_font chose last. FLTK exports it, but declares it only for
// its own sources.
extern FL_EXPORT void* fl_xftfont;

namespace docshelf::fltk {

namespace {

// The code point that starts at text[at], and how many bytes it takes. A byte
// that starts no well-formed character stands for itself, one byte long.
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

bool isBold(Fl_Font font) {
    return font < FL_FREE_FONT && (font & FL_BOLD);
}

// The user's first language as fontconfig names languages: "ja", "zh-tw".
std::string preferredLanguage() {
    auto languages = foundation::PreferredLanguages::ofUser();
    if (languages.empty())
        return {};
    std::string language = languages.front();
    for (char& c : language)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return language;
}

// The family of the first font fontconfig offers for the character; empty when
// no installed font has it.
std::string familyFor(char32_t c, bool bold) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern)
        return {};
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    if (bold)
        FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
    if (std::string language = preferredLanguage(); !language.empty())
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    std::string family;
    for (int i = 0; fonts && i < fonts->nfont && family.empty(); ++i) {
        FcCharSet* has = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &has) == FcResultMatch && FcCharSetHasChar(has, c) &&
            FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
            family = reinterpret_cast<const char*>(name);
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    return family;
}

// The FLTK font for a family, registered on first use. FLTK's Xft names begin
// with the style: " " regular, "B" bold.
Fl_Font fltkFont(const std::string& family, bool bold) {
    static std::map<std::string, Fl_Font> registered;
    static Fl_Font next = FL_FREE_FONT;
    std::string name = (bold ? "B" : " ") + family;
    auto found = registered.find(name);
    if (found != registered.end())
        return found->second;
    // FLTK keeps the pointer; the map's key lives as long as the process.
    auto& entry = *registered.emplace(name, next++).first;
    Fl::set_font(entry.second, entry.first.c_str());
    return entry.second;
}

// The font to draw the character in; the base font when it has the glyph, or no
// font has it.
Fl_Font fontFor(char32_t c, Fl_Font base, Fl_Fontsize size) {
    if (c < 0x80)
        return base;
    fl_font(base, size);
    auto* baseFont = static_cast<XftFont*>(fl_xftfont);
    if (!baseFont || XftCharExists(fl_display, baseFont, c))
        return base;
    static std::map<std::pair<char32_t, bool>, Fl_Font> chosen;
    bool bold = isBold(base);
    auto found = chosen.find({c, bold});
    if (found == chosen.end()) {
        std::string family = familyFor(c, bold);
        Fl_Font fallback = family.empty() ? base : fltkFont(family, bold);
        found = chosen.emplace(std::pair{c, bold}, fallback).first;
    }
    return found->second;
}

}

std::vector<FontRun> FontFallback::runs(std::string_view text, Fl_Font base, Fl_Fontsize size) {
    std::vector<FontRun> runs;
    Fl_Font previous = fl_font();
    Fl_Fontsize previousSize = fl_size();
    std::size_t runStart = 0;
    Fl_Font runFont = base;
    for (std::size_t at = 0; at < text.size();) {
        auto [c, length] = decode(text, at);
        // A space stays in the run it follows: every font has one.
        Fl_Font font = (c == ' ' && at > 0) ? runFont : fontFor(c, base, size);
        if (at == 0) {
            runFont = font;
        } else if (font != runFont) {
            runs.push_back({text.substr(runStart, at - runStart), runFont});
            runStart = at;
            runFont = font;
        }
        at += length;
    }
    if (runStart < text.size())
        runs.push_back({text.substr(runStart), runFont});
    if (previousSize > 0)
        fl_font(previous, previousSize);
    return runs;
}

}

#endif
