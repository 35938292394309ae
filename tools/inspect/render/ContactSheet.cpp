#include "inspect/render/ContactSheet.h"

#include <cstdio>

namespace docshelf::inspect {

namespace {

// Bytes of one name in a file name, so that three stay well within the 255 of most file systems.
constexpr std::size_t longestPart = 64;

std::string safePart(std::string_view name) {
    std::string safe;
    for (char c : name) {
        // Cut only before a character's first byte.
        if (safe.size() >= longestPart && (static_cast<unsigned char>(c) & 0xC0) != 0x80)
            break;
        auto byte = static_cast<unsigned char>(c);
        bool kept = (byte >= 0x80) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.';
        safe += kept ? c : '-';
    }
    // Never a hidden file or a step up: "..", ".profile".
    if (!safe.empty() && safe[0] == '.')
        safe[0] = '-';
    return safe.empty() ? "-" : safe;
}

// Percent-encodes all but unreserved characters, for an href.
std::string urlEncoded(std::string_view name) {
    std::string encoded;
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_') {
            encoded += c;
            continue;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", byte);
        encoded += hex;
    }
    return encoded;
}

}

std::string ContactSheet::fileNameFor(const std::string& localization, const std::string& model,
                                      const std::string& language) {
    std::string stem = safePart(localization) + "_" + safePart(model) + "_" + safePart(language);
    std::string name = stem + ".png";
    for (int n = 2; names_.count(name); ++n)
        name = stem + "-" + std::to_string(n) + ".png";
    names_.insert(name);
    return name;
}

void ContactSheet::beginSection(const std::string& languageCode, const std::string& heading) {
    sections_.push_back({languageCode, heading, {}});
}

void ContactSheet::add(const std::string& file, const std::string& model, const std::string& language) {
    if (sections_.empty())
        beginSection("", "");
    sections_.back().pictures.push_back({file, model, language});
}

std::string ContactSheet::escape(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string ContactSheet::html(const std::string& title) const {
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + escape(title) +
                       "</title>\n<style>\n"
                       "body { font-family: sans-serif; margin: 2em; }\n"
                       "figure { display: inline-block; margin: 0 1.5em 1.5em 0; vertical-align: top; }\n"
                       "figure img { border: 1px solid #aaa; }\n"
                       "</style>\n</head>\n<body>\n<h1>" +
                       escape(title) + "</h1>\n";
    for (const Section& section : sections_) {
        std::string lang = section.languageCode.empty() ? "" : " lang=\"" + escape(section.languageCode) + "\"";
        page += "<section" + lang + ">\n<h2>" + escape(section.heading) + "</h2>\n";
        for (const Picture& picture : section.pictures) {
            std::string caption = picture.model + " \xE2\x80\x94 " + picture.language;
            page += "<figure><img src=\"" + urlEncoded(picture.file) + "\" alt=\"" + escape(caption) +
                    "\"><figcaption>" + escape(caption) + "</figcaption></figure>\n";
        }
        page += "</section>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}

}
