#include "PropertyListLookup.h"

#include "BinaryPropertyListCheck.h"
#include "PropertyListReader.h"
#include "ReadLimits.h"
#include "RegularFile.h"
#include "Utf8.h"

#include <plist/plist.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

namespace docshelf::foundation {

namespace {

constexpr std::size_t maximumQuestions = 32; // one bit each in the scanners' masks
constexpr std::size_t none = ReadOutcome::noPosition;

// How a list was judged: read (the answers stand), absent (the whole tree is
// absent too, for a reason the whole-tree reader shares), or unusual: a form
// that only the whole-tree reader judges.
enum class Verdict { Read, Absent, Unusual };

struct Judgement {
    Verdict verdict = Verdict::Read;
    std::string error;
    std::size_t position = none;
};

Value answerOf(const Value& root, const KeyPath& question) {
    Value value = root;
    for (const std::string& key : question.keys)
        value = value.objectForKey(key);
    return question.keysOnly ? value.allKeys() : value;
}

KeyPathAnswers fromWholeTree(std::span<const std::uint8_t> bytes, std::span<const KeyPath> questions) {
    PropertyListResult read = PropertyListReader::parse(bytes);
    KeyPathAnswers answers;
    answers.error = std::move(read.error);
    answers.position = read.position;
    for (const KeyPath& question : questions)
        answers.values.push_back(answerOf(read.root, question));
    return answers;
}

KeyPathAnswers absentAnswers(std::size_t count, std::string error, std::size_t position) {
    KeyPathAnswers answers;
    answers.error = std::move(error);
    answers.position = position;
    answers.values.resize(count);
    return answers;
}

// ---- XML ------------------------------------------------------------------

constexpr std::string_view xmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
constexpr std::string_view documentType =
    R"(<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">)";

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t';
}

// The character an entity reference at the start of text stands for, and its length.
std::optional<std::pair<char, std::size_t>> entity(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 5> entities{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};
    for (const auto& [name, character] : entities)
        if (text.starts_with(name))
            return std::pair{character, name.size()};
    return std::nullopt;
}

// Whether the text of a <string> or <key> is in the plain form: UTF-8, no
// control characters but tab and line feed, no '>', and only the five named
// entity references.
bool isPlainText(std::string_view text) {
    // 0: as it is; 1: a byte past ASCII; 2: '&'; 3: not in the plain form.
    static constexpr auto classes = [] {
        std::array<std::uint8_t, 256> table{};
        for (std::size_t c = 0; c < 0x20; ++c)
            table[c] = 3;
        table['\t'] = table['\n'] = 0;
        table['>'] = table[0x7F] = 3;
        table['&'] = 2;
        for (std::size_t c = 0x80; c < 0x100; ++c)
            table[c] = 1;
        return table;
    }();
    bool wide = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (classes[static_cast<unsigned char>(text[i])]) {
        case 0:
            break;
        case 1:
            wide = true;
            break;
        case 2:
            if (!entity(text.substr(i)))
                return false;
            break;
        default:
            return false;
        }
    }
    return !wide || isValidUtf8(text);
}

// Compares plain text, its entity references read, with a key, allocating nothing.
bool textEquals(std::string_view text, std::string_view key) {
    if (text.find('&') == std::string_view::npos)
        return text == key;
    std::size_t at = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            auto [character, length] = *entity(text.substr(i));
            c = character;
            i += length - 1;
        }
        if (at == key.size() || key[at] != c)
            return false;
        ++at;
    }
    return at == key.size();
}

std::string decodeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            auto [character, length] = *entity(text.substr(i));
            out += character;
            i += length - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool allOf(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// -?digits, at most 18 of them: no overflow to judge.
bool isPlainInteger(std::string_view text) {
    if (text.starts_with('-'))
        text.remove_prefix(1);
    return !text.empty() && text.size() <= 18 && allOf(text, isDigit);
}

// -?digits[.digits][e[+-]digits]
bool isPlainReal(std::string_view text) {
    if (text.size() > 40)
        return false;
    auto digits = [&text] {
        std::size_t n = 0;
        while (n < text.size() && isDigit(text[n]))
            ++n;
        text.remove_prefix(n);
        return n > 0;
    };
    if (text.starts_with('-'))
        text.remove_prefix(1);
    if (!digits())
        return false;
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        if (!digits())
            return false;
    }
    if (text.starts_with('e') || text.starts_with('E')) {
        text.remove_prefix(1);
        if (text.starts_with('+') || text.starts_with('-'))
            text.remove_prefix(1);
        if (!digits())
            return false;
    }
    return text.empty();
}

// YYYY-MM-DDThh:mm:ssZ
bool isPlainDate(std::string_view text) {
    constexpr std::string_view pattern = "0000-00-00T00:00:00Z";
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (pattern[i] == '0' ? !isDigit(text[i]) : text[i] != pattern[i])
            return false;
    return true;
}

// Base64 in groups of four, lines broken by white space, padding at the end only.
bool isPlainData(std::string_view text) {
    std::size_t symbols = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (isSpace(c))
            continue;
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == '+' || c == '/';
        if (c == '=')
            ++padding;
        else if (!letter || padding > 0)
            return false;
        ++symbols;
    }
    return symbols > 0 && symbols % 4 == 0 && padding <= 2;
}

// One pass over an XML property list that checks it whole, element by element,
// and notes where the element that answers each question lies. Container
// frames carry bit masks of the questions: onPath, the questions whose path
// leads through this dictionary (it is the last one of its key so far); the
// next value's masks, the questions it answers or leads on. A later member of
// the same key starts its question afresh, so the last one counts.
class XmlScan {
public:
    XmlScan(std::string_view text, std::span<const KeyPath> questions) : text_(text), questions_(questions) {
        found_.assign(questions.size(), {none, none});
    }

    Judgement run() {
        std::size_t content = text_.find_last_not_of('\0');
        if (content == std::string_view::npos)
            return unusual(0);
        end_ = content + 1;
        if (text_.substr(0, end_).find('\0') != std::string_view::npos)
            return unusual(0);
        if (text_.substr(at_).starts_with(xmlDeclaration)) {
            at_ += xmlDeclaration.size();
            skipSpace();
        }
        if (text_.substr(at_).starts_with(documentType)) {
            at_ += documentType.size();
            skipSpace();
        }
        for (std::string_view start : {std::string_view(R"(<plist version="1.0">)"), std::string_view("<plist>")})
            if (text_.substr(at_).starts_with(start)) {
                at_ += start.size();
                Judgement judged = elements();
                if (judged.verdict != Verdict::Read)
                    return judged;
                skipSpace();
                if (!text_.substr(at_, end_ - at_).starts_with("</plist>"))
                    return unusual(at_);
                at_ += 8;
                skipSpace();
                return at_ == end_ ? Judgement{} : unusual(at_);
            }
        return unusual(at_);
    }

    // Where each question's element lies, [begin, end), or {none, none}.
    const std::vector<std::pair<std::size_t, std::size_t>>& found() const { return found_; }

private:
    struct Frame {
        bool dictionary = false;
        bool expectsKey = true;
        std::size_t level = 0; // the root container is 0
        std::uint32_t onPath = 0;
        std::uint32_t answers = 0;     // questions this container answers
        std::uint32_t nextAnswers = 0; // questions the next value answers
        std::uint32_t nextOnPath = 0;  // questions whose path goes on through the next value
    };

    struct Tag {
        std::size_t begin = 0;
        std::string_view name;
        bool closing = false;
        bool selfClosing = false;
    };

    Judgement unusual(std::size_t position) { return {Verdict::Unusual, {}, position}; }
    Judgement absent(std::string error, std::size_t position) { return {Verdict::Absent, std::move(error), position}; }

    void skipSpace() {
        while (at_ < end_ && isSpace(text_[at_]))
            ++at_;
    }

    // A tag of lower-case letters, <name>, </name> or <name/>, without attributes.
    std::optional<Tag> tag() {
        if (at_ >= end_ || text_[at_] != '<')
            return std::nullopt;
        Tag read;
        read.begin = at_;
        std::size_t i = at_ + 1;
        if (i < end_ && text_[i] == '/') {
            read.closing = true;
            ++i;
        }
        std::size_t nameStart = i;
        while (i < end_ && text_[i] >= 'a' && text_[i] <= 'z')
            ++i;
        read.name = text_.substr(nameStart, i - nameStart);
        if (read.name.empty())
            return std::nullopt;
        if (!read.closing && i < end_ && text_[i] == '/') {
            read.selfClosing = true;
            ++i;
        }
        if (i >= end_ || text_[i] != '>')
            return std::nullopt;
        at_ = i + 1;
        return read;
    }

    // The text up to the closing tag of name, which must follow it.
    std::optional<std::string_view> textUntilClosing(std::string_view name) {
        std::size_t close = text_.find('<', at_);
        if (close == std::string_view::npos || close >= end_)
            return std::nullopt;
        std::string_view inside = text_.substr(at_, close - at_);
        at_ = close;
        auto closing = tag();
        if (!closing || !closing->closing || closing->name != name)
            return std::nullopt;
        return inside;
    }

    void settle(std::uint32_t mask, std::size_t end) {
        for (std::size_t q = 0; q < questions_.size(); ++q)
            if (mask & (1u << q))
                found_[q].second = end;
    }

    // Counts a start tag as the whole-tree reader counts values, keys included.
    bool countValue() { return ++values_ <= ReadLimits::maximumValues; }

    Judgement tooMany(std::size_t position) {
        return absent("more than " + std::to_string(ReadLimits::maximumValues) + " values", position);
    }

    Judgement key(Frame& frame) {
        std::size_t begin = at_;
        auto text = textUntilClosing("key");
        if (!text || !isPlainText(*text) || textEquals(*text, "CF$UID"))
            return unusual(begin);
        frame.expectsKey = false;
        for (std::size_t q = 0; q < questions_.size(); ++q) {
            std::uint32_t bit = 1u << q;
            if (!(frame.onPath & bit) || !textEquals(*text, questions_[q].keys[frame.level]))
                continue;
            found_[q] = {none, none};
            if (frame.level + 1 == questions_[q].keys.size())
                frame.nextAnswers |= bit;
            else
                frame.nextOnPath |= bit;
        }
        return {};
    }

    // Every element from the root value to its end, with an explicit stack.
    Judgement elements() {
        std::vector<Frame>& stack = stack_;
        stack.clear();
        std::uint32_t rootAnswers = 0;
        std::uint32_t rootOnPath = 0;
        for (std::size_t q = 0; q < questions_.size(); ++q)
            (questions_[q].keys.empty() ? rootAnswers : rootOnPath) |= 1u << q;
        bool rootDone = false;
        while (!rootDone) {
            skipSpace();
            auto read = tag();
            if (!read)
                return unusual(at_);
            if (read->closing) {
                if (stack.empty() || read->name != (stack.back().dictionary ? "dict" : "array") ||
                    (stack.back().dictionary && !stack.back().expectsKey))
                    return unusual(read->begin);
                settle(stack.back().answers, at_);
                stack.pop_back();
                rootDone = stack.empty();
                if (!rootDone && stack.back().dictionary)
                    stack.back().expectsKey = true;
                continue;
            }
            if (!countValue())
                return tooMany(read->begin);
            if (!stack.empty() && stack.back().dictionary && stack.back().expectsKey) {
                if (read->name != "key" || read->selfClosing)
                    return unusual(read->begin);
                if (Judgement judged = key(stack.back()); judged.verdict != Verdict::Read)
                    return judged;
                continue;
            }

            std::uint32_t answers = rootAnswers;
            std::uint32_t onPath = rootOnPath;
            if (!stack.empty()) {
                Frame& parent = stack.back();
                answers = parent.dictionary ? parent.nextAnswers : 0;
                onPath = parent.dictionary ? parent.nextOnPath : 0;
                parent.nextAnswers = parent.nextOnPath = 0;
            }
            for (std::size_t q = 0; q < questions_.size(); ++q)
                if (answers & (1u << q))
                    found_[q].first = read->begin;

            std::string_view name = read->name;
            bool container = name == "dict" || name == "array";
            if (container) {
                // An empty container is a level too, in both forms.
                if (stack.size() + 1 > ReadLimits::maximumNesting)
                    return absent("nested deeper than " + std::to_string(ReadLimits::maximumNesting) + " levels",
                                  read->begin);
                if (!read->selfClosing) {
                    stack.push_back({name == "dict", true, stack.size(), name == "dict" ? onPath : 0u, answers});
                    continue;
                }
            } else if (name == "true" || name == "false") {
                if (!read->selfClosing)
                    return unusual(read->begin);
            } else {
                bool known =
                    name == "string" || name == "integer" || name == "real" || name == "date" || name == "data";
                if (!known || read->selfClosing)
                    return unusual(read->begin);
                auto text = textUntilClosing(name);
                bool plain = text && (name == "string"    ? isPlainText(*text)
                                      : name == "integer" ? isPlainInteger(*text)
                                      : name == "real"    ? isPlainReal(*text)
                                      : name == "date"    ? isPlainDate(*text)
                                                          : isPlainData(*text));
                if (!plain)
                    return unusual(read->begin);
            }
            settle(answers, at_);
            if (stack.empty())
                rootDone = true;
            else if (stack.back().dictionary)
                stack.back().expectsKey = true;
        }
        return {};
    }

    std::string_view text_;
    std::span<const KeyPath> questions_;
    std::vector<std::pair<std::size_t, std::size_t>> found_;
    std::vector<Frame> stack_;
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    std::size_t values_ = 0;
};

// The keys of a checked <dict> element, first places kept, as allKeys gives them.
Value xmlKeys(std::string_view element) {
    if (!element.starts_with("<dict>"))
        return element.starts_with("<dict/>") ? Value::array({}) : Value();
    std::vector<Value::Entry> entries;
    std::size_t at = 6;
    int depth = 0; // of the elements inside the dictionary
    while (true) {
        at = element.find('<', at);
        std::size_t close = element.find('>', at);
        std::string_view inside = element.substr(at + 1, close - at - 1);
        if (inside.starts_with('/')) {
            if (depth-- == 0)
                break;
        } else if (!inside.ends_with('/')) {
            if (depth == 0 && inside == "key") {
                std::size_t end = element.find('<', close);
                entries.emplace_back(decodeText(element.substr(close + 1, end - close - 1)), Value());
            }
            ++depth;
        }
        at = close + 1;
    }
    // The dictionary keeps each key's first place, as the whole tree does.
    return Value::dictionary(std::move(entries)).allKeys();
}

// The value of one checked element, read by the whole-tree reader from the
// element alone: the same library and the same conversion give the same value.
Value xmlValue(std::string_view element) {
    std::string list = "<plist>";
    list.append(element);
    list.append("</plist>");
    return PropertyListReader::parse({reinterpret_cast<const std::uint8_t*>(list.data()), list.size()}).root;
}

std::optional<KeyPathAnswers> xmlAnswers(std::span<const std::uint8_t> bytes, std::span<const KeyPath> questions) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    XmlScan scan(text, questions);
    Judgement judged = scan.run();
    if (judged.verdict == Verdict::Unusual)
        return std::nullopt;
    if (judged.verdict == Verdict::Absent)
        return absentAnswers(questions.size(), std::move(judged.error), judged.position);
    KeyPathAnswers answers;
    for (std::size_t q = 0; q < questions.size(); ++q) {
        auto [begin, end] = scan.found()[q];
        if (begin == none || end == none) {
            answers.values.emplace_back();
            continue;
        }
        std::string_view element = text.substr(begin, end - begin);
        answers.values.push_back(questions[q].keysOnly ? xmlKeys(element) : xmlValue(element));
    }
    return answers;
}

// ---- Binary -----------------------------------------------------------------

constexpr std::size_t headerSize = 8;
constexpr std::size_t trailerSize = 32;

struct Object {
    std::uint8_t kind = 0;
    std::uint8_t low = 0;       // the marker's low nibble
    std::uint64_t count = 0;    // elements, entries, characters or bytes
    std::uint64_t contents = 0; // offset of what follows the marker and count
};

// A binary list that BinaryPropertyListCheck has passed: its trailer is sound,
// every object reached from the top is there, nothing contains itself and the
// limits hold. Reads single objects by their index.
class BinaryList {
public:
    explicit BinaryList(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        std::uint64_t trailer = bytes.size() - trailerSize;
        offsetSize_ = bytes[trailer + 6];
        refSize_ = bytes[trailer + 7];
        objectCount_ = number(trailer + 8, 8);
        top_ = number(trailer + 16, 8);
        offsetTable_ = number(trailer + 24, 8);
    }

    // Whether every object, reached or not, is in a form whose value this reader
    // builds as the whole-tree reader does.
    bool isPlain() const {
        if (std::memcmp(bytes_.data(), "bplist00", 8) != 0)
            return false;
        for (std::uint64_t i = 0; i < objectCount_; ++i)
            if (!isPlainObject(i))
                return false;
        return true;
    }

    std::uint64_t top() const { return top_; }

    // The value of the dictionary's last member of that key, or nullopt.
    std::optional<std::uint64_t> member(std::uint64_t index, std::string_view key) const {
        Object dictionary = object(index);
        if (dictionary.kind != 0xD)
            return std::nullopt;
        std::optional<std::uint64_t> found;
        for (std::uint64_t i = 0; i < dictionary.count; ++i)
            if (keyEquals(reference(dictionary.contents, i), key))
                found = reference(dictionary.contents, dictionary.count + i);
        return found;
    }

    Value keys(std::uint64_t index) const {
        Object dictionary = object(index);
        if (dictionary.kind != 0xD)
            return {};
        std::vector<Value::Entry> entries;
        for (std::uint64_t i = 0; i < dictionary.count; ++i)
            entries.emplace_back(text(reference(dictionary.contents, i)), Value());
        return Value::dictionary(std::move(entries)).allKeys();
    }

    Value value(std::uint64_t index) const {
        Object read = object(index);
        switch (read.kind) {
        case 0x0:
            return Value::boolean(read.low == 0x9);
        case 0x1:
            return Value::integer(static_cast<std::int64_t>(number(read.contents, std::uint64_t{1} << read.low)));
        case 0x2:
            return Value::real(real(read));
        case 0x4: {
            const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(read.contents);
            return Value::data({first, first + static_cast<std::ptrdiff_t>(read.count)});
        }
        case 0x5:
        case 0x6:
            return Value(text(index));
        case 0xA: {
            std::vector<Value> elements;
            elements.reserve(read.count);
            for (std::uint64_t i = 0; i < read.count; ++i)
                elements.push_back(value(reference(read.contents, i)));
            return Value::array(std::move(elements));
        }
        default: {
            std::vector<Value::Entry> entries;
            entries.reserve(read.count);
            for (std::uint64_t i = 0; i < read.count; ++i)
                entries.emplace_back(text(reference(read.contents, i)),
                                     value(reference(read.contents, read.count + i)));
            return Value::dictionary(std::move(entries));
        }
        }
    }

private:
    std::uint64_t number(std::uint64_t offset, std::uint64_t size) const {
        std::uint64_t value = 0;
        for (std::uint64_t i = 0; i < size; ++i)
            value = (value << 8) | bytes_[offset + i];
        return value;
    }

    bool holds(std::uint64_t offset, std::uint64_t size) const {
        return offset <= offsetTable_ && size <= offsetTable_ - offset;
    }

    std::uint64_t offsetOf(std::uint64_t index) const {
        return number(offsetTable_ + index * offsetSize_, offsetSize_);
    }

    std::uint64_t reference(std::uint64_t contents, std::uint64_t i) const {
        return number(contents + i * refSize_, refSize_);
    }

    // Only for objects isPlainObject has passed.
    Object object(std::uint64_t index) const {
        std::uint64_t offset = offsetOf(index);
        std::uint8_t marker = bytes_[offset];
        Object read{static_cast<std::uint8_t>(marker >> 4), static_cast<std::uint8_t>(marker & 0x0F),
                    static_cast<std::uint64_t>(marker & 0x0F), offset + 1};
        if (read.count == 0x0F && read.kind >= 0x4 && read.kind != 0x8) {
            std::uint64_t width = std::uint64_t{1} << (bytes_[read.contents] & 0x0F);
            read.count = number(read.contents + 1, width);
            read.contents += 1 + width;
        }
        return read;
    }

    std::optional<Object> plainObject(std::uint64_t index) const {
        std::uint64_t offset = offsetOf(index);
        if (offset < headerSize || offset >= offsetTable_)
            return std::nullopt;
        std::uint8_t marker = bytes_[offset];
        Object read{static_cast<std::uint8_t>(marker >> 4), static_cast<std::uint8_t>(marker & 0x0F),
                    static_cast<std::uint64_t>(marker & 0x0F), offset + 1};
        if (read.count == 0x0F && read.kind >= 0x4 && read.kind != 0x8) {
            if (!holds(read.contents, 1) || (bytes_[read.contents] >> 4) != 0x1 || (bytes_[read.contents] & 0x0F) > 3)
                return std::nullopt;
            std::uint64_t width = std::uint64_t{1} << (bytes_[read.contents] & 0x0F);
            if (!holds(read.contents + 1, width))
                return std::nullopt;
            read.count = number(read.contents + 1, width);
            read.contents += 1 + width;
        }
        return read;
    }

    bool isPlainString(std::uint64_t index) const {
        auto read = plainObject(index);
        return read && (read->kind == 0x5 || read->kind == 0x6) && isPlainObject(index);
    }

    bool isPlainObject(std::uint64_t index) const {
        auto found = plainObject(index);
        if (!found)
            return false;
        const Object& read = *found;
        switch (read.kind) {
        case 0x0:
            return read.low == 0x8 || read.low == 0x9;
        case 0x1:
            return read.low <= 3 && holds(read.contents, std::uint64_t{1} << read.low);
        case 0x2:
            return (read.low == 2 || read.low == 3) && holds(read.contents, std::uint64_t{1} << read.low) &&
                   !std::isnan(real(read));
        case 0x4:
            return holds(read.contents, read.count);
        case 0x5: {
            if (!holds(read.contents, read.count))
                return false;
            for (std::uint64_t i = 0; i < read.count; ++i)
                if (bytes_[read.contents + i] == 0 || bytes_[read.contents + i] >= 0x80)
                    return false;
            return true;
        }
        case 0x6: {
            // The library refuses an empty UTF-16 string.
            if (read.count == 0 || read.count > offsetTable_ || !holds(read.contents, read.count * 2))
                return false;
            // Surrogates only in pairs, no U+0000: anything else the whole tree judges.
            for (std::uint64_t i = 0; i < read.count; ++i) {
                unsigned unit = unsigned(number(read.contents + 2 * i, 2));
                if (unit == 0 || (unit >= 0xDC00 && unit <= 0xDFFF))
                    return false;
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    if (i + 1 == read.count)
                        return false;
                    unsigned next = unsigned(number(read.contents + 2 * i + 2, 2));
                    if (next < 0xDC00 || next > 0xDFFF)
                        return false;
                    ++i;
                }
            }
            return true;
        }
        case 0xA:
        case 0xD: {
            std::uint64_t refs = read.kind == 0xD ? read.count * 2 : read.count;
            if (read.count > offsetTable_ || !holds(read.contents, refs * refSize_))
                return false;
            for (std::uint64_t i = 0; i < refs; ++i) {
                std::uint64_t child = reference(read.contents, i);
                if (child >= objectCount_ || (read.kind == 0xD && i < read.count && !isPlainString(child)))
                    return false;
            }
            return true;
        }
        default:
            return false;
        }
    }

    double real(const Object& read) const {
        std::uint64_t bits = number(read.contents, std::uint64_t{1} << read.low);
        if (read.low == 2) {
            float single = 0;
            auto narrow = static_cast<std::uint32_t>(bits);
            std::memcpy(&single, &narrow, sizeof single);
            return single;
        }
        double wide = 0;
        std::memcpy(&wide, &bits, sizeof wide);
        return wide;
    }

    // A plain string object in UTF-8.
    std::string text(std::uint64_t index) const {
        Object read = object(index);
        if (read.kind == 0x5)
            return std::string(reinterpret_cast<const char*>(bytes_.data() + read.contents), read.count);
        std::string out;
        out.reserve(read.count);
        for (std::uint64_t i = 0; i < read.count; ++i) {
            char32_t unit = char32_t(number(read.contents + 2 * i, 2));
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                char32_t low = char32_t(number(read.contents + 2 * i + 2, 2));
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
            appendUtf8(out, unit);
        }
        return out;
    }

    // Compares a plain string object with a key, UTF-16 read as it goes.
    bool keyEquals(std::uint64_t index, std::string_view key) const {
        Object read = object(index);
        if (read.kind == 0x5)
            return read.count == key.size() && std::memcmp(bytes_.data() + read.contents, key.data(), key.size()) == 0;
        if (read.count > key.size()) // each unit is at least one byte of UTF-8
            return false;
        std::size_t at = 0;
        std::string piece;
        for (std::uint64_t i = 0; i < read.count; ++i) {
            char32_t unit = char32_t(number(read.contents + 2 * i, 2));
            if (unit < 0x80) {
                if (at == key.size() || key[at++] != static_cast<char>(unit))
                    return false;
                continue;
            }
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                char32_t low = char32_t(number(read.contents + 2 * i + 2, 2));
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
            piece.clear();
            appendUtf8(piece, unit);
            if (key.substr(at, piece.size()) != piece)
                return false;
            at += piece.size();
        }
        return at == key.size();
    }

    std::span<const std::uint8_t> bytes_;
    std::uint64_t offsetSize_ = 0;
    std::uint64_t refSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t top_ = 0;
    std::uint64_t offsetTable_ = 0;
};

std::optional<KeyPathAnswers> binaryAnswers(std::span<const std::uint8_t> bytes, std::span<const KeyPath> questions) {
    auto check = BinaryPropertyListCheck::check(bytes, ReadLimits::maximumNesting, ReadLimits::maximumValues,
                                                ReadLimits::maximumExpandedBytes);
    if (check.problem)
        return absentAnswers(questions.size(), std::move(*check.problem), none);
    BinaryList list(bytes);
    if (!list.isPlain())
        return std::nullopt;
    KeyPathAnswers answers;
    for (const KeyPath& question : questions) {
        std::optional<std::uint64_t> at = list.top();
        for (std::size_t i = 0; at && i < question.keys.size(); ++i)
            at = list.member(*at, question.keys[i]);
        if (!at)
            answers.values.emplace_back();
        else
            answers.values.push_back(question.keysOnly ? list.keys(*at) : list.value(*at));
    }
    return answers;
}

}

KeyPathAnswers PropertyListLookup::lookUp(std::span<const std::uint8_t> bytes, std::span<const KeyPath> questions) {
    if (bytes.empty())
        return absentAnswers(questions.size(), "empty file", 0);
    if (bytes.size() > ReadLimits::maximumFileSize)
        return absentAnswers(questions.size(), "larger than " + std::to_string(ReadLimits::maximumFileSize) + " bytes",
                             none);
    if (questions.size() > maximumQuestions)
        return fromWholeTree(bytes, questions);
    bool binary = plist_is_binary(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
    auto answers = binary ? binaryAnswers(bytes, questions) : xmlAnswers(bytes, questions);
    return answers ? std::move(*answers) : fromWholeTree(bytes, questions);
}

KeyPathAnswers PropertyListLookup::readFile(const std::string& path, std::span<const KeyPath> questions) {
    auto file = RegularFile::read(path, ReadLimits::maximumFileSize);
    if (!file.bytes)
        return absentAnswers(questions.size(), std::move(file.error), file.position);
    return lookUp(*file.bytes, questions);
}

Value PropertyListLookup::valueInFile(const Value& path, const KeyPath& question) {
    if (!path.isString())
        return {};
    return readFile(std::string(path.text()), std::span(&question, 1)).values.front();
}

}
