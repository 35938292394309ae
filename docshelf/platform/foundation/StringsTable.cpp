#include "StringsTable.h"

#include "OldStyleText.h"
#include "PropertyListReader.h"
#include "ReadLimits.h"
#include "RegularFile.h"
#include "Utf8.h"

#include <optional>
#include <unordered_map>

namespace docshelf::foundation {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

struct Failure {
    std::string message;
    std::size_t line = 0;
    std::size_t column = 0;
};

StringsTableResult failed(Failure failure) {
    StringsTableResult result;
    result.ok = false;
    result.message = std::move(failure.message);
    result.line = failure.line;
    result.column = failure.column;
    return result;
}

// Reads text one byte at a time, never past its end, and keeps the line and the
// column (in characters) of the next byte. CR, LF and CR LF each end a line.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return offset_ >= text_.size(); }
    // The byte `ahead` places on, or NUL past the end: callers test atEnd where a NUL byte matters.
    char peek(std::size_t ahead = 0) const { return offset_ + ahead < text_.size() ? text_[offset_ + ahead] : '\0'; }
    char take() {
        if (atEnd())
            return '\0';
        char c = text_[offset_++];
        if (c == '\n' && previous_ == '\r') {
            // The CR already ended this line.
        } else if (c == '\n' || c == '\r') {
            ++line_;
            column_ = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++column_;
        }
        previous_ = c;
        return c;
    }
    // A failure at the next character; a continuation byte counts with the character it ends.
    Failure failure(std::string message) const { return {std::move(message), line_, column_}; }

private:
    std::string_view text_;
    std::size_t offset_ = 0;
    std::size_t line_ = 1;
    std::size_t column_ = 1;
    char previous_ = '\0';
};

// Says where the first byte is that does not belong to well-formed UTF-8.
std::optional<Failure> checkUtf8(std::string_view text) {
    std::size_t valid = validUtf8Prefix(text);
    if (valid == text.size())
        return std::nullopt;
    Cursor cursor(text.substr(0, valid));
    while (!cursor.atEnd())
        cursor.take();
    return cursor.failure("not valid UTF-8 text");
}

// UTF-16 in the given byte order, without its mark, to UTF-8.
std::optional<Failure> decodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian, std::string& out) {
    auto problem = appendUtf16(bytes, bigEndian, out);
    if (!problem)
        return std::nullopt;
    Cursor cursor(out);
    while (!cursor.atEnd())
        cursor.take();
    return cursor.failure(problem->what);
}

// The old-style text format: pairs `key = value;` or `key;` (the key is its own
// text), each side quoted with " or ' or written bare, with C and C++ comments
// between the tokens.
class TextParser {
public:
    explicit TextParser(std::string_view text) : cursor_(text) {}

    StringsTableResult parse() {
        std::size_t pairs = 0;
        for (;;) {
            if (!skipSpaceAndComments())
                return failed(*failure_);
            if (cursor_.atEnd())
                break;
            std::string key;
            std::string value;
            if (!readString(key, "a key") || !skipSpaceAndComments())
                return failed(*failure_);
            if (cursor_.peek() == ';' && !cursor_.atEnd()) {
                value = key;
            } else if (cursor_.peek() == '=' && !cursor_.atEnd()) {
                cursor_.take();
                if (!skipSpaceAndComments() || !readString(value, "a value after '='"))
                    return failed(*failure_);
                // A ';' missing at the end of a line is reported there, not at the next line's key.
                Failure endOfValue = cursor_.failure({});
                if (!skipSpaceAndComments())
                    return failed(*failure_);
                if (cursor_.atEnd() || cursor_.peek() != ';') {
                    Failure here = cursor_.failure("expected ';' after the value");
                    if (here.line != endOfValue.line) {
                        endOfValue.message = std::move(here.message);
                        return failed(std::move(endOfValue));
                    }
                    return failed(std::move(here));
                }
            } else {
                return failed(cursor_.failure("expected '=' or ';' after the key"));
            }
            cursor_.take();
            // Keys and texts count as values, as in a property list.
            if (++pairs > ReadLimits::maximumValues / 2)
                return failed(cursor_.failure("more than " + std::to_string(ReadLimits::maximumValues) + " values"));
            add(std::move(key), std::move(value));
        }
        StringsTableResult result;
        result.entries = std::move(entries_);
        return result;
    }

private:
    void add(std::string key, std::string value) {
        auto [place, inserted] = index_.try_emplace(key, entries_.size());
        if (inserted)
            entries_.emplace_back(std::move(key), std::move(value));
        else
            entries_[place->second].second = std::move(value);
    }

    bool fail(Failure failure) {
        failure_ = std::move(failure);
        return false;
    }

    bool skipSpaceAndComments() {
        while (!cursor_.atEnd()) {
            char c = cursor_.peek();
            if (isSpace(c)) {
                cursor_.take();
            } else if (c == '/' && cursor_.peek(1) == '*') {
                Failure start = cursor_.failure("comment not closed with */");
                cursor_.take();
                cursor_.take();
                while (!(cursor_.peek() == '*' && cursor_.peek(1) == '/')) {
                    if (cursor_.atEnd())
                        return fail(std::move(start));
                    cursor_.take();
                }
                cursor_.take();
                cursor_.take();
            } else if (c == '/' && cursor_.peek(1) == '/') {
                while (!cursor_.atEnd() && cursor_.peek() != '\n' && cursor_.peek() != '\r')
                    cursor_.take();
            } else {
                break;
            }
        }
        return true;
    }

    bool readString(std::string& out, const char* what) {
        char c = cursor_.peek();
        if (!cursor_.atEnd() && (c == '"' || c == '\''))
            return readQuoted(out);
        if (cursor_.atEnd() || !isBareCharacter(c))
            return fail(cursor_.failure(std::string("expected ") + what));
        while (!cursor_.atEnd() && isBareCharacter(cursor_.peek()))
            out += cursor_.take();
        return true;
    }

    bool readQuoted(std::string& out) {
        Failure start = cursor_.failure("string not closed");
        char quote = cursor_.take();
        for (;;) {
            if (cursor_.atEnd())
                return fail(std::move(start));
            char c = cursor_.take();
            if (c == quote)
                return true;
            if (c != '\\')
                out += c;
            else if (!readEscape(out))
                return false;
        }
    }

    bool readEscape(std::string& out) {
        // Reported at the backslash, which is one character back on this line.
        Failure at = cursor_.failure("");
        --at.column;
        if (cursor_.atEnd())
            return fail({"string ends inside an escape", at.line, at.column});
        char c = cursor_.take();
        if (auto control = controlEscape(c)) {
            out += *control;
            return true;
        }
        switch (c) {
        case 'U':
        case 'u': {
            std::optional<char32_t> unit = readHex();
            if (!unit)
                return fail({std::string("\\") + c + " without hexadecimal digits", at.line, at.column});
            appendUtf8(out, combineSurrogates(*unit));
            return true;
        }
        default:
            if (c >= '0' && c <= '7') {
                char32_t code = static_cast<char32_t>(c - '0');
                for (int i = 0; i < 2 && cursor_.peek() >= '0' && cursor_.peek() <= '7'; ++i)
                    code = code * 8 + static_cast<char32_t>(cursor_.take() - '0');
                appendUtf8(out, code);
                return true;
            }
            // \" \' \\ and every other character stand for themselves.
            out += c;
            return true;
        }
    }

    // One to four hexadecimal digits.
    std::optional<char32_t> readHex() {
        char32_t value = 0;
        int digits = 0;
        for (; digits < 4 && hexDigit(cursor_.peek()) >= 0; ++digits)
            value = value * 16 + static_cast<char32_t>(hexDigit(cursor_.take()));
        return digits ? std::optional(value) : std::nullopt;
    }

    // A high surrogate followed at once by a \U escape of a low one is one
    // character; an unpaired surrogate becomes U+FFFD.
    char32_t combineSurrogates(char32_t unit) {
        if (unit < 0xD800 || unit > 0xDBFF)
            return unit;
        char u = cursor_.peek(1);
        if (cursor_.peek() != '\\' || (u != 'U' && u != 'u'))
            return replacementCharacter;
        char32_t low = 0;
        int digits = 0;
        for (; digits < 4 && hexDigit(cursor_.peek(2 + static_cast<std::size_t>(digits))) >= 0; ++digits)
            low = low * 16 + static_cast<char32_t>(hexDigit(cursor_.peek(2 + static_cast<std::size_t>(digits))));
        if (digits == 0 || low < 0xDC00 || low > 0xDFFF)
            return replacementCharacter;
        for (int i = 0; i < 2 + digits; ++i)
            cursor_.take();
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }

    Cursor cursor_;
    std::vector<std::pair<std::string, std::string>> entries_;
    std::unordered_map<std::string, std::size_t> index_;
    std::optional<Failure> failure_;
};

StringsTableResult fromPropertyList(std::span<const std::uint8_t> bytes) {
    PropertyListResult list = PropertyListReader::parse(bytes);
    if (!list.error.empty())
        return failed({list.error, 0, 0});
    if (!list.root.isDictionary())
        return failed({"the property list's root is not a dictionary", 0, 0});
    StringsTableResult result;
    // Values other than strings have no text to give; they are left out.
    for (const auto& [key, value] : list.root.entries())
        if (value.isString())
            result.entries.emplace_back(key, std::string(value.text()));
    return result;
}

bool looksLikeXml(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isSpace(text[start]))
        ++start;
    text.remove_prefix(start);
    return text.starts_with("<?xml") || text.starts_with("<!DOCTYPE") || text.starts_with("<plist");
}

}

Value StringsTableResult::objectForKey(std::string_view key) const {
    for (const auto& [name, text] : entries)
        if (name == key)
            return Value(text);
    return {};
}

StringsTableResult StringsTable::parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > maximumFileSize)
        return failed({"larger than " + std::to_string(maximumFileSize) + " bytes", 0, 0});
    std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (raw.starts_with("bplist00"))
        return fromPropertyList(bytes);

    std::string text;
    if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF")) {
        if (auto failure = decodeUtf16(bytes.subspan(2), raw[0] == '\xFE', text))
            return failed(std::move(*failure));
    } else if (raw.size() >= 2 && (raw[0] == '\0') != (raw[1] == '\0')) {
        // No text of these tables starts with a NUL byte: this is UTF-16 that lost its mark.
        if (auto failure = decodeUtf16(bytes, raw[0] == '\0', text))
            return failed(std::move(*failure));
    } else {
        if (raw.starts_with("\xEF\xBB\xBF"))
            raw.remove_prefix(3);
        if (auto failure = checkUtf8(raw))
            return failed(std::move(*failure));
        text = raw;
    }
    if (looksLikeXml(text))
        return fromPropertyList(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    return TextParser(text).parse();
}

StringsTableResult StringsTable::parse(std::string_view bytes) {
    return parse(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

StringsTableResult StringsTable::readFile(const std::string& path) {
    auto file = RegularFile::read(path, maximumFileSize);
    if (!file.bytes)
        return failed({std::move(file.error), 0, 0});
    return parse(*file.bytes);
}

}
