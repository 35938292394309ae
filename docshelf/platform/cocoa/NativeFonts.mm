#include "NativeFonts.h"

#ifdef GNUSTEP
#include "platform/foundation/PreferredLanguages.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <utility>
#include <vector>
#endif

namespace docshelf::cocoa {

namespace {

NSFont* systemFont(float size, bool bold) {
    return bold ? [NSFont boldSystemFontOfSize:size] : [NSFont systemFontOfSize:size];
}

#ifdef GNUSTEP

// The code points of UTF-8 text; a byte that starts no well-formed character stands for itself.
std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (std::size_t at = 0; at < text.size();) {
        auto first = static_cast<unsigned char>(text[at]);
        std::size_t length = first < 0x80           ? 1
                             : (first >> 5) == 0x6  ? 2
                             : (first >> 4) == 0xe  ? 3
                             : (first >> 3) == 0x1e ? 4
                                                    : 0;
        char32_t c = first;
        if (length > 1 && at + length <= text.size()) {
            c = first & (0x7fu >> length);
            for (std::size_t i = 1; i < length && length > 1; ++i) {
                auto next = static_cast<unsigned char>(text[at + i]);
                if ((next & 0xc0) != 0x80)
                    length = 1;
                c = c << 6 | (next & 0x3fu);
            }
        }
        if (length <= 1) {
            c = first;
            length = 1;
        }
        points.push_back(c);
        at += length;
    }
    return points;
}

// The user's first language as fontconfig names languages ("ja", "zh-tw").
std::string preferredLanguage() {
    auto languages = foundation::PreferredLanguages::ofUser();
    if (languages.empty())
        return {};
    std::string language = languages.front();
    for (char& c : language)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return language;
}

// The PostScript name of the first sans-serif font that has every character,
// or else the one with the most of them; empty when no font has any.
std::string postScriptNameFor(const std::vector<char32_t>& missing, bool bold) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    if (!pattern)
        return {};
    FcCharSet* wanted = FcCharSetCreate();
    for (char32_t c : missing)
        FcCharSetAddChar(wanted, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    if (std::string language = preferredLanguage(); !language.empty())
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    std::string best;
    FcChar32 bestCount = 0;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcCharSet* has = nullptr;
        FcChar8* name = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch ||
            FcPatternGetString(fonts->fonts[i], FC_POSTSCRIPT_NAME, 0, &name) != FcResultMatch)
            continue;
        FcChar32 count = FcCharSetIntersectCount(has, wanted);
        if (count > bestCount) {
            best = reinterpret_cast<const char*>(name);
            bestCount = count;
        }
        if (count == FcCharSetCount(wanted))
            break;
    }
    FcCharSetDestroy(wanted);
    if (fonts)
        FcFontSetDestroy(fonts);
    return best;
}

#endif

}

std::string NativeFonts::substituteFor(std::string_view text, bool bold) {
#ifdef GNUSTEP
    NSCharacterSet* covered = [systemFont(12, bold) coveredCharacterSet];
    std::vector<char32_t> missing;
    for (char32_t c : codePoints(text))
        if (c >= 0x80 && ![covered longCharacterIsMember:static_cast<UTF32Char>(c)])
            missing.push_back(c);
    if (missing.empty())
        return {};
    // Asked for every text on every synchronization: remembered per text.
    static std::map<std::pair<std::string, bool>, std::string> chosen;
    auto key = std::make_pair(std::string(text), bold);
    auto found = chosen.find(key);
    if (found == chosen.end())
        found = chosen.emplace(key, postScriptNameFor(missing, bold)).first;
    return found->second;
#else
    (void)text;
    (void)bold;
    return {};
#endif
}

std::string NativeFonts::forUserLanguage() {
#ifdef GNUSTEP
    std::string language = preferredLanguage();
    const FcCharSet* needed =
        language.empty() ? nullptr : FcLangGetCharSet(reinterpret_cast<const FcChar8*>(language.c_str()));
    if (!needed)
        return {};
    auto match = [](const char* name) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        return found;
    };
    std::string name;
    if (FcPattern* plain = match("sans-serif")) {
        FcCharSet* has = nullptr;
        bool covered =
            FcPatternGetCharSet(plain, FC_CHARSET, 0, &has) == FcResultMatch && FcCharSetIsSubset(needed, has);
        FcPatternDestroy(plain);
        if (covered)
            return {};
    }
    if (FcPattern* found = match(("sans-serif:lang=" + language).c_str())) {
        FcChar8* postScript = nullptr;
        if (FcPatternGetString(found, FC_POSTSCRIPT_NAME, 0, &postScript) == FcResultMatch)
            name = reinterpret_cast<const char*>(postScript);
        FcPatternDestroy(found);
    }
    return name;
#else
    return {};
#endif
}

NSFont* NativeFonts::fontFor(std::string_view text, float size, bool bold) {
    std::string name = substituteFor(text, bold);
    if (name.empty())
        return systemFont(size, bold);
    NSFont* font = [NSFont fontWithName:[NSString stringWithUTF8String:name.c_str()] size:size];
    return font ? font : systemFont(size, bold);
}

}
