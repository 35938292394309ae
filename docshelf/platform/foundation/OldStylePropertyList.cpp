#include "OldStylePropertyList.h"

#include "OldStyleText.h"
#include "ReadLimits.h"
#include "Utf8.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace docshelf::foundation {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    OldStylePropertyList::Result run() {
        OldStylePropertyList::Result result;
        if (!skip())
            return failed();
        if (atEnd()) {
            fail("no value in the text");
            return failed();
        }
        std::size_t start = at_;
        std::optional<Value> root = value(0);
        if (root && root->isString() && skip() && !atEnd() && (peek() == '=' || peek() == ';')) {
            // Pairs without braces, as a strings table is written.
            at_ = start;
            values_ = bytes_ = 0;
            root = dictionaryContent(1, false);
        }
        if (!root || !skip())
            return failed();
        if (!atEnd()) {
            fail("text after the property list's value");
            return failed();
        }
        result.root = std::move(*root);
        return result;
    }

private:
    bool atEnd() const { return at_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }

    std::size_t lineAt(std::size_t offset) const {
        std::string_view before = text_.substr(0, offset);
        std::size_t breaks = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (before[i] == '\n' || (before[i] == '\r' && (i + 1 == before.size() || before[i + 1] != '\n')))
                ++breaks;
        return breaks + 1;
    }

    bool fail(const std::string& message, std::size_t offset) {
        if (error_.empty()) {
            error_ = "old-style property list: " + message + " on line " + std::to_string(lineAt(offset));
            position_ = offset;
        }
        return false;
    }
    bool fail(const std::string& message) { return fail(message, at_); }

    OldStylePropertyList::Result failed() const {
        OldStylePropertyList::Result result;
        result.error = error_;
        result.position = position_;
        return result;
    }

    // White space and comments; false for a comment that is never closed.
    bool skip() {
        while (!atEnd()) {
            char c = peek();
            if (isSpace(c)) {
                ++at_;
            } else if (c == '/' && peek(1) == '*') {
                std::size_t close = text_.find("*/", at_ + 2);
                if (close == std::string_view::npos)
                    return fail("comment not closed with */");
                at_ = close + 2;
            } else if (c == '/' && peek(1) == '/') {
                while (!atEnd() && peek() != '\n' && peek() != '\r')
                    ++at_;
            } else {
                break;
            }
        }
        return true;
    }

    // Counts one value, as the XML and binary readers count theirs (keys included).
    bool counted(std::size_t bytes) {
        if (++values_ > ReadLimits::maximumValues)
            return fail("more than " + std::to_string(ReadLimits::maximumValues) + " values");
        bytes_ += bytes;
        if (bytes_ > ReadLimits::maximumExpandedBytes)
            return fail("strings and data of more than " + std::to_string(ReadLimits::maximumExpandedBytes) + " bytes");
        return true;
    }

    // A value at `level` containers deep (the root is at 0).
    std::optional<Value> value(std::size_t level) {
        char c = peek();
        if (c == '{' || c == '(') {
            // The root container is level 1, as in the other forms.
            if (level + 1 > ReadLimits::maximumNesting) {
                fail("nested deeper than " + std::to_string(ReadLimits::maximumNesting) + " levels");
                return std::nullopt;
            }
            if (!counted(0))
                return std::nullopt;
            ++at_;
            return c == '{' ? dictionaryContent(level + 1, true) : arrayContent(level + 1);
        }
        if (c == '<')
            return data();
        std::string text;
        if (!string(text, "a value"))
            return std::nullopt;
        return Value(std::move(text));
    }

    // Members up to the closing brace, or to the end of the text for a list without braces.
    std::optional<Value> dictionaryContent(std::size_t level, bool braces) {
        std::vector<Value::Entry> entries;
        for (;;) {
            if (!skip())
                return std::nullopt;
            if (braces && peek() == '}' && !atEnd()) {
                ++at_;
                break;
            }
            if (!braces && atEnd())
                break;
            if (atEnd()) {
                fail("dictionary not closed with }");
                return std::nullopt;
            }
            std::string key;
            if (!string(key, "a key") || !skip())
                return std::nullopt;
            std::optional<Value> member;
            if (peek() == ';' && !atEnd()) {
                // `Key;` stands for `Key = Key;`.
                if (!counted(key.size()))
                    return std::nullopt;
                member = Value(key);
            } else if (peek() == '=' && !atEnd()) {
                ++at_;
                if (!skip() || atEnd()) {
                    fail("expected a value after '='");
                    return std::nullopt;
                }
                member = value(level);
                if (!member)
                    return std::nullopt;
            } else {
                fail("expected '=' after the key");
                return std::nullopt;
            }
            // A ';' missing at the end of a line is reported there, not at the next line.
            std::size_t valueEnd = at_;
            if (!skip())
                return std::nullopt;
            if (peek() != ';' || atEnd()) {
                fail("expected ';' after the value", lineAt(valueEnd) == lineAt(at_) ? at_ : valueEnd);
                return std::nullopt;
            }
            ++at_;
            entries.emplace_back(std::move(key), std::move(*member));
        }
        return Value::dictionary(std::move(entries));
    }

    std::optional<Value> arrayContent(std::size_t level) {
        std::vector<Value> elements;
        for (;;) {
            if (!skip())
                return std::nullopt;
            if (atEnd()) {
                fail("array not closed with )");
                return std::nullopt;
            }
            if (peek() == ')') {
                ++at_;
                break;
            }
            std::optional<Value> element = value(level);
            if (!element || !skip())
                return std::nullopt;
            elements.push_back(std::move(*element));
            if (peek() == ',' && !atEnd()) {
                ++at_;
            } else if (peek() != ')' || atEnd()) {
                fail("expected ',' or ')' after an array's element");
                return std::nullopt;
            }
        }
        return Value::array(std::move(elements));
    }

    // <hex digits>, white space anywhere between them, two digits to a byte.
    std::optional<Value> data() {
        std::size_t start = at_++;
        std::vector<std::uint8_t> bytes;
        int high = -1;
        for (;; ++at_) {
            if (atEnd()) {
                fail("data not closed with >", start);
                return std::nullopt;
            }
            char c = peek();
            if (c == '>')
                break;
            if (isSpace(c))
                continue;
            int digit = hexDigit(c);
            if (digit < 0) {
                fail("data holding something other than hexadecimal digits");
                return std::nullopt;
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
                high = -1;
            }
        }
        if (high >= 0) {
            fail("data with an odd number of hexadecimal digits");
            return std::nullopt;
        }
        ++at_;
        if (!counted(bytes.size()))
            return std::nullopt;
        return Value::data(std::move(bytes));
    }

    bool string(std::string& out, const char* what) {
        char c = peek();
        if (!atEnd() && (c == '"' || c == '\'')) {
            if (!quoted(out))
                return false;
        } else if (!atEnd() && isBareCharacter(c)) {
            while (!atEnd() && isBareCharacter(peek()))
                out += text_[at_++];
        } else {
            return fail(std::string("expected ") + what);
        }
        return counted(out.size());
    }

    bool quoted(std::string& out) {
        std::size_t start = at_;
        char quote = text_[at_++];
        for (;;) {
            if (atEnd())
                return fail("string not closed", start);
            char c = text_[at_++];
            if (c == quote)
                return true;
            if (c != '\\')
                out += c;
            else if (!escape(out))
                return false;
        }
    }

    // \n \t \r \a \b \f \v, \U and \u with one to four hexadecimal digits (a
    // pair of surrogates is one character), \ and one to three octal digits;
    // any other character after a backslash stands for itself.
    bool escape(std::string& out) {
        std::size_t backslash = at_ - 1;
        if (atEnd())
            return fail("string ends inside an escape", backslash);
        char c = text_[at_++];
        if (auto control = controlEscape(c)) {
            out += *control;
            return true;
        }
        switch (c) {
        case 'U':
        case 'u': {
            std::optional<char32_t> unit = hex(at_);
            if (!unit)
                return fail(std::string("\\") + c + " without hexadecimal digits", backslash);
            if (*unit >= 0xD800 && *unit <= 0xDBFF && peek() == '\\' && (peek(1) == 'U' || peek(1) == 'u')) {
                std::size_t next = at_ + 2;
                std::optional<char32_t> low = hex(next);
                if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                    at_ = next;
                    unit = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
                }
            }
            appendUtf8(out, *unit);
            return true;
        }
        default:
            if (c >= '0' && c <= '7') {
                char32_t code = static_cast<char32_t>(c - '0');
                for (int i = 0; i < 2 && peek() >= '0' && peek() <= '7' && !atEnd(); ++i)
                    code = code * 8 + static_cast<char32_t>(text_[at_++] - '0');
                appendUtf8(out, code);
                return true;
            }
            out += c;
            return true;
        }
    }

    // One to four hexadecimal digits from `from`, which moves past them.
    std::optional<char32_t> hex(std::size_t& from) const {
        char32_t value = 0;
        int digits = 0;
        for (; digits < 4 && from < text_.size() && hexDigit(text_[from]) >= 0; ++digits)
            value = value * 16 + static_cast<char32_t>(hexDigit(text_[from++]));
        return digits ? std::optional(value) : std::nullopt;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t values_ = 0;
    std::size_t bytes_ = 0;
    std::string error_;
    std::size_t position_ = ReadOutcome::noPosition;
};

}

OldStylePropertyList::Result OldStylePropertyList::parse(std::string_view text) {
    return Parser(text).run();
}

}
