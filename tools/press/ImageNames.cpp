#include "ImageNames.h"

#include "NameClashes.h"

#include "platform/foundation/Utf8.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <filesystem>
#include <memory>
#include <unordered_map>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

// The text as UTF-16; nullopt when it is not UTF-8.
std::optional<std::u16string> utf16(std::string_view text) {
    if (!foundation::isValidUtf8(text))
        return std::nullopt;
    std::u16string out(text.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(), static_cast<int32_t>(text.size()),
                  &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string utf8(const std::u16string& text) {
    std::string out(text.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(), static_cast<int32_t>(text.size()),
                &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return out;
}

// One of ICU's normalizers applied to the text: composed (NFC) or decomposed (NFD).
std::u16string normalized(const std::u16string& text, bool composed) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = composed ? unorm2_getNFCInstance(&status) : unorm2_getNFDInstance(&status);
    // A character decomposes into at most 18 (U+FDFA); four times covers what names hold, and a shortfall is retried.
    std::u16string out(text.size() * 4 + 4, u'\0');
    int32_t length = unorm2_normalize(normalizer, text.data(), static_cast<int32_t>(text.size()), out.data(),
                                      static_cast<int32_t>(out.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        out.resize(static_cast<std::size_t>(length));
        length = unorm2_normalize(normalizer, text.data(), static_cast<int32_t>(text.size()), out.data(),
                                  static_cast<int32_t>(out.size()), &status);
    }
    if (U_FAILURE(status))
        return text;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::u16string caseFolded(const std::u16string& text) {
    std::u16string out(text.size() * 3 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = u_strFoldCase(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                   static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status))
        return text;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

}

bool ImageNames::hasControl(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && next >= 0x80 && next <= 0x9F) ||
            (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)))
            return true;
    }
    return false;
}

std::string ImageNames::fault(std::string_view name) {
    if (name.find('\n') != std::string_view::npos || name.find('\r') != std::string_view::npos)
        return "it holds a line break";
    if (hasControl(name))
        return "it holds a control character";
    auto units = utf16(name);
    if (!units)
        return "it is not UTF-8 text, and the image's names are Unicode";
    if (units->size() > maximumJolietName)
        return "it has " + std::to_string(units->size()) +
               " characters; the image's Joliet names (Windows) hold at most " + std::to_string(maximumJolietName);
    if (std::size_t decomposed = normalized(*units, false).size(); decomposed > maximumHfsPlusName)
        return "it has " + std::to_string(decomposed) +
               " UTF-16 characters decomposed; the image's HFS+ names (the Mac) "
               "hold at most " +
               std::to_string(maximumHfsPlusName);
    return "";
}

std::string ImageNames::sameNameKey(std::string_view name) {
    auto units = utf16(name);
    if (!units)
        return std::string(name);
    return utf8(caseFolded(normalized(*units, true)));
}

std::string ImageNames::escaped(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        const std::size_t size = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        std::string_view sequence = text.substr(i, size);
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else if (c >= 0x80 && sequence.size() == size && foundation::isValidUtf8(sequence) && !hasControl(sequence)) {
            out += sequence;
            i += size - 1;
        } else {
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        }
    }
    return out;
}

std::string ImageNames::shown(std::string_view name) {
    constexpr std::size_t longest = 120;
    if (name.size() <= longest)
        return "\"" + escaped(name) + "\"";
    return "\"" + escaped(name.substr(0, longest)) + "\" (cut; " + std::to_string(name.size()) + " bytes)";
}

std::vector<std::string> ImageNames::faultsUnder(const std::string& root,
                                                 const std::function<std::string(const std::string&)>& placeOf) {
    std::vector<std::string> faults;
    std::unordered_map<std::string, std::unique_ptr<NameClashes>> folders;
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        const std::string name = it->path().filename().string();
        const std::string relative = it->path().lexically_relative(root).string();
        if (auto reason = fault(name); !reason.empty()) {
            faults.push_back(escaped(placeOf(relative)) + ": the name " + shown(name) +
                             " cannot be on the image: " + reason);
            continue;
        }
        auto& folder = folders[it->path().parent_path().string()];
        if (!folder)
            folder = std::make_unique<NameClashes>();
        if (auto earlier = folder->add(name, 0))
            faults.push_back(escaped(placeOf(relative)) + ": the name " + shown(name) + " and " + shown(earlier->name) +
                             " in one folder differ only in letter case or Unicode normalization; the Mac's HFS+ "
                             "volume holds only one of them");
    }
    return faults;
}

}
