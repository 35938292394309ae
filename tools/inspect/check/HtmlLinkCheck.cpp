#include "inspect/check/HtmlLinkCheck.h"

#include "inspect/common/Wording.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVModelDocumentation.h"

#include "platform/foundation/CaseInsensitive.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

namespace docshelf::inspect {

using foundation::FileManager;
using foundation::Value;

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) { return lowerAscii(a) == b; });
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The few entities that links carry: &amp; &quot; &apos; &lt; &gt; and ASCII numbers.
std::string decodeEntities(std::string_view text) {
    static const std::pair<std::string_view, char> named[] = {
        {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&lt;", '<'}, {"&gt;", '>'}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        bool done = false;
        for (const auto& [entity, c] : named)
            if (text.substr(i).starts_with(entity)) {
                out += c;
                i += entity.size() - 1;
                done = true;
                break;
            }
        if (!done && text.substr(i).starts_with("&#")) {
            auto end = text.find(';', i);
            bool hex = i + 2 < text.size() && lowerAscii(text[i + 2]) == 'x';
            unsigned value = 0;
            bool valid = end != std::string_view::npos && end > i + (hex ? 3 : 2);
            for (std::size_t j = i + (hex ? 3 : 2); valid && j < end; ++j) {
                int digit = hex ? hexDigit(text[j]) : (text[j] >= '0' && text[j] <= '9' ? text[j] - '0' : -1);
                valid = digit >= 0 && value < 128;
                value = value * (hex ? 16u : 10u) + static_cast<unsigned>(digit);
            }
            if (valid && value > 0 && value < 128) {
                out += static_cast<char>(value);
                i = end;
                done = true;
            }
        }
        if (!done)
            out += '&';
    }
    return out;
}

// "a/./b/../c" → "a/c"; "a//b" → "a/b". Leading ".." that leave the path are kept.
std::string normalized(std::string_view path) {
    std::vector<std::string_view> parts;
    bool absolute = path.starts_with('/');
    std::size_t at = 0;
    while (at <= path.size()) {
        auto slash = path.find('/', at);
        auto part = path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else
                parts.push_back(part);
        } else if (!part.empty() && part != ".")
            parts.push_back(part);
        if (slash == std::string_view::npos)
            break;
        at = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? "/" : "") + std::string(parts[i]);
    return out;
}

std::string parentOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

bool isPage(std::string_view path) {
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension;
    for (char c : path.substr(dot))
        extension += lowerAscii(c);
    return extension == ".html" || extension == ".htm";
}

class Walk {
public:
    explicit Walk(Findings& findings) : findings_(findings) {}

    void start(const HtmlLinkCheck::Start& start) {
        std::string document = normalized(start.document);
        if (!visited_.insert(document).second)
            return;
        pages_.push_back({document, normalized(start.folder)});
        while (!pages_.empty() && !cut_) {
            auto [page, folder] = pages_.front();
            pages_.pop_front();
            checkPage(page, folder);
        }
    }

    void finish() {
        if (cut_)
            findings_.note("html-links-cut", cutAt_,
                           "the HTML manuals were checked up to here, at the bound of " +
                               std::to_string(HtmlLinkCheck::maximumLinks) + " links or " +
                               std::to_string(HtmlLinkCheck::maximumBytes / (1024 * 1024)) +
                               " MiB of pages a check reads; the rest were not checked");
    }

private:
    void checkPage(const std::string& page, const std::string& folder) {
        auto read = foundation::RegularFile::read(page, foundation::ReadLimits::maximumFileSize);
        if (!read.bytes)
            return; // the start document's own faults are reported with it
        bytes_ += read.bytes->size();
        if (bytes_ > HtmlLinkCheck::maximumBytes) {
            cut_ = true;
            cutAt_ = page;
            return;
        }
        std::string html(read.bytes->begin(), read.bytes->end());
        for (const auto& link : HtmlLinkCheck::links(html)) {
            auto relative = HtmlLinkCheck::relativePath(link.reference);
            if (!relative)
                continue;
            if (++links_ > HtmlLinkCheck::maximumLinks) {
                cut_ = true;
                cutAt_ = page + ":" + std::to_string(link.line);
                return;
            }
            std::string target = normalized(parentOf(page) + "/" + *relative);
            // Only the documentation folder is the manual's; what lies beyond is not read.
            if (!target.starts_with(folder + "/"))
                continue;
            checkTarget(page, folder, link, target);
        }
    }

    // Walks the target's path from the documentation folder down, one listing
    // a folder, so that letter case counts wherever the checker runs.
    void checkTarget(const std::string& page, const std::string& folder, const HtmlLinkCheck::Link& link,
                     const std::string& target) {
        std::string exact = folder;
        std::string rest = target.substr(folder.size() + 1);
        std::string caseDiffers;
        while (!rest.empty()) {
            auto slash = rest.find('/');
            std::string part = rest.substr(0, slash);
            rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
            const auto& names = listing(exact);
            bool isDirectory = false;
            // A folder past the listing's bound lists as nothing: then only the exact name is asked for.
            if (std::find(names.begin(), names.end(), part) != names.end() ||
                (names.empty() && FileManager::fileExistsAtPath(Value(exact + "/" + part), isDirectory))) {
                exact += "/" + part;
                continue;
            }
            auto other = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
                return foundation::caseInsensitiveCompare(name, part) == 0;
            });
            if (other == names.end()) {
                report(page, link, target, "");
                return;
            }
            exact += "/" + *other;
            caseDiffers = exact;
        }
        if (!caseDiffers.empty()) {
            report(page, link, target, exact);
            return;
        }
        bool isDirectory = false;
        if (isPage(exact) && FileManager::fileExistsAtPath(Value(exact), isDirectory) && !isDirectory &&
            visited_.insert(exact).second)
            pages_.push_back({exact, folder});
    }

    void report(const std::string& page, const HtmlLinkCheck::Link& link, const std::string& target,
                const std::string& onDisc) {
        std::string what = link.picture ? "the picture " : "the link ";
        std::string location = page + ":" + std::to_string(link.line);
        if (onDisc.empty())
            findings_.error("html-link-missing", location,
                            what + inQuotes(link.reference) + " names " + inQuotes(target) +
                                ", which is not on the disc; " +
                                (link.picture ? "the page shows a broken picture" : "the page's link leads nowhere"));
        else
            findings_.warning("html-link-case", location,
                              what + inQuotes(link.reference) + " names " + inQuotes(target) + ", but the disc has " +
                                  inQuotes(onDisc) +
                                  ": a Mac and Windows find it, a case-sensitive volume (Linux) does not");
    }

    const std::vector<std::string>& listing(const std::string& folder) {
        auto [it, inserted] = listings_.try_emplace(folder);
        if (inserted)
            for (const Value& name : FileManager::contentsOfDirectoryAtPath(Value(folder)).elements())
                if (name.isString())
                    it->second.emplace_back(name.text());
        return it->second;
    }

    Findings& findings_;
    std::deque<std::pair<std::string, std::string>> pages_; // page, its documentation folder
    std::set<std::string> visited_;
    std::map<std::string, std::vector<std::string>> listings_;
    std::size_t links_ = 0;
    std::size_t bytes_ = 0;
    bool cut_ = false;
    std::string cutAt_;
};

}

std::vector<HtmlLinkCheck::Start> HtmlLinkCheck::startDocuments(const disc::Disc& lists,
                                                                const std::vector<std::string>& models) {
    std::vector<Start> starts;
    std::set<std::string> seen;
    for (const auto& model : models) {
        auto documentation = ZVModelDocumentation::initWithName(Value(model), lists.cdInfo.dictionary,
                                                                lists.modelInfo.dictionary, lists.common.dictionary);
        for (const Value& entry : documentation.objectForKey(keys::documentationList).elements()) {
            Value path = entry.objectForKey(keys::documentationPath);
            if (!path.hasSuffix(".html") || !seen.insert(std::string(path.text())).second)
                continue;
            // ".../Manuals/French/top.html": the documentation folder is two levels up.
            std::string document = normalized(path.text());
            starts.push_back({std::string(path.text()), parentOf(parentOf(document))});
        }
    }
    return starts;
}

void HtmlLinkCheck::run(const std::vector<Start>& starts, Findings& findings) {
    Walk walk(findings);
    for (const auto& start : starts)
        walk.start(start);
    walk.finish();
}

std::vector<HtmlLinkCheck::Link> HtmlLinkCheck::links(std::string_view html) {
    std::vector<Link> found;
    std::size_t line = 1;
    std::size_t counted = 0; // the line is counted up to here
    auto lineAt = [&](std::size_t at) {
        line += static_cast<std::size_t>(std::count(html.begin() + static_cast<std::ptrdiff_t>(counted),
                                                    html.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
        counted = at;
        return line;
    };
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        if (html.substr(at).starts_with("<!--")) {
            auto end = html.find("-->", at + 4);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        std::size_t nameStart = at + 1;
        std::size_t i = nameStart;
        while (i < html.size() && ((html[i] >= 'a' && html[i] <= 'z') || (html[i] >= 'A' && html[i] <= 'Z') ||
                                   (html[i] >= '0' && html[i] <= '9')))
            ++i;
        if (i == nameStart) {
            at = nameStart;
            continue;
        }
        std::string tag;
        for (char c : html.substr(nameStart, i - nameStart))
            tag += lowerAscii(c);
        // Attributes, up to the tag's end.
        while (i < html.size() && html[i] != '>') {
            if (isSpace(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            std::size_t attributeStart = i;
            while (i < html.size() && !isSpace(html[i]) && html[i] != '=' && html[i] != '>' && html[i] != '/')
                ++i;
            std::string attribute;
            for (char c : html.substr(attributeStart, i - attributeStart))
                attribute += lowerAscii(c);
            while (i < html.size() && isSpace(html[i]))
                ++i;
            if (i >= html.size() || html[i] != '=')
                continue;
            ++i;
            while (i < html.size() && isSpace(html[i]))
                ++i;
            std::size_t valueStart = i;
            std::string_view value;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                auto close = html.find(html[i], i + 1);
                if (close == std::string_view::npos)
                    close = html.size();
                valueStart = i + 1;
                value = html.substr(valueStart, close - valueStart);
                i = std::min(close + 1, html.size());
            } else {
                while (i < html.size() && !isSpace(html[i]) && html[i] != '>')
                    ++i;
                value = html.substr(valueStart, i - valueStart);
            }
            if (attribute == "href" || attribute == "src")
                found.push_back({decodeEntities(value), lineAt(valueStart), attribute == "src"});
        }
        at = i;
        // A script's or a style's text is no markup.
        if (tag == "script" || tag == "style") {
            std::size_t end = at;
            while ((end = html.find("</", end)) != std::string_view::npos &&
                   !startsWithNoCase(html.substr(end + 2), tag))
                end += 2;
            at = end == std::string_view::npos ? html.size() : end;
        }
    }
    return found;
}

std::optional<std::string> HtmlLinkCheck::relativePath(std::string_view reference) {
    while (!reference.empty() && (reference.front() == ' ' || reference.front() == '\t' || reference.front() == '\n'))
        reference.remove_prefix(1);
    while (!reference.empty() && (reference.back() == ' ' || reference.back() == '\t' || reference.back() == '\n'))
        reference.remove_suffix(1);
    reference = reference.substr(0, reference.find_first_of("?#"));
    if (reference.empty() || reference.starts_with('/'))
        return std::nullopt;
    // A scheme ("http:", "mailto:", "javascript:") comes before any "/".
    auto colon = reference.find(':');
    if (colon != std::string_view::npos && colon < reference.find('/'))
        return std::nullopt;
    std::string path;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (reference[i] == '%' && i + 2 < reference.size() && hexDigit(reference[i + 1]) >= 0 &&
            hexDigit(reference[i + 2]) >= 0) {
            path += static_cast<char>(hexDigit(reference[i + 1]) * 16 + hexDigit(reference[i + 2]));
            i += 2;
        } else
            path += reference[i];
    }
    if (path.ends_with('/'))
        return std::nullopt; // a folder: the browser shows its listing, if anything
    return path;
}

}
