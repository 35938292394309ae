#include "SuppliesCopyName.h"

#include "platform/foundation/Utf8.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace docshelf::press {

namespace {

// Code points of Windows-1252's 0x80-0x9F row; the rest of it is Latin-1.
constexpr char32_t windows1252Row8[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
                                        0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool inWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return true;
    for (char32_t special : windows1252Row8)
        if (c == special)
            return true;
    return false;
}

// The code points of a UTF-8 text; nullopt when it is not well formed
// (overlong forms and surrogates included).
std::optional<std::vector<char32_t>> decode(std::string_view text) {
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < text.size();) {
        auto c = foundation::decodeUtf8(text, i);
        if (!c)
            return std::nullopt;
        result.push_back(*c);
    }
    return result;
}

}

SuppliesCopyName SuppliesCopyName::forModel(std::string_view model) {
    SuppliesCopyName name;
    auto characters = decode(model);
    if (model.empty())
        return name;
    if (!characters) {
        name.outcome_ = Outcome::OutsideCodePage;
        name.detail_ = "bytes that are not UTF-8";
        return name;
    }
    for (char32_t c : *characters) {
        if (c == '.') {
            name.outcome_ = Outcome::Dot;
            return name;
        }
        if (c < 0x20 || c == 0x7F || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos) {
            name.outcome_ = Outcome::ReservedCharacter;
            name.detail_ =
                c < 0x20 || c == 0x7F ? "a control character" : "\"" + std::string(1, static_cast<char>(c)) + "\"";
            return name;
        }
        if (!inWindows1252(c)) {
            name.outcome_ = Outcome::OutsideCodePage;
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            name.detail_ = code;
            return name;
        }
    }
    if (characters->size() > maximumModel) {
        name.outcome_ = Outcome::TooLong;
        name.detail_ = std::to_string(characters->size());
        return name;
    }
    std::string fileName = "vps_" + std::string(model) + ".exe";
    if (characters->size() + 8 > maximumJolietName) {
        name.outcome_ = Outcome::TooLongForDisc;
        name.detail_ = std::to_string(characters->size() + 8);
        return name;
    }
    name.outcome_ = Outcome::Named;
    name.fileName_ = std::move(fileName);
    return name;
}

std::string SuppliesCopyName::reason() const {
    switch (outcome_) {
    case Outcome::Named:
        return "";
    case Outcome::Empty:
        return "an empty name gives the launcher no model";
    case Outcome::Dot:
        return "it holds a dot, and the launcher stops the model name at the first one";
    case Outcome::ReservedCharacter:
        return "it holds " + detail_ + ", which a Windows file name cannot";
    case Outcome::OutsideCodePage:
        return "it holds " + detail_ + ", outside the Windows code page (Windows-1252) the launcher reads its name in";
    case Outcome::TooLong:
        return "it has " + detail_ + " characters; the launcher holds at most " + std::to_string(maximumModel);
    case Outcome::TooLongForDisc:
        return "its copy's file name would have " + detail_ + " characters; a disc's Joliet names hold at most 103";
    }
    return "";
}

}
