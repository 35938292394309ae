#include "inspect/common/Findings.h"

#include "inspect/common/Wording.h"

#include "platform/foundation/VolumeMap.h"

#include <algorithm>
#include <stdexcept>

namespace docshelf::inspect {

Place Place::atLine(std::string path, std::size_t line, std::size_t column) {
    Place place(std::move(path));
    place.line = line;
    place.column = column;
    return place;
}

std::string Finding::keyPath() const {
    std::string out;
    for (const auto& key : keys)
        out += "[" + key + "]";
    return out;
}

std::string Finding::location() const {
    if (!keys.empty())
        return file + keyPath();
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

void Findings::error(CodeName code, Place place, std::string message) {
    add(Severity::Error, code, std::move(place), std::move(message));
}

void Findings::warning(CodeName code, Place place, std::string message) {
    add(Severity::Warning, code, std::move(place), std::move(message));
}

void Findings::note(CodeName code, Place place, std::string message) {
    add(Severity::Note, code, std::move(place), std::move(message));
}

void Findings::add(CodeName code, Place place, std::string message) {
    add(code.code().severity, code, std::move(place), std::move(message));
}

void Findings::add(Severity severity, CodeName code, Place place, std::string message) {
    const Code& listed = code.code();
    if (severity != listed.severity && severity != listed.lowered)
        throw std::logic_error("the code list gives " + std::string(listed.code) + " another severity");
    // A file named as the lists write it is reported where it was read, so
    // that an editor opens the very file.
    Finding finding{severity,
                    std::string(listed.code),
                    std::move(message),
                    foundation::VolumeMap::whereToRead(place.file),
                    place.line,
                    place.column,
                    std::move(place.keys)};
    if (!finding.keys.empty() && finding.line == 0 && finding.file.ends_with(".plist")) {
        auto index = lines_.find(finding.file);
        if (index == lines_.end())
            index = lines_.emplace(finding.file, disc::KeyPlaces::index(finding.file)).first;
        finding.line = index->second.line(finding.keys);
    }
    findings_.push_back(std::move(finding));
}

void Findings::add(Finding finding) {
    const Code* listed = Codes::find(finding.code);
    if (!listed || (finding.severity != listed->severity && finding.severity != listed->lowered))
        throw std::logic_error("a finding whose code or severity the code list does not give: " + finding.code);
    findings_.push_back(std::move(finding));
}

void Findings::ignore(const std::vector<std::string>& codes) {
    std::erase_if(findings_,
                  [&](const Finding& f) { return std::find(codes.begin(), codes.end(), f.code) != codes.end(); });
}

bool Findings::hasErrors() const {
    return count(Severity::Error) > 0;
}

std::size_t Findings::count(Severity severity) const {
    return static_cast<std::size_t>(
        std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

namespace {

// The length of the UTF-8 sequence at the start of the text, 0 when it is not one
// (a stray byte, an overlong form, a surrogate, past U+10FFFF, cut short).
std::size_t sequenceLength(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    unsigned char second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

}

std::string Findings::oneLine(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += std::string("\\x") + hex[c >> 4] + hex[c & 0xF];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (std::size_t length = sequenceLength(std::string_view(text).substr(i)); length == 0) {
            out += std::string("\\x") + hex[c >> 4] + hex[c & 0xF];
        } else {
            auto next = static_cast<unsigned char>(text[i + 1]);
            auto third = length > 2 ? static_cast<unsigned char>(text[i + 2]) : 0;
            if (c == 0xC2 && next <= 0x9F) // C1 controls, U+0080 to U+009F, NEL among them
                out += std::string("\\u00") + hex[next >> 4] + hex[next & 0xF];
            else if (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9))
                out += third == 0xA8 ? "\\u2028" : "\\u2029";
            else
                out += text.substr(i, length);
            i += length - 1;
        }
    }
    return out;
}

std::string Findings::text() const {
    std::string out;
    for (const Finding& f : findings_) {
        std::string keyPath = f.keyPath();
        out += oneLine(f.file) + (f.line > 0 ? ":" + std::to_string(f.line) : "") +
               (f.line > 0 && f.column > 0 ? ":" + std::to_string(f.column) : "") + ": " + severityName(f.severity) +
               ": " + (keyPath.empty() ? "" : oneLine(keyPath) + " ") + oneLine(f.message) + " [" + f.code + "]\n";
    }
    return out;
}

nlohmann::ordered_json Findings::json() const {
    using json = nlohmann::ordered_json;
    auto array = json::array();
    for (const Finding& f : findings_) {
        std::string keyPath = f.keyPath();
        array.push_back({{"severity", severityName(f.severity)},
                         {"code", f.code},
                         {"location", f.location()},
                         {"message", f.message},
                         {"file", f.file},
                         {"line", f.line > 0 ? json(f.line) : json()},
                         {"column", f.line > 0 && f.column > 0 ? json(f.column) : json()},
                         {"keyPath", keyPath.empty() ? json() : json(keyPath)}});
    }
    return array;
}

Place Findings::keyPath(const Place& place, const std::vector<std::string>& keys) {
    Place deeper = place;
    deeper.keys.insert(deeper.keys.end(), keys.begin(), keys.end());
    return deeper;
}

std::string Findings::summary() const {
    return counted(count(Severity::Error), "error") + ", " + counted(count(Severity::Warning), "warning") + ", " +
           counted(count(Severity::Note), "note");
}

}
