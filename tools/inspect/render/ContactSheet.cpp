#include "inspect/render/ContactSheet.h"

#include "inspect/common/Wording.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>

namespace docshelf::inspect {

namespace {

// Bytes of one name in a file name, so that three stay well within the 255 of most file systems.
constexpr std::size_t longestPart = 64;

// Letters and digits of any script (with the marks that belong to them), "-"
// and "."; anything else, controls, separators, direction overrides and bytes
// that are not UTF-8 included, becomes one "-".
std::string safePart(std::string_view name) {
    std::string safe;
    for (std::size_t at = 0; at < name.size();) {
        if (safe.size() >= longestPart)
            break;
        UChar32 c = 0;
        auto start = static_cast<int32_t>(at);
        int32_t next = start;
        U8_NEXT(reinterpret_cast<const uint8_t*>(name.data()), next, static_cast<int32_t>(name.size()), c);
        at = static_cast<std::size_t>(next);
        bool kept =
            c == '-' || c == '.' || (c >= 0 && (u_isalpha(c) || u_isdigit(c) || (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0));
        if (kept)
            safe.append(name.substr(static_cast<std::size_t>(start), at - static_cast<std::size_t>(start)));
        else
            safe += '-';
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
    sections_.back().pictures.push_back({file, model, language, {}});
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

std::size_t ContactSheet::addFinding(const std::string& severity, const std::string& code, const std::string& place,
                                     const std::string& message) {
    findings_.push_back({severity, code, place, message, {}});
    return findings_.size() - 1;
}

ContactSheet::Picture* ContactSheet::picture(const std::string& file) {
    for (auto& section : sections_)
        for (auto& picture : section.pictures)
            if (picture.file == file)
                return &picture;
    return nullptr;
}

void ContactSheet::link(std::size_t finding, const std::string& file, const std::string& reason) {
    if (finding < findings_.size() && std::find(findings_[finding].files.begin(), findings_[finding].files.end(),
                                                file) == findings_[finding].files.end())
        findings_[finding].files.push_back(file);
    if (Picture* shown = picture(file))
        shown->reasons.push_back(reason);
}

std::string ContactSheet::caption(const std::string& file) const {
    for (const auto& section : sections_)
        for (const auto& picture : section.pictures)
            if (picture.file == file)
                return (section.languageCode.empty() ? "" : section.languageCode + ": ") + picture.model +
                       " \xE2\x80\x94 " + picture.language;
    return file;
}

std::string ContactSheet::matrixTable() const {
    if (matrix_.rows().empty())
        return {};
    std::string table = "<div id=\"matrix\">\n<h2>Languages of each model</h2>\n<p>Where the guide opens: on the "
                        "disc, online, or neither (the language is missing from the model's pop-up).</p>\n"
                        "<table class=\"matrix\">\n<tr><th>Model</th>";
    for (const auto& language : matrix_.languages())
        table += "<th>" + escape(language) + "</th>";
    table += "</tr>\n";
    for (const auto& row : matrix_.rows()) {
        table += "<tr><th>" + escape(row.model) + "</th>";
        for (auto opens : row.languages) {
            std::string word = LanguageMatrix::word(opens);
            table += "<td class=\"" + word + "\">" + word + "</td>";
        }
        table += "</tr>\n";
    }
    return table + "</table>\n</div>\n";
}

std::string ContactSheet::html(const std::string& title) const {
    std::size_t failing = 0;
    std::size_t windows = 0;
    for (const Section& section : sections_)
        for (const Picture& picture : section.pictures) {
            ++windows;
            failing += picture.reasons.empty() ? 0u : 1u;
        }
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + escape(title) +
                       "</title>\n<style>\n"
                       "body { font-family: sans-serif; margin: 1.5em; color: #222; }\n"
                       "nav a { margin-left: 0.8em; }\n"
                       "h1 { font-size: 1.4em; } h2 { font-size: 1.15em; margin-top: 1.5em; }\n"
                       ".summary { font-size: 1.05em; }\n"
                       ".findings li { margin: 0.3em 0; }\n"
                       ".findings .error { color: #a00; } .findings .warning { color: #960; }\n"
                       ".findings .place { color: #555; font-family: monospace; font-size: 0.85em; }\n"
                       ".findings a { margin-right: 0.6em; }\n"
                       ".grid { display: grid; grid-template-columns: repeat(auto-fill, minmax(230px, 1fr)); "
                       "gap: 14px; }\n"
                       "figure { margin: 0; padding: 6px; border: 1px solid #ccc; border-radius: 4px; }\n"
                       "figure img { width: 100%; height: auto; display: block; }\n"
                       "figure.failing { border: 3px solid #c00; background: #fee; }\n"
                       "figure.failing figcaption::before { content: \"\\2716  \"; color: #c00; }\n"
                       "figcaption { font-size: 0.9em; margin-top: 4px; }\n"
                       ".reason { color: #a00; font-size: 0.85em; }\n"
                       "table.matrix { border-collapse: collapse; font-size: 0.9em; }\n"
                       ".matrix th, .matrix td { border: 1px solid #ccc; padding: 2px 8px; }\n"
                       ".matrix .disc { background: #dfd; } .matrix .online { background: #def; }\n"
                       ".matrix .neither { background: #fdd; color: #a00; }\n"
                       "</style>\n</head>\n<body>\n<h1>" +
                       escape(title) + "</h1>\n";
    page += "<p class=\"summary\">" + counted(windows, "window") + ", " + std::to_string(failing) + " failing; " +
            counted(findings_.size(), "finding") + ". Click a window for its full size.</p>\n";
    page += "<div class=\"findings\" id=\"findings\">\n<h2>Findings</h2>\n";
    if (findings_.empty())
        page += "<p>None: every text fits.</p>\n";
    else {
        page += "<ul>\n";
        for (const ShownFinding& finding : findings_) {
            page += "<li class=\"" + escape(finding.severity) + "\"><strong>" + escape(finding.severity) +
                    "</strong> <code>" + escape(finding.code) + "</code> " + escape(finding.message) +
                    "<br><span class=\"place\">" + escape(finding.place) + "</span><br>";
            for (const auto& file : finding.files)
                page += "<a href=\"#w-" + urlEncoded(file) + "\">" + escape(caption(file)) + "</a>";
            page += "</li>\n";
        }
        page += "</ul>\n";
    }
    // Localizations with failing windows first, each group in the order drawn.
    std::vector<std::size_t> order;
    for (bool failingFirst : {true, false})
        for (std::size_t i = 0; i < sections_.size(); ++i)
            if (std::any_of(sections_[i].pictures.begin(), sections_[i].pictures.end(),
                            [](const Picture& p) { return !p.reasons.empty(); }) == failingFirst)
                order.push_back(i);
    page += "</div>\n" + matrixTable() + "<nav>Localizations:";
    for (std::size_t i : order)
        page += " <a href=\"#l-" + std::to_string(i) + "\">" + escape(sections_[i].heading) + "</a>";
    page += "</nav>\n";
    for (std::size_t i : order) {
        const Section& section = sections_[i];
        std::string lang = section.languageCode.empty() ? "" : " lang=\"" + escape(section.languageCode) + "\"";
        page += "<section id=\"l-" + std::to_string(i) + "\"" + lang + ">\n<h2>" + escape(section.heading) +
                "</h2>\n<div class=\"grid\">\n";
        // Failing windows first, each group in the order drawn.
        std::vector<const Picture*> ordered;
        for (bool failingFirst : {true, false})
            for (const Picture& picture : section.pictures)
                if (picture.reasons.empty() != failingFirst)
                    ordered.push_back(&picture);
        for (const Picture* picture : ordered) {
            std::string caption = picture->model + " \xE2\x80\x94 " + picture->language;
            std::string file = urlEncoded(picture->file);
            page += std::string(picture->reasons.empty() ? "<figure>" : "<figure class=\"failing\">") + "<a id=\"w-" +
                    file + "\" href=\"" + file + "\"><img src=\"" + file + "\" alt=\"" + escape(caption) +
                    "\" loading=\"lazy\"></a><figcaption>" + escape(caption) + "</figcaption>";
            for (const auto& reason : picture->reasons)
                page += "<div class=\"reason\">" + escape(reason) + "</div>";
            page += "</figure>\n";
        }
        page += "</div>\n</section>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}

}
